// The one process-wide pseudo-random sequence: every draw in the program advances it.
#pragma once

constexpr int kRandomMax = 32767;
// The largest seed with a sequence of its own: the values are bits 16 to 30 of the state, which
// bit 31 never reaches, so seeds 2^31 apart draw the same values.
constexpr unsigned int kLargestSeed = 0x7fffffffu;

void seedRandom(unsigned int seed);
// The next value of the sequence, 0 to 32767 (the classic linear congruential generator, so a
// seed gives the same sequence on every machine).
int nextRandom();
// (r mod 10000) × 0.0001 for the next value r: a fraction in [0, 0.9999].
float randomFraction();
// Where the sequence stands, so that a run can go back to it and draw the same values again.
unsigned int randomState();
void setRandomState(unsigned int state);
