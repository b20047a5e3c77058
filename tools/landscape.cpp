// The landscape's height function, built from a plain, a ring of ridged hills and a carved valley.
#include "tools/landscape.h"
#include "tools/shaping.h"

#include <algorithm>
#include <cmath>

#include "sequence/camera.h"
#include "sequence/outdoor_scene.h"

namespace baker {

namespace {

// Where the river runs across z for a given x (east of the plain).
float riverZ(float x) { return 14.0f * std::sin(x * 0.035f) + 6.0f * std::sin(x * 0.09f + 1.0f); }

constexpr float kLakeX = 132.0f;
constexpr float kLakeZ = 4.0f;

// The flight ceiling is kept on a coarse grid and read bilinearly; it rises this much per unit of
// distance from the flight, so the trough under a low pass has gentle banks.
constexpr int kCeilingCells = 128;
constexpr float kCeilingSlope = 0.35f;
constexpr float kCeilingSampleSeconds = 0.1f;

// A smooth minimum of a and b: equal to the smaller one away from where they meet, rounded over a
// band of width k there, so carving leaves no crease.
float smoothMin(float a, float b, float k) {
  const float h = clamp01(0.5f + 0.5f * (b - a) / k);
  return mixValue(b, a, h) - k * h * (1.0f - h);
}

std::vector<float> buildFlightCeiling() {
  PathCamera flight;
  flight.setPaths(kCameraFlightSeconds, kOutdoorCameraPointCount, kOutdoorEyePath, kOutdoorCameraPointCount,
                  kOutdoorTargetPath);
  std::vector<Vector3> eyes;
  for (float t = 0.0f; t <= kCameraFlightSeconds; t += kCeilingSampleSeconds) {
    Vector3 eye;
    flight.eyePath->positionAt(t, eye);
    eyes.push_back(eye);
  }
  const int side = kCeilingCells + 1;
  std::vector<float> ceiling(static_cast<size_t>(side) * side, kGroundHigh);
  for (int row = 0; row < side; ++row) {
    const float z = mixValue(kGroundMin, kGroundMax, static_cast<float>(row) / kCeilingCells);
    for (int column = 0; column < side; ++column) {
      const float x = mixValue(kGroundMin, kGroundMax, static_cast<float>(column) / kCeilingCells);
      float highest = kGroundHigh;
      for (const Vector3& eye : eyes) {
        const float distance = std::hypot(x - eye.x, z - eye.z);
        highest = std::min(highest, eye.y - kCameraClearance + kCeilingSlope * distance);
      }
      ceiling[static_cast<size_t>(row) * side + column] = highest;
    }
  }
  return ceiling;
}

}  // namespace

Landscape::Landscape()
    : shape_(0x6c616e64ull, 256), detail_(0x64657461ull, 256), ceiling_(buildFlightCeiling()) {}

float Landscape::flightCeiling(float x, float z) const {
  const float cellX = clamp01((x - kGroundMin) / (kGroundMax - kGroundMin)) * kCeilingCells;
  const float cellZ = clamp01((z - kGroundMin) / (kGroundMax - kGroundMin)) * kCeilingCells;
  const int column = std::min(static_cast<int>(cellX), kCeilingCells - 1);
  const int row = std::min(static_cast<int>(cellZ), kCeilingCells - 1);
  const float fx = cellX - column;
  const float fz = cellZ - row;
  const int side = kCeilingCells + 1;
  const auto at = [&](int c, int r) { return ceiling_[static_cast<size_t>(r) * side + c]; };
  const float near = mixValue(at(column, row), at(column + 1, row), fx);
  const float far = mixValue(at(column, row + 1), at(column + 1, row + 1), fx);
  return mixValue(near, far, fz);
}

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
  height = smoothMin(height, flightCeiling(x, z), 2.0f);
  return std::fmin(kGroundHigh - 0.5f, std::fmax(kGroundLow + 0.5f, height));
}

}  // namespace baker
