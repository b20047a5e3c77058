// One drawable triangle mesh in plain arrays, with its material, its name and its bounding box,
// and the six ways of drawing it through the drawing layer.
// Every index is below vertexCount (the model loader and the terrain builder see to it).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world/material.h"

// How a mesh is drawn; any other value draws nothing.
enum DrawMode : int32_t {
  kDrawWireframe = 0,     // every triangle as an open line strip
  kDrawDisplayList = 1,   // triangles recorded once and replayed, material applied
  kDrawNormals = 2,       // a line from every corner along its normal
  kDrawPoints = 3,        // every vertex
  kDrawVertexArrays = 4,  // indexed triangles from the arrays in one draw, material applied
  kDrawPerPixel = 5,      // indexed triangles through the per-pixel lighting programs, texture only
};

class ShaderManager;

class Mesh {
 public:
  Mesh() = default;
  Mesh(const Mesh&) = delete;
  Mesh& operator=(const Mesh&) = delete;
  virtual ~Mesh();

  // Replaces any arrays (and the recording) with new ones for the counts, contents unset
  // (zero). False, with the mesh left empty, when a count is negative or memory runs out.
  bool allocate(int32_t newVertexCount, int32_t newIndexCount);
  // Frees the arrays, the recording and the drawing layer's mesh; the counts become 0. Safe to call
  // again.
  void release();
  void computeBounds();  // all nine values 0 for a mesh without vertices
  // Moves every vertex; the bounds and a recording made earlier stay as they were, the mesh the
  // drawing layer keeps is made again.
  void translate(float dx, float dy, float dz);
  // Hands the arrays (texture coordinates only when textured) to the drawing layer once, as the
  // mesh it keeps; the indexed draws (kDrawVertexArrays, kDrawPerPixel) draw that from then on.
  // Loaders call it once the arrays are final; a draw before that makes it then. Without a drawing
  // layer it does nothing.
  void createGpuMesh();
  // normalLength is used by kDrawNormals only.
  void draw(int32_t mode, float normalLength);
  // The per-pixel path without binding the lighting programs: for drawing many meshes of one
  // transform between a single beginPerPixel() and endPerPixel() of the shader manager.
  void drawPerPixelBound();

  std::vector<float> vertices;   // x, y, z per vertex
  std::vector<float> normals;    // x, y, z per vertex
  std::vector<uint32_t> indices;  // three per triangle, in the source's corner order
  std::vector<float> texCoords;  // u, v per vertex
  int32_t vertexCount = 0;
  int32_t indexCount = 0;  // triangles = indexCount / 3
  int32_t displayList = -1;  // the recording's name; -1 while none has been made
  unsigned int gpuMesh = 0;  // the drawing layer's mesh of the arrays; 0 while none has been made
  Material material;
  bool textured = false;
  std::string name;
  float boundsMin[3] = {0.0f, 0.0f, 0.0f};
  float boundsMax[3] = {0.0f, 0.0f, 0.0f};
  float centre[3] = {0.0f, 0.0f, 0.0f};

 private:
  void drawWireframe() const;
  void drawDisplayList();
  void drawNormals(float normalLength) const;
  void drawPoints() const;
  void drawVertexArrays();
  void drawPerPixel();
  // Points the lighting programs' sampler and unit 0 at the first layer's texture; nothing for an
  // untextured mesh.
  void bindLayerTexture(ShaderManager& shaders) const;
  // The whole triangles one by one, texture coordinates first when textured.
  void issueTriangles() const;
  // The indexed triangles in one draw, by the drawing layer's mesh.
  void drawElements();
  void releaseGpuMesh();
};
