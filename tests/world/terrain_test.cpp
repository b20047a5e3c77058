#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/vector3.h"
#include "tests/support/private_working_folder.h"
#include "world/model.h"
#include "world/terrain.h"

namespace {

// Pictures and patch textures go through the texture manager, which logs every attempt: keep
// those lines in a log of this test's own.
class TerrainTest : public ::testing::Test {
 protected:
  PrivateWorkingFolder workingFolder_;
};

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

// Patch (a, b) of a built terrain, and its vertex (i, j).
const Mesh& patchOf(const Terrain& terrain, int a, int b) { return *terrain.model->meshes[a * terrain.patchesZ + b]; }
int vertexNumber(const Terrain& terrain, int i, int j) { return i * terrain.verticesZ + j; }
const float* vertexOf(const Terrain& terrain, int a, int b, int i, int j) {
  return patchOf(terrain, a, b).vertices.data() + 3 * vertexNumber(terrain, i, j);
}
const float* normalOf(const Terrain& terrain, int a, int b, int i, int j) {
  return patchOf(terrain, a, b).normals.data() + 3 * vertexNumber(terrain, i, j);
}
const float* texCoordOf(const Terrain& terrain, int a, int b, int i, int j) {
  return patchOf(terrain, a, b).texCoords.data() + 2 * vertexNumber(terrain, i, j);
}

void expectFlatAt(const Terrain& terrain, float height) {
  for (const std::unique_ptr<Mesh>& patch : terrain.model->meshes) {
    for (int v = 0; v < patch->vertexCount; ++v) {
      EXPECT_NEAR(patch->vertices[3 * v + 1], height, 1e-4f);
      EXPECT_EQ(patch->normals[3 * v + 0], 0.0f);
      EXPECT_FLOAT_EQ(patch->normals[3 * v + 1], 1.0f);
      EXPECT_EQ(patch->normals[3 * v + 2], 0.0f);
    }
  }
}

TEST_F(TerrainTest, blackPictureGivesFlatGroundAtTheBottomAndWhiteAtTheTop) {
  Terrain black;
  ASSERT_TRUE(black.build(TEST_DATA_DIR "/terrain/black.jpg", kOutdoorBox, 3, 3, 5, 5));
  ASSERT_EQ(black.model->meshes.size(), 9u);
  expectFlatAt(black, -20.0f);
  EXPECT_EQ(black.heightAt(0.0f, 0.0f), -20.0f);

  Terrain white;
  ASSERT_TRUE(white.build(TEST_DATA_DIR "/terrain/white.jpg", kOutdoorBox, 3, 3, 5, 5));
  expectFlatAt(white, 44.0f);
  EXPECT_NEAR(white.heightAt(200.0f, 200.0f), 44.0f, 1e-4f);
}

TEST_F(TerrainTest, missingPictureLeavesNoGroundAndBadCountsLeaveTheGroundAsItWas) {
  Terrain terrain;
  ASSERT_TRUE(terrain.buildFromHeights(uniformGrid(8, 8, 255), kOutdoorBox, 2, 2, 3, 3));
  EXPECT_FALSE(terrain.build("heightmap.jpg", kOutdoorBox, 0, 6, 10, 10));
  EXPECT_FALSE(terrain.build("heightmap.jpg", kOutdoorBox, 6, 6, 1, 10));
  ASSERT_NE(terrain.model, nullptr);
  EXPECT_EQ(terrain.model->meshes.size(), 4u);

  EXPECT_FALSE(terrain.build("heightmap.jpg", kOutdoorBox, 6, 6, 10, 10));
  EXPECT_EQ(terrain.model, nullptr);
  EXPECT_EQ(terrain.heightAt(0.0f, 0.0f), 0.0f);
  terrain.draw(4);
  terrain.setTexture("terraintexture.jpg");
}

TEST_F(TerrainTest, outdoorLayoutCutsThirtySixPatchesOfOneHundredVertices) {
  Terrain terrain;
  ASSERT_TRUE(terrain.buildFromHeights(noiseGrid(256, 256), kOutdoorBox, 6, 6, 10, 10));
  ASSERT_EQ(terrain.model->meshes.size(), 36u);
  EXPECT_EQ(patchOf(terrain, 0, 0).vertexCount, 100);
  EXPECT_EQ(patchOf(terrain, 0, 0).indexCount, 486);
  // Patch (0, 0) runs from −200 to about −133.3 along both axes, vertices about 7.41 apart.
  EXPECT_FLOAT_EQ(vertexOf(terrain, 0, 0, 0, 0)[0], -200.0f);
  EXPECT_FLOAT_EQ(vertexOf(terrain, 0, 0, 0, 0)[2], -200.0f);
  EXPECT_NEAR(vertexOf(terrain, 0, 0, 9, 9)[0], -133.333f, 1e-3f);
  EXPECT_NEAR(vertexOf(terrain, 0, 0, 9, 9)[2], -133.333f, 1e-3f);
  EXPECT_NEAR(vertexOf(terrain, 0, 0, 1, 0)[0] - vertexOf(terrain, 0, 0, 0, 0)[0], 7.407f, 1e-3f);
  EXPECT_NEAR(vertexOf(terrain, 0, 0, 0, 1)[2] - vertexOf(terrain, 0, 0, 0, 0)[2], 7.407f, 1e-3f);
  EXPECT_NEAR(vertexOf(terrain, 5, 5, 9, 9)[0], 200.0f, 1e-3f);
  EXPECT_NEAR(patchOf(terrain, 0, 0).boundsMax[0], -133.333f, 1e-3f);
  // Texture coordinates run from 0 to just under 1 over the whole ground.
  EXPECT_EQ(texCoordOf(terrain, 0, 0, 0, 0)[0], 0.0f);
  EXPECT_EQ(texCoordOf(terrain, 0, 0, 0, 0)[1], 0.0f);
  EXPECT_LT(texCoordOf(terrain, 5, 5, 9, 9)[0], 1.0f);
  EXPECT_GT(texCoordOf(terrain, 5, 5, 9, 9)[0], 0.99f);
}

TEST_F(TerrainTest, neighboursShareIdenticalSeams) {
  Terrain terrain;
  ASSERT_TRUE(terrain.buildFromHeights(noiseGrid(64, 48), kOutdoorBox, 3, 4, 6, 5));
  const int lastI = terrain.verticesX - 1;
  const int lastJ = terrain.verticesZ - 1;
  for (int a = 0; a < terrain.patchesX; ++a) {
    for (int b = 0; b < terrain.patchesZ; ++b) {
      for (int k = 0; k < 3; ++k) {
        for (int j = 0; a + 1 < terrain.patchesX && j <= lastJ; ++j) {
          EXPECT_EQ(vertexOf(terrain, a, b, lastI, j)[k], vertexOf(terrain, a + 1, b, 0, j)[k]);
          EXPECT_EQ(normalOf(terrain, a, b, lastI, j)[k], normalOf(terrain, a + 1, b, 0, j)[k]);
        }
        for (int i = 0; b + 1 < terrain.patchesZ && i <= lastI; ++i) {
          EXPECT_EQ(vertexOf(terrain, a, b, i, lastJ)[k], vertexOf(terrain, a, b + 1, i, 0)[k]);
        }
      }
      for (int i = 0; b + 1 < terrain.patchesZ && i <= lastI; ++i) {
        EXPECT_EQ(texCoordOf(terrain, a, b, i, lastJ)[1], texCoordOf(terrain, a, b + 1, i, 0)[1]);
      }
    }
  }
}

TEST_F(TerrainTest, groundRisingAlongXTiltsInnerNormalsBackAndFacesUp) {
  const TerrainBox box{0.0f, 0.0f, 0.0f, 255.0f, 255.0f, 255.0f};
  Terrain slope;
  ASSERT_TRUE(slope.buildFromHeights(rampAlongX(256, 256), box, 1, 1, 4, 4));
  const float* inner = normalOf(slope, 0, 0, 1, 1);
  // A 45° slope rising towards +x: the normal leans towards −x.
  EXPECT_NEAR(inner[0], -std::sqrt(0.5f), 0.02f);
  EXPECT_NEAR(inner[1], std::sqrt(0.5f), 0.02f);
  EXPECT_NEAR(inner[2], 0.0f, 1e-5f);

  // Every triangle is wound counter-clockwise seen from above.
  const std::vector<uint32_t>& indices = patchOf(slope, 0, 0).indices;
  ASSERT_EQ(indices[0], 0u);
  ASSERT_EQ(indices[1], 1u);
  ASSERT_EQ(indices[2], 4u);
  const float* vertices = vertexOf(slope, 0, 0, 0, 0);
  for (size_t t = 0; t < indices.size(); t += 3) {
    const float* a = vertices + 3 * indices[t];
    const float* b = vertices + 3 * indices[t + 1];
    const float* c = vertices + 3 * indices[t + 2];
    const Vector3 faceNormal =
        Vector3(b[0] - a[0], b[1] - a[1], b[2] - a[2]).cross(Vector3(c[0] - a[0], c[1] - a[1], c[2] - a[2]));
    EXPECT_GT(faceNormal.y, 0.0f);
  }
}

}  // namespace
