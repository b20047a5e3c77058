#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/vector3.h"
#include "world/terrain_patch.h"

namespace {

const TerrainBox kOutdoorBox{-200.0f, -20.0f, -200.0f, 200.0f, 44.0f, 200.0f};

HeightGrid uniformGrid(int width, int height, uint8_t level) {
  return HeightGrid(width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height, level));
}

// A picture whose grey level rises by one per pixel to the right.
HeightGrid rampAlongX(int width, int height) {
  std::vector<uint8_t> levels(static_cast<size_t>(width) * height);
  for (int z = 0; z < height; ++z) {
    for (int x = 0; x < width; ++x) {
      levels[static_cast<size_t>(z) * width + x] = static_cast<uint8_t>(x);
    }
  }
  return HeightGrid(width, height, levels);
}

HeightGrid noiseGrid(int width, int height) {
  std::vector<uint8_t> levels(static_cast<size_t>(width) * height);
  uint32_t state = 12345;
  for (uint8_t& level : levels) {
    state = state * 1103515245u + 12345u;
    level = static_cast<uint8_t>(state >> 24);
  }
  return HeightGrid(width, height, levels);
}

// Every patch of a terrain held in plain arrays, built the way the terrain builds its meshes.
struct PatchStore {
  PatchSize size;
  int patchesX = 0;
  int patchesZ = 0;
  std::vector<std::vector<float>> vertices, normals, texCoords;
  std::vector<std::vector<uint32_t>> indices;
  std::vector<PatchArrays> arrays;

  PatchStore(const HeightGrid& heights, const TerrainBox& box, int countX, int countZ, int verticesX,
             int verticesZ)
      : size{verticesX, verticesZ}, patchesX(countX), patchesZ(countZ) {
    const std::vector<PatchPlacement> placements = placePatches(heights, box, countX, countZ);
    const size_t count = placements.size();
    vertices.assign(count, std::vector<float>(3 * size.vertexCount()));
    normals.assign(count, std::vector<float>(3 * size.vertexCount()));
    texCoords.assign(count, std::vector<float>(2 * size.vertexCount()));
    indices.assign(count, std::vector<uint32_t>(size.indexCount()));
    for (size_t p = 0; p < count; ++p) {
      arrays.push_back(PatchArrays{vertices[p].data(), normals[p].data(), texCoords[p].data(), indices[p].data()});
      buildPatchGeometry(heights, placements[p].box, placements[p].pixels, size, arrays[p]);
    }
    stitchSeams(arrays, countX, countZ, size);
  }

  const float* vertex(int a, int b, int i, int j) const {
    return vertices[a * patchesZ + b].data() + 3 * (i * size.verticesZ + j);
  }
  const float* normal(int a, int b, int i, int j) const {
    return normals[a * patchesZ + b].data() + 3 * (i * size.verticesZ + j);
  }
  const float* texCoord(int a, int b, int i, int j) const {
    return texCoords[a * patchesZ + b].data() + 2 * (i * size.verticesZ + j);
  }
};

TEST(TerrainPatch, blackMapIsFlatAtTheBottomWithUpwardNormalsAndWhiteSitsAtTheTop) {
  const PatchStore black(uniformGrid(32, 32, 0), kOutdoorBox, 3, 3, 5, 5);
  for (size_t p = 0; p < black.vertices.size(); ++p) {
    for (int v = 0; v < black.size.vertexCount(); ++v) {
      EXPECT_EQ(black.vertices[p][3 * v + 1], -20.0f);
      EXPECT_EQ(black.normals[p][3 * v + 0], 0.0f);
      EXPECT_FLOAT_EQ(black.normals[p][3 * v + 1], 1.0f);
      EXPECT_EQ(black.normals[p][3 * v + 2], 0.0f);
    }
  }
  const PatchStore white(uniformGrid(32, 32, 255), kOutdoorBox, 3, 3, 5, 5);
  for (const std::vector<float>& patch : white.vertices) {
    for (int v = 0; v < white.size.vertexCount(); ++v) {
      EXPECT_NEAR(patch[3 * v + 1], 44.0f, 1e-4f);
    }
  }
}

