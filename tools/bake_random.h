// The baker's own pseudo-random sequence: a fixed seed gives the same numbers on every run and
// machine, and no draw here disturbs the program's process-wide sequence.
#pragma once

#include <cstdint>

namespace baker {

class BakeRandom {
 public:
  explicit BakeRandom(std::uint64_t seed);

  std::uint32_t nextBits();  // 32 uniformly distributed bits
  float fraction();          // in [0, 1)
  float range(float low, float high);  // in [low, high)
  int below(int count);      // in [0, count); 0 when count < 1
  float gaussian();          // mean 0, deviation 1 (sum of four fractions, rescaled)

 private:
  std::uint64_t state_;
};

}  // namespace baker
