#include "world/terrain.h"


#include <utility>
#include <vector>

#include "core/debug_log.h"
#include "gpu/draw_layer.h"
#include "gpu/shader_manager.h"
#include "gpu/texture_manager.h"
#include "world/model.h"
#include "world/terrain_patch.h"

namespace {

// Normals are drawn one unit long in the normals view.
constexpr float kNormalLength = 1.0f;

PatchArrays arraysOf(Mesh& mesh) {
  return PatchArrays{mesh.vertices.data(), mesh.normals.data(), mesh.texCoords.data(), mesh.indices.data()};
}

}  // namespace

Terrain::Terrain() = default;

Terrain::~Terrain() = default;

bool Terrain::build(const std::string& imageFileName, const TerrainBox& extent, int countX, int countZ,
                    int perPatchX, int perPatchZ) {
  if (countX <= 0 || countZ <= 0 || perPatchX < 2 || perPatchZ < 2) {
    return false;
  }
  const std::unique_ptr<DecodedImage> picture = textureManager().decodeImage(imageFileName);
  if (!picture) {
    // The texture manager has logged why; there is no ground to draw or stand on.
    clear();
    return false;
  }
  return buildFromHeights(HeightGrid::fromPicture(*picture), extent, countX, countZ, perPatchX, perPatchZ);
}

bool Terrain::buildFromHeights(HeightGrid levels, const TerrainBox& extent, int countX, int countZ, int perPatchX,
                               int perPatchZ) {
  if (countX <= 0 || countZ <= 0 || perPatchX < 2 || perPatchZ < 2) {
    return false;
  }
  clear();
  if (levels.empty()) {
    return false;
  }
  heights = std::move(levels);
  box = extent;
  patchesX = countX;
  patchesZ = countZ;
  verticesX = perPatchX;
  verticesZ = perPatchZ;

  const PatchSize size{verticesX, verticesZ};
  auto built = std::make_unique<Model>();
  std::vector<PatchArrays> patches;
  for (const PatchPlacement& placement : placePatches(heights, box, patchesX, patchesZ)) {
    auto mesh = std::make_unique<Mesh>();
    if (!mesh->allocate(size.vertexCount(), size.indexCount())) {
      DebugLog::append(kLogFileName, "Terrain: no memory for a patch of %i x %i vertices, no ground\r\n", verticesX,
                       verticesZ);
      clear();
      return false;
    }
    patches.push_back(arraysOf(*mesh));
    buildPatchGeometry(heights, placement.box, placement.pixels, size, patches.back());
    mesh->computeBounds();
    built->meshes.push_back(std::move(mesh));
  }
  stitchSeams(patches, patchesX, patchesZ, size);
  model = std::move(built);
  cells = GroundCells::fromPatches(*model, box, patchesX, patchesZ, verticesX, verticesZ);
  return true;
}

void Terrain::setTexture(const std::string& imageFileName) {
  if (!model) {
    return;
  }
  for (const std::unique_ptr<Mesh>& mesh : model->meshes) {
    // -1 lets the material load the picture; the texture manager hands every patch the same name.
    mesh->material.setLayer(0, imageFileName, nullptr, -1);
    mesh->textured = true;
  }
  // Texturing the ground is much of a frame's cost on a software renderer. Reading the one nearest
  // mipmap level instead of blending two costs noticeably less and moves no pixel of the landscape
  // by more than a few steps of a channel.
  // The patches go to the GPU with their texture coordinates, once.
  model->createGpuMeshes();
  const int texture = model->meshes.empty() ? 0 : model->meshes.front()->material.layers[0].textureName;
  if (texture < 1) {
    return;
  }
  textureManager().useNearestMipmapLevel(static_cast<unsigned int>(texture));
}

float Terrain::heightAt(float x, float z) const {
  if (heights.empty()) {
    return 0.0f;
  }
  return heights.heightAt(box, x, z);
}

void Terrain::draw(int mode) {
  if (!model) {
    return;
  }
  if (mode != kDrawPerPixel) {
    model->draw(mode, kNormalLength);
    return;
  }
  // The patches share the transform, the programs and their values: bound once for all of them.
  ShaderManager& shaders = shaderManager();
  shaders.beginPerPixel();
  for (const std::unique_ptr<Mesh>& patch : model->meshes) {
    patch->drawPerPixelBound();
  }
  shaders.endPerPixel();
}

void Terrain::clear() {
  model.reset();
  heights = HeightGrid();
  cells = GroundCells();
}
