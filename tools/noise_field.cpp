// Gradient noise on a wrapped lattice with quintic fading between cells.
#include "tools/noise_field.h"

#include <cassert>
#include <cmath>

#include "tools/bake_random.h"

namespace baker {

namespace {

// Sixteen unit gradients evenly around the circle: cos and sin of i * 22.5 degrees.
constexpr float kGradientX[16] = {1.0f, 0.9238795f, 0.7071068f, 0.3826834f, 0.0f, -0.3826834f, -0.7071068f, -0.9238795f,
                                  -1.0f, -0.9238795f, -0.7071068f, -0.3826834f, 0.0f, 0.3826834f, 0.7071068f, 0.9238795f};
constexpr float kGradientY[16] = {0.0f, 0.3826834f, 0.7071068f, 0.9238795f, 1.0f, 0.9238795f, 0.7071068f, 0.3826834f,
                                  0.0f, -0.3826834f, -0.7071068f, -0.9238795f, -1.0f, -0.9238795f, -0.7071068f, -0.3826834f};

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

float mix(float a, float b, float t) { return a + (b - a) * t; }

}  // namespace

NoiseField::NoiseField(std::uint64_t seed, int periodCells) : periodMask_(periodCells - 1), permutation_() {
  assert(periodCells > 0 && periodCells <= 256 && (periodCells & (periodCells - 1)) == 0 &&
         "noise period must be a power of two up to 256");
  BakeRandom random(seed);
  for (int i = 0; i < 256; ++i) {
    permutation_[i] = static_cast<std::uint8_t>(i);
  }
  for (int i = 255; i > 0; --i) {
    const int j = random.below(i + 1);
    const std::uint8_t swapped = permutation_[i];
    permutation_[i] = permutation_[j];
    permutation_[j] = swapped;
  }
  for (int i = 0; i < 256; ++i) {
    permutation_[256 + i] = permutation_[i];
  }
}

float NoiseField::gradientDot(int cellX, int cellY, float dx, float dy) const {
  const int hash = permutation_[permutation_[cellX & periodMask_] + (cellY & periodMask_)];
  return kGradientX[hash & 15] * dx + kGradientY[hash & 15] * dy;
}

float NoiseField::at(float x, float y) const {
  const float floorX = std::floor(x);
  const float floorY = std::floor(y);
  const int cellX = static_cast<int>(floorX);
  const int cellY = static_cast<int>(floorY);
  const float dx = x - floorX;
  const float dy = y - floorY;
  const float n00 = gradientDot(cellX, cellY, dx, dy);
  const float n10 = gradientDot(cellX + 1, cellY, dx - 1.0f, dy);
  const float n01 = gradientDot(cellX, cellY + 1, dx, dy - 1.0f);
  const float n11 = gradientDot(cellX + 1, cellY + 1, dx - 1.0f, dy - 1.0f);
  const float fx = fade(dx);
  // A unit gradient dotted with an offset inside the cell stays within about +-0.7; scale to +-1.
  return mix(mix(n00, n10, fx), mix(n01, n11, fx), fade(dy)) * 1.4142f;
}

float NoiseField::layered(float x, float y, int octaves, float gain, bool ridged) const {
  float sum = 0.0f;
  float amplitude = 1.0f;
  float total = 0.0f;
  float scale = 1.0f;
  for (int octave = 0; octave < octaves; ++octave) {
    float layer = at(x * scale, y * scale);
    if (ridged) {
      const float crest = 1.0f - std::fabs(layer);
      layer = crest * crest;
    }
    sum += layer * amplitude;
    total += amplitude;
    amplitude *= gain;
    scale *= 2.0f;
  }
  return total > 0.0f ? sum / total : 0.0f;
}

float NoiseField::fractal(float x, float y, int octaves, float gain) const { return layered(x, y, octaves, gain, false); }

float NoiseField::ridged(float x, float y, int octaves, float gain) const { return layered(x, y, octaves, gain, true); }

}  // namespace baker
