#include "app/music_clock.h"

void sampleClock(FrameTimer& timer, const HeardPosition& heard) {
  const float before = timer.elapsed;
  timer.update();
  double seconds = 0.0;
  if (!heard || !heard(seconds) || !(seconds >= 0.0)) {
    return;
  }
  // Rebasing keeps the timer on the music's time, so it goes on from there if the music stops. The
  // heard position is an estimate that can fall back a little; the presentation's time never does.
  const double notBefore = static_cast<double>(before);
  timer.rebase(timer.ticksOf(seconds > notBefore ? seconds : notBefore));
  timer.delta = timer.elapsed > before ? timer.elapsed - before : 0.0f;
}
