#include "world/terrain_patch.h"

#include <cstddef>

#include "core/vector3.h"

namespace {

int vertexIndex(const PatchSize& size, int i, int j) { return i * size.verticesZ + j; }

Vector3 vertexAt(const PatchArrays& patch, int index) {
  const float* v = patch.vertices + 3 * index;
  return Vector3(v[0], v[1], v[2], 0.0f);
}

void storeTriple(float* to, const Vector3& v) {
  to[0] = v.x;
  to[1] = v.y;
  to[2] = v.z;
}

// Pictures one pixel wide or tall have no span to divide by; they sit at offset 0.
float safeRatio(float numerator, float denominator) { return denominator > 0.0f ? numerator / denominator : 0.0f; }

void buildPositions(const HeightGrid& heights, const TerrainBox& box, const PatchPixels& pixels,
                    const PatchSize& size, const PatchArrays& patch) {
  const float width = box.xMax - box.xMin;
  const float depth = box.zMax - box.zMin;
  const float dx = width / static_cast<float>(size.verticesX - 1);
  const float dz = depth / static_cast<float>(size.verticesZ - 1);
  const float heightScale = (box.yMax - box.yMin) * kGreyLevelScale;
  // Positions advance by repeated addition, like the pixel offsets of the patches.
  float x = box.xMin;
  for (int i = 0; i < size.verticesX; ++i) {
    float z = box.zMin;
    for (int j = 0; j < size.verticesZ; ++j) {
      const float px = (x - box.xMin) / width * pixels.spanX + pixels.offsetX;
      const float pz = (z - box.zMin) / depth * pixels.spanZ + pixels.offsetZ;
      const float y = box.yMin + static_cast<float>(heights.levelAt(px, pz)) * heightScale;
      storeTriple(patch.vertices + 3 * vertexIndex(size, i, j), Vector3(x, y, z));
      z += dz;
    }
    x += dx;
  }
}

void buildTriangles(const PatchSize& size, const PatchArrays& patch) {
  uint32_t* index = patch.indices;
  for (int i = 0; i < size.verticesX - 1; ++i) {
    for (int j = 0; j < size.verticesZ - 1; ++j) {
      const uint32_t a = static_cast<uint32_t>(vertexIndex(size, i, j));
      const uint32_t b = static_cast<uint32_t>(vertexIndex(size, i, j + 1));
      const uint32_t c = static_cast<uint32_t>(vertexIndex(size, i + 1, j));
      const uint32_t d = static_cast<uint32_t>(vertexIndex(size, i + 1, j + 1));
      const uint32_t corners[6] = {a, b, c, b, d, c};
      for (uint32_t corner : corners) {
        *index++ = corner;
      }
    }
  }
}

Vector3 unitCross(const Vector3& a, const Vector3& b) {
  Vector3 product = a.cross(b);
  product.normalize();
  return product;
}

// The negated mean of the four unit normals of the triangles fanned around an inner vertex.
Vector3 innerNormal(const PatchArrays& patch, const PatchSize& size, int i, int j) {
  const Vector3 p = vertexAt(patch, vertexIndex(size, i, j));
  const Vector3 e1 = p - vertexAt(patch, vertexIndex(size, i + 1, j));
  const Vector3 e2 = p - vertexAt(patch, vertexIndex(size, i, j + 1));
  const Vector3 e3 = p - vertexAt(patch, vertexIndex(size, i - 1, j));
  const Vector3 e4 = p - vertexAt(patch, vertexIndex(size, i, j - 1));
  Vector3 sum = unitCross(e1, e2) + unitCross(e2, e3) + unitCross(e3, e4) + unitCross(e4, e1);
  sum.normalize();
  return sum * -1.0f;
}

void buildNormals(const PatchSize& size, const PatchArrays& patch) {
  const Vector3 straightUp(0.0f, 1.0f, 0.0f);
  for (int i = 0; i < size.verticesX; ++i) {
    for (int j = 0; j < size.verticesZ; ++j) {
      const bool border = i == 0 || j == 0 || i == size.verticesX - 1 || j == size.verticesZ - 1;
      const Vector3 normal = border ? straightUp : innerNormal(patch, size, i, j);
      storeTriple(patch.normals + 3 * vertexIndex(size, i, j), normal);
    }
  }
}

void buildTexCoords(const HeightGrid& heights, const PatchPixels& pixels, const PatchSize& size,
                    const PatchArrays& patch) {
  const float pictureWidth = static_cast<float>(heights.width());
  const float pictureHeight = static_cast<float>(heights.height());
  const float uOffset = safeRatio(pixels.offsetX, pictureWidth - 1.0f);
  const float vOffset = safeRatio(pixels.offsetZ, pictureHeight - 1.0f);
  const float uStep = pixels.spanX / pictureWidth / static_cast<float>(size.verticesX - 1);
  const float vStep = pixels.spanZ / pictureHeight / static_cast<float>(size.verticesZ - 1);
  for (int i = 0; i < size.verticesX; ++i) {
    for (int j = 0; j < size.verticesZ; ++j) {
      float* uv = patch.texCoords + 2 * vertexIndex(size, i, j);
      uv[0] = uOffset + static_cast<float>(i) * uStep;
      uv[1] = vOffset + static_cast<float>(j) * vStep;
    }
  }
}

void averageInPlace(float* first, float* second, int count) {
  for (int k = 0; k < count; ++k) {
    const float mean = (first[k] + second[k]) * 0.5f;
    first[k] = mean;
    second[k] = mean;
  }
}

// Gives two vertices of neighbouring patches the mean of their positions, normals (left as they
// come out, not renormalised) and texture coordinates.
void joinVertices(const PatchArrays& first, int firstIndex, const PatchArrays& second, int secondIndex) {
  averageInPlace(first.vertices + 3 * firstIndex, second.vertices + 3 * secondIndex, 3);
  averageInPlace(first.normals + 3 * firstIndex, second.normals + 3 * secondIndex, 3);
  averageInPlace(first.texCoords + 2 * firstIndex, second.texCoords + 2 * secondIndex, 2);
}

}  // namespace