TEST(TerrainPatch, outdoorLayoutCutsThirtySixPatchesOfOneHundredVertices) {
  const PatchStore terrain(noiseGrid(256, 256), kOutdoorBox, 6, 6, 10, 10);
  ASSERT_EQ(terrain.arrays.size(), 36u);
  EXPECT_EQ(terrain.size.vertexCount(), 100);
  EXPECT_EQ(terrain.size.indexCount(), 486);
  // Patch (0, 0) runs from −200 to about −133.3 along both axes, vertices about 7.41 apart.
  EXPECT_FLOAT_EQ(terrain.vertex(0, 0, 0, 0)[0], -200.0f);
  EXPECT_FLOAT_EQ(terrain.vertex(0, 0, 0, 0)[2], -200.0f);
  EXPECT_NEAR(terrain.vertex(0, 0, 9, 9)[0], -133.333f, 1e-3f);
  EXPECT_NEAR(terrain.vertex(0, 0, 9, 9)[2], -133.333f, 1e-3f);
  EXPECT_NEAR(terrain.vertex(0, 0, 1, 0)[0] - terrain.vertex(0, 0, 0, 0)[0], 7.407f, 1e-3f);
  EXPECT_NEAR(terrain.vertex(0, 0, 0, 1)[2] - terrain.vertex(0, 0, 0, 0)[2], 7.407f, 1e-3f);
  EXPECT_NEAR(terrain.vertex(5, 5, 9, 9)[0], 200.0f, 1e-3f);
  // Texture coordinates run from 0 to just under 1 over the whole ground.
  EXPECT_EQ(terrain.texCoord(0, 0, 0, 0)[0], 0.0f);
  EXPECT_EQ(terrain.texCoord(0, 0, 0, 0)[1], 0.0f);
  EXPECT_LT(terrain.texCoord(5, 5, 9, 9)[0], 1.0f);
  EXPECT_GT(terrain.texCoord(5, 5, 9, 9)[0], 0.99f);
}

TEST(TerrainPatch, neighboursShareIdenticalSeams) {
  const PatchStore terrain(noiseGrid(64, 48), kOutdoorBox, 3, 4, 6, 5);
  const int lastI = terrain.size.verticesX - 1;
  const int lastJ = terrain.size.verticesZ - 1;
  for (int a = 0; a < terrain.patchesX; ++a) {
    for (int b = 0; b < terrain.patchesZ; ++b) {
      for (int k = 0; k < 3; ++k) {
        for (int j = 0; a + 1 < terrain.patchesX && j <= lastJ; ++j) {
          EXPECT_EQ(terrain.vertex(a, b, lastI, j)[k], terrain.vertex(a + 1, b, 0, j)[k]);
          EXPECT_EQ(terrain.normal(a, b, lastI, j)[k], terrain.normal(a + 1, b, 0, j)[k]);
        }
        for (int i = 0; b + 1 < terrain.patchesZ && i <= lastI; ++i) {
          EXPECT_EQ(terrain.vertex(a, b, i, lastJ)[k], terrain.vertex(a, b + 1, i, 0)[k]);
        }
      }
      for (int i = 0; b + 1 < terrain.patchesZ && i <= lastI; ++i) {
        EXPECT_EQ(terrain.texCoord(a, b, i, lastJ)[1], terrain.texCoord(a, b + 1, i, 0)[1]);
      }
    }
  }
}

TEST(TerrainPatch, groundRisingAlongXTiltsInnerNormalsBackAndFacesUp) {
  const TerrainBox box{0.0f, 0.0f, 0.0f, 255.0f, 255.0f, 255.0f};
  const PatchStore slope(rampAlongX(256, 256), box, 1, 1, 4, 4);
  const float* inner = slope.normal(0, 0, 1, 1);
  // A 45° slope rising towards +x: the normal leans towards −x.
  EXPECT_NEAR(inner[0], -std::sqrt(0.5f), 0.02f);
  EXPECT_NEAR(inner[1], std::sqrt(0.5f), 0.02f);
  EXPECT_NEAR(inner[2], 0.0f, 1e-5f);

  // Every triangle is wound counter-clockwise seen from above.
  const std::vector<uint32_t>& indices = slope.indices[0];
  ASSERT_EQ(indices[0], 0u);
  ASSERT_EQ(indices[1], 1u);
  ASSERT_EQ(indices[2], 4u);
  for (size_t t = 0; t < indices.size(); t += 3) {
    const float* a = slope.vertex(0, 0, 0, 0) + 3 * indices[t];
    const float* b = slope.vertex(0, 0, 0, 0) + 3 * indices[t + 1];
    const float* c = slope.vertex(0, 0, 0, 0) + 3 * indices[t + 2];
    const Vector3 faceNormal =
        Vector3(b[0] - a[0], b[1] - a[1], b[2] - a[2]).cross(Vector3(c[0] - a[0], c[1] - a[1], c[2] - a[2]));
    EXPECT_GT(faceNormal.y, 0.0f);
  }
}

}  // namespace
