// The baker's pseudo-random sequence: SplitMix64 steps with a 32-bit output.
#include "tools/bake_random.h"

namespace baker {

BakeRandom::BakeRandom(std::uint64_t seed) : state_(seed) {}

std::uint32_t BakeRandom::nextBits() {
  state_ += 0x9E3779B97F4A7C15ull;
  std::uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<std::uint32_t>(z >> 32);
}

float BakeRandom::fraction() {
  // 24 bits fill a float's mantissa exactly, so the result never rounds up to 1.
  return static_cast<float>(nextBits() >> 8) * (1.0f / 16777216.0f);
}

float BakeRandom::range(float low, float high) { return low + (high - low) * fraction(); }

int BakeRandom::below(int count) {
  if (count < 1) {
    return 0;
  }
  return static_cast<int>((static_cast<std::uint64_t>(nextBits()) * static_cast<std::uint64_t>(count)) >> 32);
}

float BakeRandom::gaussian() {
  // Four uniform fractions have variance 4/12; their centred sum times sqrt(3) has variance 1.
  const float sum = fraction() + fraction() + fraction() + fraction();
  return (sum - 2.0f) * 1.7320508f;
}

}  // namespace baker
