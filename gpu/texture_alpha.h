// The alpha plane of a texture, built on the CPU from a picture's brightness or from a mask.
// Both buffers hold blue, green, red, alpha per pixel, rows of width × 4 bytes, bottom row first
// like the picture.
#pragma once

#include <cstdint>
#include <vector>

#include "image/decoded_image.h"

// Brightness of a pixel is (r + g + b) × 1/765 in single precision.
constexpr float kBrightnessScale = 1.0f / 765.0f;

// The alpha byte that alpha mode 1..5 gives a pixel (any other nonzero mode gives 0).
uint8_t alphaFromBrightness(uint8_t b, uint8_t g, uint8_t r, int alphaMode, float threshold);
// The picture with alpha from its own brightness under alphaMode and threshold (0..1).
std::vector<uint8_t> alphaBufferFromBrightness(const DecodedImage& image, int alphaMode, float threshold);
// The picture with alpha from the mask's own alpha plane, or else from its brightness. The mask
// must be the picture's size.
std::vector<uint8_t> alphaBufferFromMask(const DecodedImage& image, const DecodedImage& mask);
