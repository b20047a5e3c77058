// A 20 × 20 grid of 10 × 10-unit cells over the ground from −100 to 100 in x and z, each handed out
// at most once, so that the objects placed in it never share a cell.
#pragma once

class OccupancyGrid {
 public:
  static constexpr int kCellsPerSide = 20;

  struct Cell {
    int i = 0;  // along x
    int j = 0;  // along z
    float x = 0.0f;  // the cell's corner point
    float z = 0.0f;
  };

  // Draws i, then j (each the truncated random fraction × 20) until a free cell comes up, marks it
  // and returns it in cell. False, without drawing, once every cell is taken.
  bool claimRandomCell(Cell& cell);
  bool isTaken(int i, int j) const;  // indexes outside the grid count as taken
  int freeCount() const { return freeCount_; }

  // The point a cell stands for: −100 + 200 × index / 20.
  static float cellCoordinate(int index);

 private:
  bool taken_[kCellsPerSide][kCellsPerSide] = {};
  int freeCount_ = kCellsPerSide * kCellsPerSide;
};
