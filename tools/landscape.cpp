// The landscape's height function, built from a plain, a ring of ridged hills and a carved valley.
#include "tools/landscape.h"
#include "tools/shaping.h"

#include <cmath>

namespace baker {

namespace {

// Where the river runs across z for a given x (east of the plain).
float riverZ(float x) { return 14.0f * std::sin(x * 0.035f) + 6.0f * std::sin(x * 0.09f + 1.0f); }

constexpr float kLakeX = 132.0f;
constexpr float kLakeZ = 4.0f;

}  // namespace

Landscape::Landscape() : shape_(0x6c616e64ull, 256), detail_(0x64657461ull, 256) {}

float Landscape::valleyWeight(float x, float z) const {
  // Along the river east of the lake, and round the lake itself.
  const float along = smoothStep(kLakeX - 30.0f, kLakeX, x);
  const float across = std::fabs(z - riverZ(x));
  // The valley widens toward the east edge, where the missiles start low over its floor.
  const float inner = 18.0f + 30.0f * smoothStep(150.0f, 200.0f, x);
  const float river = along * (1.0f - smoothStep(inner, inner + 34.0f, across));
  const float dx = x - kLakeX;
  const float dz = z - kLakeZ;
  const float lake = 1.0f - smoothStep(20.0f, 48.0f, std::sqrt(dx * dx + dz * dz));
  return std::fmax(river, lake);
}

float Landscape::heightAt(float x, float z) const {
  const float plain = 3.0f + 2.2f * shape_.fractal(x / 70.0f, z / 70.0f, 4) + 0.4f * detail_.fractal(x / 9.0f, z / 9.0f, 2);
  // A rounded square ring: hills begin beyond the palm field and rise to the edges.
  const float ax = std::fabs(x);
  const float az = std::fabs(z);
  const float ring = std::pow(ax * ax * ax * ax + az * az * az * az, 0.25f);
  const float hillMask = smoothStep(100.0f, 185.0f, ring + 18.0f * shape_.at(x / 45.0f + 7.0f, z / 45.0f));
  const float ridges = shape_.ridged(x / 110.0f + 3.0f, z / 110.0f + 11.0f, 5);
  const float hills = 4.0f + 34.0f * ridges * ridges + 6.0f * shape_.fractal(x / 50.0f + 5.0f, z / 50.0f, 3) +
                      2.0f * detail_.fractal(x / 14.0f, z / 14.0f, 3);
  float height = mixValue(plain, hills, hillMask);
  // The valley: banks falling to a flat floor just below the water line.
  const float valley = valleyWeight(x, z);
  const float floor = kWaterLevel - 1.5f + 0.8f * detail_.at(x / 12.0f, z / 12.0f);
  height = mixValue(height, floor, smoothStep(0.0f, 1.0f, valley));
  return std::fmin(kGroundHigh - 0.5f, std::fmax(kGroundLow + 0.5f, height));
}

}  // namespace baker
