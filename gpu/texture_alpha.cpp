#include "gpu/texture_alpha.h"

#include <cassert>

namespace {

uint8_t alphaByte(float alpha) {
  // a × 255 truncated toward zero; brightness may round a hair past 1, which must not wrap.
  const double scaled = static_cast<double>(alpha) * 255.0;
  if (scaled <= 0.0) {
    return 0;
  }
  return scaled >= 255.0 ? 255 : static_cast<uint8_t>(scaled);
}

float brightness(const DecodedImage::Bgra& pixel) {
  return static_cast<float>(pixel.r + pixel.g + pixel.b) * kBrightnessScale;
}

}  // namespace

uint8_t alphaFromBrightness(uint8_t b, uint8_t g, uint8_t r, int alphaMode, float threshold) {
  const float v = brightness(DecodedImage::Bgra{b, g, r, 255});
  float alpha = 0.0f;
  switch (alphaMode) {
    case 1:
      alpha = v > threshold ? 1.0f : 0.0f;
      break;
    case 2:
      alpha = v < threshold ? v : 1.0f;
      break;
    case 3:
      alpha = v > threshold ? v : 0.0f;
      break;
    case 4:
      alpha = v;
      break;
    case 5:
      alpha = 1.0f - v;
      break;
    default:
      alpha = 0.0f;
  }
  return alphaByte(alpha);
}

std::vector<uint8_t> alphaBufferFromBrightness(const DecodedImage& image, int alphaMode, float threshold) {
  std::vector<uint8_t> buffer(static_cast<size_t>(image.width()) * image.height() * 4);
  uint8_t* out = buffer.data();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const DecodedImage::Bgra pixel = image.pixel(x, y);
      out[0] = pixel.b;
      out[1] = pixel.g;
      out[2] = pixel.r;
      out[3] = alphaFromBrightness(pixel.b, pixel.g, pixel.r, alphaMode, threshold);
      out += 4;
    }
  }
  return buffer;
}

std::vector<uint8_t> alphaBufferFromMask(const DecodedImage& image, const DecodedImage& mask) {
  assert(mask.width() == image.width() && mask.height() == image.height() && "mask not resampled to the picture");
  std::vector<uint8_t> buffer(static_cast<size_t>(image.width()) * image.height() * 4);
  uint8_t* out = buffer.data();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const DecodedImage::Bgra pixel = image.pixel(x, y);
      const DecodedImage::Bgra maskPixel = mask.pixel(x, y);
      out[0] = pixel.b;
      out[1] = pixel.g;
      out[2] = pixel.r;
      out[3] = mask.hasAlpha() ? maskPixel.a : alphaByte(brightness(maskPixel));
      out += 4;
    }
  }
  return buffer;
}
