#include "world/model_cache.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/debug_log.h"
#include "gpu/texture_manager.h"
#include "world/model_3ds_reader.h"

ModelCache& modelCache() {
  static ModelCache cache;
  return cache;
}

namespace {

// 1 / 255 as the 32-bit float the colour bytes are scaled by.
constexpr float kByteToUnit = 0.003921569f;

bool faceInRange(const ImportedFace& face, int32_t vertexCount) {
  return std::all_of(std::begin(face.index), std::end(face.index),
                     [vertexCount](int32_t index) { return index >= 0 && index < vertexCount; });
}

void copyFloats(const std::vector<float>& from, std::vector<float>& to) {
  std::copy_n(from.begin(), std::min(from.size(), to.size()), to.begin());
}

// A black colour leaves the material's defaults in place.
void applyImportedMaterial(const ImportedMaterial& imported, Mesh& mesh) {
  const bool coloured = imported.colour[0] != 0 || imported.colour[1] != 0 || imported.colour[2] != 0;
  float* target = mesh.material.diffuse;
  if (imported.textureName > 0) {
    mesh.material.setLayer(0, imported.textureFile, imported.name.c_str(), imported.textureName);
    mesh.textured = true;
    target = mesh.material.layers[0].colour;
  }
  if (coloured) {
    target[0] = imported.colour[0] * kByteToUnit;
    target[1] = imported.colour[1] * kByteToUnit;
    target[2] = imported.colour[2] * kByteToUnit;
    target[3] = 1.0f;
  }
}

std::unique_ptr<Mesh> convertObject(const ImportedModel& imported, const ImportedObject& object) {
  auto mesh = std::make_unique<Mesh>();
  mesh->name = object.name;
  const auto keptFaces = std::count_if(object.faces.begin(), object.faces.end(),
                                       [&object](const ImportedFace& face) { return faceInRange(face, object.vertexCount); });
  if (!mesh->allocate(object.vertexCount, static_cast<int32_t>(3 * keptFaces))) {
    return mesh;
  }
  copyFloats(object.vertices, mesh->vertices);
  copyFloats(object.normals, mesh->normals);
  copyFloats(object.texCoords, mesh->texCoords);
  size_t corner = 0;
  for (const ImportedFace& face : object.faces) {
    if (faceInRange(face, object.vertexCount)) {
      for (const int32_t index : face.index) {
        mesh->indices[corner++] = static_cast<uint32_t>(index);
      }
    }
  }
  const int32_t materialIndex = object.materialIndex;
  if (materialIndex >= 0 && static_cast<size_t>(materialIndex) < imported.materials.size()) {
    applyImportedMaterial(imported.materials[static_cast<size_t>(materialIndex)], *mesh);
  }
  mesh->computeBounds();
  return mesh;
}

}  // namespace

void convertImportedModel(const ImportedModel& imported, Model& model) {
  for (const ImportedObject& object : imported.objects) {
    model.meshes.push_back(convertObject(imported, object));
  }
  model.computeBounds();
}

bool ModelCache::loadModelFile(const std::string& fileName, Model& model) {
  const std::string path = model3dsReader().paths().dataFolder + fileName;
  DebugLog::append(kLogFileName, "Loading %s ,", path.c_str());
  // Scrambled data is read through a descrambled temporary copy, deleted afterwards.
  TextureManager& textures = textureManager();
  std::string temporaryPath;
  const bool descrambled = textures.dataKey != nullptr && textures.makeDescrambledCopy(path, temporaryPath);
  const std::string& readPath = descrambled ? temporaryPath : path;
  ImportedModel imported;
  const bool read = model3dsReader().importFile(imported, readPath);
  if (read) {
    for (ImportedMaterial& material : imported.materials) {
      if (!material.textureFile.empty()) {
        material.textureName = static_cast<int32_t>(textures.loadTexture(material.textureFile, 0, 0.0f));
      }
    }
    convertImportedModel(imported, model);
    DebugLog::append(kLogFileName, "succesfully\r\n");
  } else {
    DebugLog::append(kLogFileName, " failed\r\n");
  }
  if (descrambled) {
    std::remove(temporaryPath.c_str());
  }
  return read;
}

Model* ModelCache::getModel(const std::string& fileName) {
  const auto found = models_.find(fileName);
  if (found != models_.end()) {
    return found->second.get();
  }
  auto model = std::make_unique<Model>();
  if (!loadModelFile(fileName, *model)) {
    return nullptr;
  }
  // The meshes are made on the GPU here, at load, never in a frame.
  model->createGpuMeshes();
  Model* loaded = model.get();
  models_.emplace(fileName, std::move(model));
  return loaded;
}

void ModelCache::release() {
  models_.clear();
  keptModels_.clear();
}

Model* ModelCache::keepModel(std::unique_ptr<Model> model) {
  keptModels_.push_back(std::move(model));
  return keptModels_.back().get();
}
