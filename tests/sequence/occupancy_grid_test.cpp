#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "core/random.h"
#include "sequence/occupancy_grid.h"

namespace {

TEST(OccupancyGrid, palmsAndWindmillsNeverShareACell) {
  for (unsigned int seed : {1u, 7u, 1234u, 99999u}) {
    seedRandom(seed);
    OccupancyGrid grid;
    std::set<std::pair<int, int>> cells;
    for (int n = 0; n < 90 + 12; ++n) {
      OccupancyGrid::Cell cell;
      ASSERT_TRUE(grid.claimRandomCell(cell));
      EXPECT_TRUE(cells.insert({cell.i, cell.j}).second) << "cell " << cell.i << ", " << cell.j << " handed out twice";
      EXPECT_TRUE(grid.isTaken(cell.i, cell.j));
      EXPECT_EQ(cell.x, -100.0f + 10.0f * cell.i);
      EXPECT_EQ(cell.z, -100.0f + 10.0f * cell.j);
    }
    EXPECT_EQ(grid.freeCount(), 400 - 102);
  }
}

TEST(OccupancyGrid, fullGridRefusesWithoutDrawingAndOutsideCellsCountAsTaken) {
  seedRandom(3);
  OccupancyGrid grid;
  OccupancyGrid::Cell cell;
  for (int n = 0; n < 400; ++n) {
    ASSERT_TRUE(grid.claimRandomCell(cell));
  }
  seedRandom(77);
  EXPECT_FALSE(grid.claimRandomCell(cell));
  const int next = nextRandom();
  seedRandom(77);
  EXPECT_EQ(next, nextRandom());

  EXPECT_TRUE(grid.isTaken(-1, 0));
  EXPECT_TRUE(grid.isTaken(0, 20));
  EXPECT_EQ(OccupancyGrid::cellCoordinate(0), -100.0f);
  EXPECT_EQ(OccupancyGrid::cellCoordinate(19), 90.0f);
}

}  // namespace
