#include "world/vertex_normals.h"

#include <cmath>
#include <cstddef>

namespace {

bool faceInRange(const ImportedFace& face, int32_t vertexCount) {
  for (const int32_t index : face.index) {
    if (index < 0 || index >= vertexCount) {
      return false;
    }
  }
  return true;
}

// The face vector of a triangle, not normalised: its length is twice the triangle's area.
void faceVector(const float* vertices, const ImportedFace& face, float* out) {
  const float* p = vertices + 3 * static_cast<size_t>(face.index[0]);
  const float* q = vertices + 3 * static_cast<size_t>(face.index[1]);
  const float* r = vertices + 3 * static_cast<size_t>(face.index[2]);
  const float a[3] = {p[0] - r[0], p[1] - r[1], p[2] - r[2]};
  const float b[3] = {r[0] - q[0], r[1] - q[1], r[2] - q[2]};
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

void computeVertexNormals(ImportedObject& object) {
  const int32_t vertexCount = object.vertexCount;
  const size_t floatCount = 3 * static_cast<size_t>(vertexCount > 0 ? vertexCount : 0);
  object.normals.assign(floatCount, 0.0f);
  if (floatCount == 0 || object.vertices.size() < floatCount) {
    return;
  }
  // Sums of the face vectors, built in place in the normals array, and how many faces share
  // each vertex. A face counts once per distinct corner, as a scan of the faces per vertex would.
  std::vector<int32_t> faceCounts(static_cast<size_t>(vertexCount), 0);
  float* sums = object.normals.data();
  for (const ImportedFace& face : object.faces) {
    if (!faceInRange(face, vertexCount)) {
      continue;
    }
    float vector[3];
    faceVector(object.vertices.data(), face, vector);
    for (int corner = 0; corner < 3; ++corner) {
      const int32_t index = face.index[corner];
      if ((corner > 0 && index == face.index[0]) || (corner == 2 && index == face.index[1])) {
        continue;
      }
      float* sum = sums + 3 * static_cast<size_t>(index);
      sum[0] += vector[0];
      sum[1] += vector[1];
      sum[2] += vector[2];
      faceCounts[static_cast<size_t>(index)] += 1;
    }
  }
  for (size_t vertex = 0; vertex < faceCounts.size(); ++vertex) {
    float* normal = sums + 3 * vertex;
    if (faceCounts[vertex] == 0) {
      continue;
    }
    // The average is taken with a negative count, which turns the sum round; only the sign
    // survives the scaling to unit length.
    const float average = 1.0f / -static_cast<float>(faceCounts[vertex]);
    const float x = normal[0] * average;
    const float y = normal[1] * average;
    const float z = normal[2] * average;
    const float lengthSquared = x * x + y * y + z * z;
    if (!(lengthSquared > 0.0f) || std::isinf(lengthSquared)) {
      normal[0] = normal[1] = normal[2] = 0.0f;
      continue;
    }
    const float scale = 1.0f / std::sqrt(lengthSquared);
    normal[0] = x * scale;
    normal[1] = y * scale;
    normal[2] = z * scale;
  }
}
