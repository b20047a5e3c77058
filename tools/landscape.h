// The outdoor scene's landscape as a height function over the ground plane: a gentle plain in
// the middle (where the palms, windmills and the launcher stand), hills rising toward the edges,
// and a river valley opening to the east (+x), where the missiles come from, ending in a lake.
#pragma once

#include <vector>

#include "tools/noise_field.h"

namespace baker {

// The ground box the terrain is built over, in world units: heights map black to kGroundLow and
// white to kGroundHigh.
constexpr float kGroundMin = -200.0f;
constexpr float kGroundMax = 200.0f;
constexpr float kGroundLow = -20.0f;
constexpr float kGroundHigh = 44.0f;
constexpr float kWaterLevel = -8.0f;
constexpr float kCameraClearance = 3.5f;

class Landscape {
 public:
  Landscape();

  float heightAt(float x, float z) const;  // world units, kGroundLow .. kGroundHigh
  float valleyWeight(float x, float z) const;  // 1 on the valley floor, 0 outside it
  // The highest the ground may be at (x, z) so that the outdoor camera flight, which dips low
  // over the plain, stays kCameraClearance above it: a trough that follows the flight.
  float flightCeiling(float x, float z) const;

 private:
  NoiseField shape_;
  NoiseField detail_;
  std::vector<float> ceiling_;  // kCeilingCells + 1 squared, over the ground box
};

}  // namespace baker
