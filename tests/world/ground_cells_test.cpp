#include "world/ground_cells.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "world/model.h"
#include "world/terrain.h"

namespace {

const TerrainBox kGroundBox{-200.0f, -20.0f, -200.0f, 200.0f, 44.0f, 200.0f};

// Grey levels that jump about from pixel to pixel.
HeightGrid bumpyGrid(int width, int height) {
  std::vector<uint8_t> levels(static_cast<size_t>(width) * height);
  for (size_t n = 0; n < levels.size(); ++n) {
    levels[n] = static_cast<uint8_t>((n * 97u + (n / 7u) * 31u) % 256u);
  }
  return HeightGrid(width, height, levels);
}

// The outdoor layout: 6 × 6 patches of 10 × 10 vertices, cells about 7.41 wide, on a random field.
class GroundCellsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(terrain.buildFromHeights(bumpyGrid(64, 64), kGroundBox, 6, 6, 10, 10)); }
  Terrain terrain;
};

// Calls visit(corner heights) for every drawn cell whose vertices reach into the rectangle.
template <typename Visit>
void forCellsUnder(const Terrain& terrain, float xMin, float zMin, float xMax, float zMax, Visit visit) {
  for (const auto& patch : terrain.model->meshes) {
    const float* v = patch->vertices.data();
    for (int i = 0; i + 1 < terrain.verticesX; ++i) {
      for (int j = 0; j + 1 < terrain.verticesZ; ++j) {
        const int a = i * terrain.verticesZ + j;
        const int d = (i + 1) * terrain.verticesZ + j + 1;
        const bool overlaps = v[3 * a] <= xMax && v[3 * d] >= xMin && v[3 * a + 2] <= zMax && v[3 * d + 2] >= zMin;
        if (overlaps) {
          visit(v[3 * a + 1], v[3 * (a + 1) + 1], v[3 * (d - 1) + 1], v[3 * d + 1]);
        }
      }
    }
  }
}

}  // namespace

TEST_F(GroundCellsTest, theDrawnSurfaceUnderARectangleStaysWithinTheAnsweredRange) {
  ASSERT_FALSE(terrain.cells.empty());
  const float rectangles[][4] = {
      {-10.0f, -10.0f, 10.0f, 10.0f}, {-190.0f, -190.0f, -185.0f, -150.0f}, {100.0f, 20.0f, 100.5f, 20.5f},
      {-133.4f, 0.0f, -133.2f, 7.5f}, {-50.0f, 120.0f, 60.0f, 190.0f},   {185.0f, 185.0f, 192.0f, 192.0f},
  };
  for (const auto& r : rectangles) {
    float lowest = 0.0f;
    float highest = 0.0f;
    ASSERT_TRUE(terrain.cells.lowestAround(r[0], r[1], r[2], r[3], lowest)) << r[0] << ", " << r[1];
    ASSERT_TRUE(terrain.cells.highestAround(r[0], r[1], r[2], r[3], highest));
    int cellsSeen = 0;
    forCellsUnder(terrain, r[0], r[1], r[2], r[3], [&](float y0, float y1, float y2, float y3) {
      for (const float y : {y0, y1, y2, y3}) {
        EXPECT_GE(y, lowest);
        EXPECT_LE(y, highest);
      }
      ++cellsSeen;
    });
    EXPECT_GT(cellsSeen, 0);
  }
}

TEST_F(GroundCellsTest, rectanglesNearOrPastTheEdgeOrMalformedGetNoAnswer) {
  float lowest = 123.0f;
  // Within one cell (about 7.41) of an edge, past it, wholly outside.
  EXPECT_FALSE(terrain.cells.lowestAround(-195.0f, 0.0f, -180.0f, 10.0f, lowest));
  EXPECT_FALSE(terrain.cells.lowestAround(0.0f, 0.0f, 10.0f, 199.0f, lowest));
  EXPECT_FALSE(terrain.cells.lowestAround(190.0f, 0.0f, 210.0f, 10.0f, lowest));
  EXPECT_FALSE(terrain.cells.highestAround(-250.0f, -250.0f, 250.0f, 250.0f, lowest));
  // Inverted and NaN corners.
  EXPECT_FALSE(terrain.cells.lowestAround(10.0f, 0.0f, 0.0f, 10.0f, lowest));
  EXPECT_FALSE(terrain.cells.lowestAround(std::nanf(""), 0.0f, 10.0f, 10.0f, lowest));
  EXPECT_FALSE(terrain.cells.highestAround(0.0f, 0.0f, 10.0f, std::nanf(""), lowest));
  EXPECT_EQ(lowest, 123.0f);
  // Just inside the one-cell border at both ends.
  EXPECT_TRUE(terrain.cells.lowestAround(-192.5f, -192.5f, 192.5f, 192.5f, lowest));
}

TEST_F(GroundCellsTest, countsThatDoNotMatchThePatchesGiveNoCells) {
  EXPECT_NEAR(terrain.cells.cellSpan(), 400.0f / 54.0f, 1e-4f);
  EXPECT_TRUE(GroundCells::fromPatches(*terrain.model, kGroundBox, 6, 5, 10, 10).empty());
  EXPECT_TRUE(GroundCells::fromPatches(*terrain.model, kGroundBox, 6, 6, 10, 9).empty());
  float lowest = 0.0f;
  EXPECT_FALSE(GroundCells().lowestAround(0.0f, 0.0f, 1.0f, 1.0f, lowest));
}
