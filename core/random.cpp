#include "core/random.h"

#include <cstdint>

namespace {

uint32_t gRandomState = 1;

}  // namespace

void seedRandom(unsigned int seed) { gRandomState = seed; }

int nextRandom() {
  gRandomState = gRandomState * 214013u + 2531011u;
  return static_cast<int>((gRandomState >> 16) & 0x7fffu);
}

unsigned int randomState() { return gRandomState; }

void setRandomState(unsigned int state) { gRandomState = state; }

float randomFraction() { return static_cast<float>((nextRandom() % 10000) * 0.0001); }
