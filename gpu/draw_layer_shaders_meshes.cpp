// The shader back end's meshes by handle: each mesh's vertices interleaved in a layout of just the
// arrays it has, and its indices, in buffers of its own filled once; a draw binds its vertex array
// and draws, sending nothing of the mesh again.
#include <GL/glew.h>

#include <cassert>

#include "core/draw_counts.h"
#include "gpu/draw_layer_shaders.h"
#include "platform/glsl_translation.h"

namespace {

// Indices of two bytes where every vertex can be named with them: half the bytes to send and read.
constexpr int kShortIndexVertices = 65536;

// Position, then the normal and the texture coordinates where the mesh has them.
std::vector<float> interleaved(const VertexArrays& arrays, int& floatsPerVertex) {
  floatsPerVertex = 3 + (arrays.normals != nullptr ? 3 : 0) + (arrays.texCoords != nullptr ? 2 : 0);
  std::vector<float> vertices;
  vertices.reserve(static_cast<size_t>(arrays.vertexCount) * static_cast<size_t>(floatsPerVertex));
  for (size_t vertex = 0; vertex < static_cast<size_t>(arrays.vertexCount); ++vertex) {
    vertices.insert(vertices.end(), arrays.positions + 3 * vertex, arrays.positions + 3 * vertex + 3);
    if (arrays.normals != nullptr) {
      vertices.insert(vertices.end(), arrays.normals + 3 * vertex, arrays.normals + 3 * vertex + 3);
    }
    if (arrays.texCoords != nullptr) {
      vertices.insert(vertices.end(), arrays.texCoords + 2 * vertex, arrays.texCoords + 2 * vertex + 2);
    }
  }
  return vertices;
}

// Points the bound vertex array's inputs at the interleaved vertices in the bound buffer; the
// inputs the mesh does not carry stay off and read the current values.
unsigned int pointAtMeshVertices(const VertexArrays& arrays, int floatsPerVertex) {
  InterleavedInputs inputs(floatsPerVertex * static_cast<int>(sizeof(float)));
  inputs.add(platform::kAttributePosition, 3);
  unsigned int carried = 0;
  if (arrays.normals != nullptr) {
    inputs.add(platform::kAttributeNormal, 3);
    carried |= kCarriesNormal;
  }
  if (arrays.texCoords != nullptr) {
    inputs.add(platform::kAttributeTexCoord0, 2);
    carried |= kCarriesTexCoord0;
  }
  return carried;
}

template <typename Index>
void uploadIndices(const std::vector<uint32_t>& indices) {
  const std::vector<Index> narrowed(indices.begin(), indices.end());
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(narrowed.size() * sizeof(Index)), narrowed.data(),
               GL_STATIC_DRAW);
  countUpload(narrowed.size() * sizeof(Index));
}

}  // namespace

MeshHandle ShaderLayer::createMesh(Primitive primitive, const VertexArrays& arrays, const uint32_t* indices,
                                   int indexCount) {
  if (!meshArraysValid(arrays, indices, indexCount)) {
    return 0;
  }
  KeptMesh mesh;
  mesh.primitive = primitive;
  std::vector<uint32_t> corners;
  drawnIndices(primitive, indices, indexCount, corners);
  mesh.indexCount = static_cast<int>(corners.size());
  const bool shortIndices = arrays.vertexCount <= kShortIndexVertices;
  mesh.indexType = shortIndices ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT;
  int floatsPerVertex = 0;
  const std::vector<float> vertices = interleaved(arrays, floatsPerVertex);
  glGenVertexArrays(1, &mesh.vertexArray);
  glGenBuffers(2, mesh.buffers);
  glBindVertexArray(mesh.vertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, mesh.buffers[0]);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)), vertices.data(),
               GL_STATIC_DRAW);
  countUpload(vertices.size() * sizeof(float));
  mesh.carried = pointAtMeshVertices(arrays, floatsPerVertex);
  // The index buffer is part of the vertex array's state; both stay with the mesh.
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.buffers[1]);
  if (shortIndices) {
    uploadIndices<uint16_t>(corners);
  } else {
    uploadIndices<uint32_t>(corners);
  }
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  const MeshHandle handle = nextMesh_++;
  meshes_[handle] = mesh;
  return handle;
}

void ShaderLayer::drawMesh(MeshHandle handle) {
  assert(recording_ == nullptr && "a mesh drawn while recording");
  const auto found = meshes_.find(handle);
  if (found == meshes_.end() || !prepareDraw()) {
    return;
  }
  const KeptMesh& mesh = found->second;
  glBindVertexArray(mesh.vertexArray);
  setCurrentAttributes(mesh.carried);
  glDrawElements(drawnModeOf(mesh.primitive), mesh.indexCount, mesh.indexType, nullptr);
  glBindVertexArray(0);
}

void ShaderLayer::releaseMesh(MeshHandle handle) {
  const auto found = meshes_.find(handle);
  if (found == meshes_.end()) {
    return;
  }
  deleteMesh(found->second);
  meshes_.erase(found);
}

void ShaderLayer::deleteMesh(const KeptMesh& mesh) {
  glDeleteVertexArrays(1, &mesh.vertexArray);
  glDeleteBuffers(2, mesh.buffers);
}