std::vector<PatchPlacement> placePatches(const HeightGrid& heights, const TerrainBox& box, int patchesX,
                                         int patchesZ) {
  std::vector<PatchPlacement> placements;
  placements.reserve(static_cast<std::size_t>(patchesX) * static_cast<std::size_t>(patchesZ));
  const float sizeX = (box.xMax - box.xMin) / static_cast<float>(patchesX);
  const float sizeZ = (box.zMax - box.zMin) / static_cast<float>(patchesZ);
  // The patches share the picture's W − 1 by H − 1 pixel steps, so neighbours meet on one pixel.
  const float spanX = static_cast<float>(heights.width() - 1) / static_cast<float>(patchesX);
  const float spanZ = static_cast<float>(heights.height() - 1) / static_cast<float>(patchesZ);
  // Corners and pixel offsets advance by repeated addition.
  float x0 = box.xMin;
  float offsetX = 0.0f;
  for (int a = 0; a < patchesX; ++a) {
    float z0 = box.zMin;
    float offsetZ = 0.0f;
    for (int b = 0; b < patchesZ; ++b) {
      PatchPlacement placement;
      placement.box = TerrainBox{x0, box.yMin, z0, x0 + sizeX, box.yMax, z0 + sizeZ};
      placement.pixels = PatchPixels{offsetX, spanX, offsetZ, spanZ};
      placements.push_back(placement);
      z0 += sizeZ;
      offsetZ += spanZ;
    }
    x0 += sizeX;
    offsetX += spanX;
  }
  return placements;
}

void buildPatchGeometry(const HeightGrid& heights, const TerrainBox& box, const PatchPixels& pixels,
                        const PatchSize& size, const PatchArrays& patch) {
  buildPositions(heights, box, pixels, size, patch);
  buildTriangles(size, patch);
  buildNormals(size, patch);
  buildTexCoords(heights, pixels, size, patch);
}

void stitchSeams(const std::vector<PatchArrays>& patches, int patchesX, int patchesZ, const PatchSize& size) {
  for (int a = 0; a + 1 < patchesX; ++a) {
    for (int b = 0; b < patchesZ; ++b) {
      joinPatchesAcrossX(patches[a * patchesZ + b], patches[(a + 1) * patchesZ + b], size);
    }
  }
  for (int b = 0; b + 1 < patchesZ; ++b) {
    for (int a = 0; a < patchesX; ++a) {
      joinPatchesAcrossZ(patches[a * patchesZ + b], patches[a * patchesZ + b + 1], size);
    }
  }
}

void joinPatchesAcrossX(const PatchArrays& first, const PatchArrays& second, const PatchSize& size) {
  for (int j = 0; j < size.verticesZ; ++j) {
    joinVertices(first, vertexIndex(size, size.verticesX - 1, j), second, vertexIndex(size, 0, j));
  }
}

void joinPatchesAcrossZ(const PatchArrays& first, const PatchArrays& second, const PatchSize& size) {
  for (int i = 0; i < size.verticesX; ++i) {
    joinVertices(first, vertexIndex(size, i, size.verticesZ - 1), second, vertexIndex(size, i, 0));
  }
}
