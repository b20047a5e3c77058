// The lowest and highest corner of every grid cell of the drawn ground, for telling what the
// ground hides and whether the eye is clear of it. The drawn surface over a cell is two flat
// triangles on its corners, so it never leaves the range of those corners.
#pragma once

#include <vector>

#include "world/height_grid.h"

class Model;

class GroundCells {
 public:
  // From a terrain's patches (patch (a, b) is mesh a × patchesZ + b, vertex (i, j) is
  // i × verticesZ + j) as they are drawn, seams closed. Counts that do not match the meshes give
  // no cells.
  static GroundCells fromPatches(const Model& patches, const TerrainBox& box, int patchesX, int patchesZ,
                                 int verticesX, int verticesZ);

  bool empty() const { return cellsX_ < 1 || cellsZ_ < 1; }
  // The smaller of a cell's width and depth in world units; 0 without cells.
  float cellSpan() const;
  // The lowest corner of the cells under the rectangle and one whole cell around it, so that
  // rounding in the vertex positions cannot leave a lower cell out. False, lowest unchanged, when
  // the rectangle comes within one cell of the ground's edge or past it: the ground there may not
  // lie between the rectangle and an eye.
  bool lowestAround(float xMin, float zMin, float xMax, float zMax, float& lowest) const;
  // The highest corner over the same cells, under the same conditions.
  bool highestAround(float xMin, float zMin, float xMax, float zMax, float& highest) const;

 private:
  // The lowest or highest of cells over the rectangle widened by one cell; false as above.
  bool extremeAround(const std::vector<float>& cells, bool lowestWanted, float xMin, float zMin, float xMax,
                     float zMax, float& extreme) const;

  TerrainBox box_;
  int cellsX_ = 0;
  int cellsZ_ = 0;
  std::vector<float> lowest_;  // cell (I, J) at I × cellsZ + J
  std::vector<float> highest_;
};
