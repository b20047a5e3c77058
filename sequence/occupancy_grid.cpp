#include "sequence/occupancy_grid.h"

#include "core/random.h"

namespace {

constexpr float kGridMin = -100.0f;
constexpr int kGridSpan = 200;

int drawIndex() { return static_cast<int>(randomFraction() * OccupancyGrid::kCellsPerSide); }

}  // namespace

bool OccupancyGrid::claimRandomCell(Cell& cell) {
  // A full grid would make the drawing loop below run for ever.
  if (freeCount_ == 0) {
    return false;
  }
  int i = drawIndex();
  int j = drawIndex();
  while (isTaken(i, j)) {
    i = drawIndex();
    j = drawIndex();
  }
  taken_[i][j] = true;
  freeCount_ -= 1;
  cell.i = i;
  cell.j = j;
  cell.x = cellCoordinate(i);
  cell.z = cellCoordinate(j);
  return true;
}

bool OccupancyGrid::isTaken(int i, int j) const {
  if (i < 0 || j < 0 || i >= kCellsPerSide || j >= kCellsPerSide) {
    return true;
  }
  return taken_[i][j];
}

float OccupancyGrid::cellCoordinate(int index) {
  // The multiplication is done first, the division by 20 in floating point after it.
  return kGridMin + static_cast<float>(kGridSpan * index) / static_cast<float>(kCellsPerSide);
}
