#include "world/ground_cells.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "world/model.h"

GroundCells GroundCells::fromPatches(const Model& patches, const TerrainBox& box, int patchesX, int patchesZ,
                                     int verticesX, int verticesZ) {
  GroundCells cells;
  if (patchesX < 1 || patchesZ < 1 || verticesX < 2 || verticesZ < 2 ||
      patches.meshes.size() != static_cast<std::size_t>(patchesX) * static_cast<std::size_t>(patchesZ)) {
    return cells;
  }
  for (const std::unique_ptr<Mesh>& mesh : patches.meshes) {
    if (mesh->vertexCount != verticesX * verticesZ) {
      return cells;
    }
  }
  const int perPatchX = verticesX - 1;
  const int perPatchZ = verticesZ - 1;
  cells.box_ = box;
  cells.cellsX_ = patchesX * perPatchX;
  cells.cellsZ_ = patchesZ * perPatchZ;
  const std::size_t count = static_cast<std::size_t>(cells.cellsX_) * static_cast<std::size_t>(cells.cellsZ_);
  cells.lowest_.assign(count, 0.0f);
  cells.highest_.assign(count, 0.0f);
  for (int cellX = 0; cellX < cells.cellsX_; ++cellX) {
    for (int cellZ = 0; cellZ < cells.cellsZ_; ++cellZ) {
      const Mesh& patch = *patches.meshes[(cellX / perPatchX) * patchesZ + cellZ / perPatchZ];
      const int i = cellX % perPatchX;
      const int j = cellZ % perPatchZ;
      const int corners[4] = {i * verticesZ + j, i * verticesZ + j + 1, (i + 1) * verticesZ + j,
                              (i + 1) * verticesZ + j + 1};
      float low = patch.vertices[3 * corners[0] + 1];
      float high = low;
      for (int corner : corners) {
        const float y = patch.vertices[3 * corner + 1];
        low = std::min(low, y);
        high = std::max(high, y);
      }
      const std::size_t cell = static_cast<std::size_t>(cellX) * cells.cellsZ_ + cellZ;
      cells.lowest_[cell] = low;
      cells.highest_[cell] = high;
    }
  }
  return cells;
}

float GroundCells::cellSpan() const {
  if (empty()) {
    return 0.0f;
  }
  return std::min((box_.xMax - box_.xMin) / static_cast<float>(cellsX_),
                  (box_.zMax - box_.zMin) / static_cast<float>(cellsZ_));
}

bool GroundCells::lowestAround(float xMin, float zMin, float xMax, float zMax, float& lowest) const {
  return extremeAround(lowest_, true, xMin, zMin, xMax, zMax, lowest);
}

bool GroundCells::highestAround(float xMin, float zMin, float xMax, float zMax, float& highest) const {
  return extremeAround(highest_, false, xMin, zMin, xMax, zMax, highest);
}

bool GroundCells::extremeAround(const std::vector<float>& cells, bool lowestWanted, float xMin, float zMin,
                                float xMax, float zMax, float& extreme) const {
  if (empty()) {
    return false;
  }
  const float cellWidth = (box_.xMax - box_.xMin) / static_cast<float>(cellsX_);
  const float cellDepth = (box_.zMax - box_.zMin) / static_cast<float>(cellsZ_);
  // Written so that a NaN anywhere answers false.
  const bool inside = xMin >= box_.xMin + cellWidth && xMax <= box_.xMax - cellWidth &&
                      zMin >= box_.zMin + cellDepth && zMax <= box_.zMax - cellDepth && xMin <= xMax &&
                      zMin <= zMax;
  if (!inside) {
    return false;
  }
  const int firstX = std::max(0, static_cast<int>(std::floor((xMin - box_.xMin) / cellWidth)) - 1);
  const int firstZ = std::max(0, static_cast<int>(std::floor((zMin - box_.zMin) / cellDepth)) - 1);
  const int lastX = std::min(cellsX_ - 1, static_cast<int>(std::floor((xMax - box_.xMin) / cellWidth)) + 1);
  const int lastZ = std::min(cellsZ_ - 1, static_cast<int>(std::floor((zMax - box_.zMin) / cellDepth)) + 1);
  float picked = cells[static_cast<std::size_t>(firstX) * cellsZ_ + firstZ];
  for (int cellX = firstX; cellX <= lastX; ++cellX) {
    for (int cellZ = firstZ; cellZ <= lastZ; ++cellZ) {
      const float value = cells[static_cast<std::size_t>(cellX) * cellsZ_ + cellZ];
      picked = lowestWanted ? std::min(picked, value) : std::max(picked, value);
    }
  }
  extreme = picked;
  return true;
}
