// Pixel storage for the baker's pictures.
#include "tools/baked_picture.h"

#include <cassert>
#include <cmath>

namespace baker {

Colour mixColour(const Colour& a, const Colour& b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scaleColour(const Colour& c, float factor) { return {c.r * factor, c.g * factor, c.b * factor}; }

BakedPicture::BakedPicture(int width, int height, int channels)
    : width_(width), height_(height), channels_(channels),
      values_(static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(channels), 0.0f) {
  assert(width > 0 && height > 0 && (channels == 1 || channels == 3) && "picture must be grey or RGB");
}

void BakedPicture::set(int x, int y, const Colour& colour) {
  assert(x >= 0 && x < width_ && y >= 0 && y < height_ && "pixel outside the picture");
  float* pixel = &values_[index(x, y)];
  if (channels_ == 1) {
    pixel[0] = (colour.r + colour.g + colour.b) * (1.0f / 3.0f);
    return;
  }
  pixel[0] = colour.r;
  pixel[1] = colour.g;
  pixel[2] = colour.b;
}

Colour BakedPicture::get(int x, int y) const {
  assert(x >= 0 && x < width_ && y >= 0 && y < height_ && "pixel outside the picture");
  const float* pixel = &values_[index(x, y)];
  if (channels_ == 1) {
    return {pixel[0], pixel[0], pixel[0]};
  }
  return {pixel[0], pixel[1], pixel[2]};
}

void BakedPicture::setGrey(int x, int y, float value) { set(x, y, {value, value, value}); }

float BakedPicture::grey(int x, int y) const {
  const Colour c = get(x, y);
  return (c.r + c.g + c.b) * (1.0f / 3.0f);
}

void BakedPicture::add(int x, int y, const Colour& colour) {
  const Colour old = get(x, y);
  set(x, y, {old.r + colour.r, old.g + colour.g, old.b + colour.b});
}

std::vector<unsigned char> BakedPicture::toBytes() const {
  std::vector<unsigned char> bytes(values_.size());
  for (size_t i = 0; i < values_.size(); ++i) {
    float v = values_[i];
    v = v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
    bytes[i] = static_cast<unsigned char>(std::lround(v * 255.0f));
  }
  return bytes;
}

}  // namespace baker
