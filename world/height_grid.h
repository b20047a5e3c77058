// The grey levels of a height picture, kept for building the ground and answering height queries.
// Reads never leave the picture: a coordinate outside it takes the nearest edge pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "image/decoded_image.h"

// A terrain's world extent: yMin is the height of black, yMax the height of white.
struct TerrainBox {
  float xMin = 0.0f;
  float yMin = 0.0f;
  float zMin = 0.0f;
  float xMax = 0.0f;
  float yMax = 0.0f;
  float zMax = 0.0f;
};

// 1/255 as the 32-bit float the ground heights are scaled with.
constexpr float kGreyLevelScale = 0.003921569f;

class HeightGrid {
 public:
  HeightGrid() = default;
  // levels holds width × height bytes, bottom row first; a size that does not match gives an
  // empty grid.
  HeightGrid(int width, int height, std::vector<uint8_t> levels);

  // The blue bytes of the picture, which are its grey levels when it is grey-scale.
  static HeightGrid fromPicture(const DecodedImage& picture);

  bool empty() const { return width_ < 1 || height_ < 1; }
  int width() const { return width_; }
  int height() const { return height_; }
  // pz = 0 is the bottom row of the picture; 0 for an empty grid.
  uint8_t level(int px, int pz) const;
  // The level at fractional pixel coordinates, truncated toward zero (NaN reads pixel 0).
  uint8_t levelAt(float px, float pz) const;
  // Ground height under (x, z) of a terrain spread over box: the pixel at the same fraction of
  // the picture's width and height. Points at or beyond the far edges read the edge pixels.
  float heightAt(const TerrainBox& box, float x, float z) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> levels_;
};
