#include "world/mesh.h"

#include <cassert>
#include <new>

#include "core/draw_counts.h"
#include "gpu/draw_layer.h"
#include "gpu/shader_manager.h"
#include "world/bounds.h"

Mesh::~Mesh() { release(); }

bool Mesh::allocate(int32_t newVertexCount, int32_t newIndexCount) {
  release();
  if (newVertexCount < 0 || newIndexCount < 0) {
    return false;
  }
  const size_t vertexTotal = static_cast<size_t>(newVertexCount);
  try {
    vertices.assign(3 * vertexTotal, 0.0f);
    normals.assign(3 * vertexTotal, 0.0f);
    texCoords.assign(2 * vertexTotal, 0.0f);
    indices.assign(static_cast<size_t>(newIndexCount), 0u);
  } catch (const std::bad_alloc&) {
    release();
    return false;
  }
  vertexCount = newVertexCount;
  indexCount = newIndexCount;
  return true;
}

void Mesh::release() {
  std::vector<float>().swap(vertices);
  std::vector<float>().swap(normals);
  std::vector<float>().swap(texCoords);
  std::vector<uint32_t>().swap(indices);
  vertexCount = 0;
  indexCount = 0;
  releaseGpuMesh();
  if (displayList != -1) {
    // Recordings go with the context and its layer; once those are gone there is nothing to free.
    if (hasDrawLayer()) {
      drawLayer().releaseRecordings(static_cast<unsigned int>(displayList), 1);
    }
    displayList = -1;
  }
}

void Mesh::createGpuMesh() {
  releaseGpuMesh();
  // Models are also read where nothing draws (the tools, tests of the reader).
  if (!hasDrawLayer()) {
    return;
  }
  const VertexArrays arrays{vertices.data(), normals.data(), textured ? texCoords.data() : nullptr, vertexCount};
  gpuMesh = drawLayer().createMesh(Primitive::Triangles, arrays, indices.data(), indexCount);
}

// Meshes go with the context and its layer; once those are gone there is nothing to free.
void Mesh::releaseGpuMesh() {
  if (gpuMesh != 0 && hasDrawLayer()) {
    drawLayer().releaseMesh(gpuMesh);
  }
  gpuMesh = 0;
}

void Mesh::computeBounds() {
  if (vertices.empty() || vertexCount < 1) {
    for (int axis = 0; axis < 3; ++axis) {
      boundsMin[axis] = boundsMax[axis] = centre[axis] = 0.0f;
    }
    return;
  }
  startBounds(boundsMin, boundsMax);
  for (size_t vertex = 0; vertex < static_cast<size_t>(vertexCount); ++vertex) {
    const float* position = &vertices[3 * vertex];
    mergeBounds(boundsMin, boundsMax, position, position);
  }
  for (int axis = 0; axis < 3; ++axis) {
    centre[axis] = (boundsMin[axis] + boundsMax[axis]) * 0.5f;
  }
}

void Mesh::translate(float dx, float dy, float dz) {
  for (size_t i = 0; i + 2 < vertices.size(); i += 3) {
    vertices[i] += dx;
    vertices[i + 1] += dy;
    vertices[i + 2] += dz;
  }
  if (gpuMesh != 0) {
    createGpuMesh();
  }
}

void Mesh::draw(int32_t mode, float normalLength) {
  switch (mode) {
    case kDrawWireframe:
      drawWireframe();
      break;
    case kDrawDisplayList:
      drawDisplayList();
      break;
    case kDrawNormals:
      drawNormals(normalLength);
      break;
    case kDrawPoints:
      drawPoints();
      break;
    case kDrawVertexArrays:
      drawVertexArrays();
      break;
    case kDrawPerPixel:
      drawPerPixel();
      break;
    default:
      break;
  }
}

// The immediate-mode paths walk whole triangles only: a trailing one or two indices are ignored.

void Mesh::drawWireframe() const {
  DrawLayer& layer = drawLayer();
  const int32_t triangleCount = indexCount / 3;
  for (int32_t triangle = 0; triangle < triangleCount; ++triangle) {
    // An open strip: the edge from the third corner back to the first is not drawn.
    layer.begin(Primitive::LineStrip);
    for (int corner = 0; corner < 3; ++corner) {
      const uint32_t index = indices[3 * static_cast<size_t>(triangle) + corner];
      assert(index < static_cast<uint32_t>(vertexCount) && "mesh index out of range");
      layer.normal(&normals[3 * index]);
      layer.vertex(&vertices[3 * index]);
    }
    layer.end();
  }
}

