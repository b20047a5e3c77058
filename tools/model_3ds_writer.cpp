// Chunk-tree output for 3DS files: every chunk's length is patched in once its content is known.
#include "tools/model_3ds_writer.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/program_name.h"
#include "tools/file_output.h"
#include "world/model_3ds_format.h"

namespace baker {

namespace {

constexpr std::uint16_t kFaceEdgesVisible = 0x0007;  // a face's edge flags: all three edges shown
constexpr size_t kMaxCount = 0xFFFF;                 // vertex and face counts are 16-bit

class ChunkStream {
 public:
  explicit ChunkStream(std::vector<unsigned char>* bytes) : bytes_(bytes) {}

  // Opens a chunk and returns where its header starts; closeChunk writes its length.
  size_t openChunk(std::uint16_t id) {
    const size_t start = bytes_->size();
    putU16(id);
    putU32(0);
    return start;
  }
  void closeChunk(size_t start) {
    const std::uint32_t length = static_cast<std::uint32_t>(bytes_->size() - start);
    for (int i = 0; i < 4; ++i) {
      (*bytes_)[start + 2 + i] = static_cast<unsigned char>(length >> (8 * i));
    }
  }

  void putU8(unsigned char value) { bytes_->push_back(value); }
  void putU16(std::uint16_t value) {
    putU8(static_cast<unsigned char>(value));
    putU8(static_cast<unsigned char>(value >> 8));
  }
  void putU32(std::uint32_t value) {
    putU16(static_cast<std::uint16_t>(value));
    putU16(static_cast<std::uint16_t>(value >> 16));
  }
  void putFloat(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    putU32(bits);
  }
  void putString(const std::string& text) {
    for (char c : text) {
      putU8(static_cast<unsigned char>(c));
    }
    putU8(0);
  }

 private:
  std::vector<unsigned char>* bytes_;
};

bool checkMesh(const BakedModel& model, const BakedMesh& mesh, std::string* error) {
  if (mesh.vertices.size() > kMaxCount || mesh.triangles.size() > kMaxCount) {
    *error = "mesh '" + mesh.name + "' has more than 65535 vertices or triangles";
    return false;
  }
  for (const BakedTriangle& triangle : mesh.triangles) {
    if (triangle.a >= mesh.vertices.size() || triangle.b >= mesh.vertices.size() ||
        triangle.c >= mesh.vertices.size()) {
      *error = "mesh '" + mesh.name + "' has a triangle corner past its vertices";
      return false;
    }
  }
  if (mesh.materialName.empty()) {
    return true;
  }
  for (const BakedMaterial& material : model.materials) {
    if (material.name == mesh.materialName) {
      return true;
    }
  }
  *error = "mesh '" + mesh.name + "' names the unknown material '" + mesh.materialName + "'";
  return false;
}

void putMaterial(ChunkStream& out, const BakedMaterial& material) {
  const size_t block = out.openChunk(model3ds::kMaterialBlock);
  const size_t name = out.openChunk(model3ds::kMaterialName);
  out.putString(material.name);
  out.closeChunk(name);
  const size_t diffuse = out.openChunk(model3ds::kDiffuseColour);
  const size_t colour = out.openChunk(model3ds::kColour24);
  out.putU8(material.red);
  out.putU8(material.green);
  out.putU8(material.blue);
  out.closeChunk(colour);
  out.closeChunk(diffuse);
  if (!material.textureFile.empty()) {
    const size_t map = out.openChunk(model3ds::kTextureMap);
    const size_t file = out.openChunk(model3ds::kTextureFileName);
    out.putString(material.textureFile);
    out.closeChunk(file);
    out.closeChunk(map);
  }
  out.closeChunk(block);
}

void putFaces(ChunkStream& out, const BakedMesh& mesh) {
  const size_t faces = out.openChunk(model3ds::kFaceList);
  out.putU16(static_cast<std::uint16_t>(mesh.triangles.size()));
  for (const BakedTriangle& triangle : mesh.triangles) {
    out.putU16(static_cast<std::uint16_t>(triangle.a));
    out.putU16(static_cast<std::uint16_t>(triangle.b));
    out.putU16(static_cast<std::uint16_t>(triangle.c));
    out.putU16(kFaceEdgesVisible);
  }
  if (!mesh.materialName.empty()) {
    const size_t material = out.openChunk(model3ds::kFaceMaterialList);
    out.putString(mesh.materialName);
    out.putU16(static_cast<std::uint16_t>(mesh.triangles.size()));
    for (size_t i = 0; i < mesh.triangles.size(); ++i) {
      out.putU16(static_cast<std::uint16_t>(i));
    }
    out.closeChunk(material);
  }
  const size_t smoothing = out.openChunk(model3ds::kSmoothingGroups);
  for (const BakedTriangle& triangle : mesh.triangles) {
    out.putU32(triangle.smoothingGroups);
  }
  out.closeChunk(smoothing);
  out.closeChunk(faces);
}

void putObject(ChunkStream& out, const BakedMesh& mesh) {
  const size_t object = out.openChunk(model3ds::kNamedObject);
  out.putString(mesh.name);
  const size_t triangles = out.openChunk(model3ds::kTriangleMesh);

  const size_t vertices = out.openChunk(model3ds::kVertexList);
  out.putU16(static_cast<std::uint16_t>(mesh.vertices.size()));
  for (const BakedVertex& vertex : mesh.vertices) {
    // The file is z up; the reader maps (x, y, z) to (x, z, -y), so store (x, -z, y).
    out.putFloat(vertex.position.x);
    out.putFloat(-vertex.position.z);
    out.putFloat(vertex.position.y);
  }
  out.closeChunk(vertices);

  const size_t texCoords = out.openChunk(model3ds::kTexCoordList);
  out.putU16(static_cast<std::uint16_t>(mesh.vertices.size()));
  for (const BakedVertex& vertex : mesh.vertices) {
    out.putFloat(vertex.u);
    out.putFloat(vertex.v);
  }
  out.closeChunk(texCoords);

  putFaces(out, mesh);
  out.closeChunk(triangles);
  out.closeChunk(object);
}

}  // namespace

bool encodeModel3ds(const BakedModel& model, std::vector<unsigned char>* bytes, std::string* error) {
  for (const BakedMesh& mesh : model.meshes) {
    if (!checkMesh(model, mesh, error)) {
      return false;
    }
  }
  bytes->clear();
  ChunkStream out(bytes);
  const size_t primary = out.openChunk(model3ds::kPrimary);
  const size_t version = out.openChunk(model3ds::kVersion);
  out.putU32(model3ds::kNewestKnownVersion);
  out.closeChunk(version);

  const size_t info = out.openChunk(model3ds::kObjectInfo);
  const size_t meshVersion = out.openChunk(model3ds::kMeshVersion);
  out.putU32(model3ds::kNewestKnownVersion);
  out.closeChunk(meshVersion);
  for (const BakedMaterial& material : model.materials) {
    putMaterial(out, material);
  }
  for (const BakedMesh& mesh : model.meshes) {
    putObject(out, mesh);
  }
  out.closeChunk(info);
  out.closeChunk(primary);
  return true;
}

bool writeModel3dsFile(const std::string& path, const BakedModel& model) {
  std::vector<unsigned char> bytes;
  std::string error;
  if (!encodeModel3ds(model, &bytes, &error)) {
    std::fprintf(stderr, "%s: 3ds writer: %s: %s\n", kToolName, path.c_str(), error.c_str());
    return false;
  }
  return writeBytesToFile(path, bytes, "3ds writer");
}

}  // namespace baker
