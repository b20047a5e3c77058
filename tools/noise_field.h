// Smooth 2D gradient noise for the baked pictures and terrain, optionally tiling, so textures
// can repeat without seams.
#pragma once

#include <array>
#include <cstdint>

namespace baker {

class NoiseField {
 public:
  // The lattice repeats every `periodCells` cells on both axes (a power of two up to 256), so a
  // picture that spans whole periods tiles.
  NoiseField(std::uint64_t seed, int periodCells);

  float at(float x, float y) const;  // about -1 .. 1, smooth, 0 at lattice points
  // Sum of `octaves` layers, each at twice the frequency and `gain` times the amplitude of the
  // one before, scaled back to about -1 .. 1.
  float fractal(float x, float y, int octaves, float gain = 0.5f) const;
  // Like fractal, but every layer folded to 1 - |n|: sharp crests, for ridges and cracks.
  float ridged(float x, float y, int octaves, float gain = 0.5f) const;

 private:
  float gradientDot(int cellX, int cellY, float dx, float dy) const;
  float layered(float x, float y, int octaves, float gain, bool ridged) const;

  int periodMask_;
  std::array<std::uint8_t, 512> permutation_;
};

}  // namespace baker
