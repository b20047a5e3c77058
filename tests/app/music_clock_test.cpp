#include "app/music_clock.h"

#include <gtest/gtest.h>

#include "platform/mixer.h"

namespace {

// A wall clock the test moves by hand, in milliseconds.
int64_t gWallMs = 0;
int64_t wallCounter() { return gWallMs; }
int64_t wallFrequency() { return 1000; }

// The music's heard position as a fake mixer reports it; negative: no music playing.
double gHeard = -1.0;
bool fakeHeard(double& seconds) {
  if (gHeard < 0.0) {
    return false;
  }
  seconds = gHeard;
  return true;
}

FrameTimer startedTimer() {
  gWallMs = 10000;
  FrameTimer timer(TickSource{&wallCounter, &wallFrequency});
  timer.reset();
  return timer;
}

TEST(MusicClock, whileTheMusicPlaysTimeIsWhatWasHeardWhateverTheWallClockSays) {
  FrameTimer timer = startedTimer();
  gHeard = 0.0;
  // A stalled frame: 300 ms of wall clock, but the sound output only got 20 ms further.
  gWallMs += 300;
  gHeard = 0.020;
  sampleClock(timer, &fakeHeard);
  EXPECT_NEAR(timer.elapsed, 0.020f, 1e-6f);
  EXPECT_NEAR(timer.delta, 0.020f, 1e-6f);

  // An underrun the other way: the music ran ahead of the frames.
  gWallMs += 16;
  gHeard = 0.5;
  sampleClock(timer, &fakeHeard);
  EXPECT_NEAR(timer.elapsed, 0.5f, 1e-6f);
  EXPECT_NEAR(timer.delta, 0.48f, 1e-6f);

  // The heard position's estimate went back a little: no time passes, never a negative frame.
  gWallMs += 16;
  gHeard = 0.497;
  sampleClock(timer, &fakeHeard);
  EXPECT_NEAR(timer.elapsed, 0.497f, 1e-6f);
  EXPECT_EQ(timer.delta, 0.0f);
}

TEST(MusicClock, withoutMusicTheTimerRunsOnFromWhereTheMusicLeftIt) {
  FrameTimer timer = startedTimer();
  gHeard = -1.0;
  gWallMs += 40;
  sampleClock(timer, &fakeHeard);
  EXPECT_NEAR(timer.elapsed, 0.040f, 1e-6f);
  sampleClock(timer, HeardPosition());
  EXPECT_NEAR(timer.elapsed, 0.040f, 1e-6f);

  gHeard = 2.0;
  gWallMs += 10;
  sampleClock(timer, &fakeHeard);
  EXPECT_NEAR(timer.elapsed, 2.0f, 1e-6f);
  // The track ends: the wall clock carries on from the music's last position, without a jump.
  gHeard = -1.0;
  gWallMs += 25;
  sampleClock(timer, &fakeHeard);
  EXPECT_NEAR(timer.elapsed, 2.025f, 1e-6f);
  EXPECT_NEAR(timer.delta, 0.025f, 1e-6f);
}

TEST(MusicClock, heardPositionAllowsForTheDeviceBufferAndDrainsItBetweenMixes) {
  const int rate = 44100;
  const int buffer = 2048;
  // Nothing mixed yet: the start frame itself.
  EXPECT_DOUBLE_EQ(platform::heardSeconds(0, 44100, buffer, rate, 0.5), 1.0);
  // Ten buffers handed over: the last is still waiting at the moment of the mix ...
  EXPECT_DOUBLE_EQ(platform::heardSeconds(10 * buffer, 0, buffer, rate, 0.0), 9.0 * buffer / rate);
  // ... and drains with the clock, but never past what was handed over.
  EXPECT_DOUBLE_EQ(platform::heardSeconds(10 * buffer, 0, buffer, rate, 1024.0 / rate), (9.0 * buffer + 1024) / rate);
  EXPECT_DOUBLE_EQ(platform::heardSeconds(10 * buffer, 0, buffer, rate, 10.0), 10.0 * buffer / rate);
  // Less than a buffer handed over so far.
  EXPECT_DOUBLE_EQ(platform::heardSeconds(1000, 0, buffer, rate, 0.0), 0.0);
  EXPECT_DOUBLE_EQ(platform::heardSeconds(10, 0, buffer, 0, 0.0), 0.0);
}

TEST(MusicClock, noTrackedMusicWithoutAnOpenMixer) {
  double seconds = -1.0;
  EXPECT_FALSE(platform::trackedPosition(seconds));
  platform::pauseTracked(true);
  platform::stopTracked();
  EXPECT_FALSE(platform::trackedPosition(seconds));
}

}  // namespace
