#include "world/height_grid.h"

#include <algorithm>
#include <utility>

namespace {

// Truncates a pixel coordinate toward zero and keeps it inside 0 .. size − 1; NaN reads pixel 0.
int pixelIndex(float coordinate, int size) {
  if (!(coordinate >= 0.0f)) {
    return 0;
  }
  if (coordinate >= static_cast<float>(size - 1)) {
    return size - 1;
  }
  return static_cast<int>(coordinate);
}

}  // namespace

HeightGrid::HeightGrid(int width, int height, std::vector<uint8_t> levels) {
  if (width < 1 || height < 1 || levels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    return;
  }
  width_ = width;
  height_ = height;
  levels_ = std::move(levels);
}

HeightGrid HeightGrid::fromPicture(const DecodedImage& picture) {
  const int width = picture.width();
  const int height = picture.height();
  if (width < 1 || height < 1) {
    return HeightGrid();
  }
  std::vector<uint8_t> levels(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int z = 0; z < height; ++z) {
    for (int x = 0; x < width; ++x) {
      levels[static_cast<size_t>(z) * width + x] = picture.pixel(x, z).b;
    }
  }
  return HeightGrid(width, height, std::move(levels));
}

uint8_t HeightGrid::level(int px, int pz) const {
  if (empty()) {
    return 0;
  }
  const int x = std::clamp(px, 0, width_ - 1);
  const int z = std::clamp(pz, 0, height_ - 1);
  return levels_[static_cast<size_t>(z) * width_ + x];
}

uint8_t HeightGrid::levelAt(float px, float pz) const {
  if (empty()) {
    return 0;
  }
  return level(pixelIndex(px, width_), pixelIndex(pz, height_));
}

float HeightGrid::heightAt(const TerrainBox& box, float x, float z) const {
  if (empty()) {
    return box.yMin;
  }
  // The query spreads the box over all W pixels where the ground builder uses W − 1, so the far
  // edges land one pixel outside the picture; they read the edge pixel instead.
  const float px = (x - box.xMin) / (box.xMax - box.xMin) * static_cast<float>(width_);
  const float pz = (z - box.zMin) / (box.zMax - box.zMin) * static_cast<float>(height_);
  return box.yMin + (box.yMax - box.yMin) * kGreyLevelScale * static_cast<float>(levelAt(px, pz));
}
