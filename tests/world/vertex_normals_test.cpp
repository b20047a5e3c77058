#include "world/vertex_normals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace {

ImportedObject makeObject(const std::vector<float>& vertices, const std::vector<ImportedFace>& faces) {
  ImportedObject object;
  object.vertexCount = static_cast<int32_t>(vertices.size() / 3);
  object.vertices = vertices;
  object.faceCount = static_cast<int32_t>(faces.size());
  object.faces = faces;
  return object;
}

ImportedFace face(int32_t a, int32_t b, int32_t c) { return ImportedFace{{a, b, c}}; }

// The normal of one vertex as the file format's own definition puts it: a scan of all faces
// for the ones that use the vertex.
void scanNormal(const ImportedObject& object, int32_t vertex, float* out) {
  float sum[3] = {0.0f, 0.0f, 0.0f};
  int shared = 0;
  for (const ImportedFace& f : object.faces) {
    if (f.index[0] != vertex && f.index[1] != vertex && f.index[2] != vertex) {
      continue;
    }
    const float* p = &object.vertices[3 * f.index[0]];
    const float* q = &object.vertices[3 * f.index[1]];
    const float* r = &object.vertices[3 * f.index[2]];
    const float a[3] = {p[0] - r[0], p[1] - r[1], p[2] - r[2]};
    const float b[3] = {r[0] - q[0], r[1] - q[1], r[2] - q[2]};
    sum[0] += a[1] * b[2] - a[2] * b[1];
    sum[1] += a[2] * b[0] - a[0] * b[2];
    sum[2] += a[0] * b[1] - a[1] * b[0];
    ++shared;
  }
  const float average = 1.0f / -static_cast<float>(shared);
  const float x = sum[0] * average;
  const float y = sum[1] * average;
  const float z = sum[2] * average;
  const float scale = 1.0f / std::sqrt(x * x + y * y + z * z);
  out[0] = x * scale;
  out[1] = y * scale;
  out[2] = z * scale;
}

TEST(VertexNormalsTest, counterClockwiseTriangleFacesTowardsTheViewer) {
  ImportedObject object = makeObject({0, 0, 0, 1, 0, 0, 0, 1, 0}, {face(0, 1, 2)});
  computeVertexNormals(object);
  EXPECT_EQ(object.normals, (std::vector<float>{0, 0, 1, 0, 0, 1, 0, 0, 1}));
}

TEST(VertexNormalsTest, onePassGivesTheSameBitsAsAScanOfAllFacesPerVertex) {
  std::mt19937 generator(7);
  std::uniform_real_distribution<float> coordinate(-50.0f, 50.0f);
  std::uniform_int_distribution<int32_t> corner(0, 39);
  std::vector<float> vertices(40 * 3);
  for (float& value : vertices) {
    value = coordinate(generator);
  }
  std::vector<ImportedFace> faces;
  for (int i = 0; i < 300; ++i) {
    faces.push_back(face(corner(generator), corner(generator), corner(generator)));
  }
  faces.push_back(face(3, 3, 5));  // a corner listed twice counts the face once
  ImportedObject object = makeObject(vertices, faces);
  computeVertexNormals(object);
  for (int32_t vertex = 0; vertex < object.vertexCount; ++vertex) {
    float expected[3];
    scanNormal(object, vertex, expected);
    EXPECT_EQ(std::memcmp(expected, &object.normals[3 * vertex], sizeof(expected)), 0) << vertex;
  }
}

TEST(VertexNormalsTest, outOfRangeFacesTakeNoPartAndUnformedNormalsAreZero) {
  // Vertex 3 is used only by a face that names vertex 9; vertices 4 to 6 only by a flat face
  // and a face with a repeated corner.
  ImportedObject object = makeObject({0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 5, 5, 0, 0, 0, 1, 1, 1, 2, 2, 2},
                                     {face(0, 1, 2), face(3, 2, 9), face(4, 5, 6), face(4, 4, 5)});
  computeVertexNormals(object);
  EXPECT_EQ(object.faces.size(), 4u);
  EXPECT_EQ(object.normals,
            (std::vector<float>{0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

}  // namespace
