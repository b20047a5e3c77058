#include "sequence/jump_cut_clock.h"

#include "core/random.h"

float JumpCutClock::sceneTime(float timeSeconds, float dtSeconds) {
  if (timeSeconds <= kJumpCutsStartSeconds) {
    return timeSeconds;
  }
  cutCountdown -= dtSeconds;
  if (cutCountdown < 0.0f) {
    cutCountdown = (randomFraction() + 1.0f) * 3.0f;
    cutClock = randomFraction() * 40.0f + 2.0f;
    return timeSeconds;
  }
  cutClock += dtSeconds;
  return cutClock;
}

JumpCutClock& jumpCutClock() {
  static JumpCutClock clock;
  return clock;
}