void Mesh::issueTriangles() const {
  DrawLayer& layer = drawLayer();
  layer.begin(Primitive::Triangles);
  const size_t cornerCount = 3 * static_cast<size_t>(indexCount / 3);
  for (size_t corner = 0; corner < cornerCount; ++corner) {
    const uint32_t index = indices[corner];
    assert(index < static_cast<uint32_t>(vertexCount) && "mesh index out of range");
    if (textured) {
      layer.texCoord(texCoords[2 * index], texCoords[2 * index + 1]);
    }
    layer.normal(&normals[3 * index]);
    layer.vertex(&vertices[3 * index]);
  }
  layer.end();
}

void Mesh::drawDisplayList() {
  DrawLayer& layer = drawLayer();
  if (displayList == -1) {
    const unsigned int recording = layer.createRecordings(1);
    if (recording == 0) {
      // Without a recording the triangles are sent again on every draw, as they would be recorded.
      material.apply();
      issueTriangles();
      countDraw(static_cast<uint64_t>(indexCount / 3));
      return;
    }
    layer.beginRecording(recording);
    issueTriangles();
    layer.endRecording();
    displayList = static_cast<int32_t>(recording);
  }
  // The material stays outside the recording, so a changed material shows without recording again.
  material.apply();
  layer.replay(static_cast<unsigned int>(displayList));
  countDraw(static_cast<uint64_t>(indexCount / 3));
}

void Mesh::drawNormals(float normalLength) const {
  DrawLayer& layer = drawLayer();
  layer.color(1.0f, 1.0f, 1.0f);
  const int32_t triangleCount = indexCount / 3;
  for (int32_t triangle = 0; triangle < triangleCount; ++triangle) {
    layer.begin(Primitive::Lines);
    for (int corner = 0; corner < 3; ++corner) {
      const uint32_t index = indices[3 * static_cast<size_t>(triangle) + corner];
      assert(index < static_cast<uint32_t>(vertexCount) && "mesh index out of range");
      const float* position = &vertices[3 * index];
      const float* normal = &normals[3 * index];
      layer.vertex(position[0] + normalLength * normal[0], position[1] + normalLength * normal[1],
                   position[2] + normalLength * normal[2]);
      layer.vertex(position);
    }
    layer.end();
  }
  // The lines are drawn in plain white whatever the lighting; the rest of the pass is lit again.
  PassState lit = layer.passState();
  lit.lighting = true;
  layer.applyPass(lit);
}

void Mesh::drawPoints() const {
  DrawLayer& layer = drawLayer();
  layer.begin(Primitive::Points);
  for (size_t vertex = 0; vertex < static_cast<size_t>(vertexCount); ++vertex) {
    layer.vertex(&vertices[3 * vertex]);
  }
  layer.end();
}

// An untextured mesh hands no texture coordinates, so no stale ones from an earlier mesh are read.
// A mesh with nothing to draw (or refused) stays without one and draws nothing.
void Mesh::drawElements() {
  if (gpuMesh == 0) {
    createGpuMesh();
  }
  drawLayer().drawMesh(gpuMesh);
  countDraw(static_cast<uint64_t>(indexCount / 3));
}

void Mesh::drawVertexArrays() {
  material.apply();
  drawElements();
}

// The material is not applied here: the lighting programs take their colours from the shader
// manager and only the texture from the mesh. An untextured mesh leaves the binding alone.
void Mesh::drawPerPixel() {
  ShaderManager& shaders = shaderManager();
  bindLayerTexture(shaders);
  shaders.beginPerPixel();
  drawElements();
  shaders.endPerPixel();
}

void Mesh::drawPerPixelBound() {
  bindLayerTexture(shaderManager());
  drawElements();
}

void Mesh::bindLayerTexture(ShaderManager& shaders) const {
  if (textured) {
    const int32_t layerTexture = material.layers[0].textureName;
    const unsigned int texture = layerTexture < 1 ? 0u : static_cast<unsigned int>(layerTexture);
    shaders.setTexture(texture);
    drawLayer().bindTexture(0, texture);
  }
}
