#include "app/music_clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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

  // The heard position's estimate went back a little: the time holds, never a negative frame.
  gWallMs += 16;
  gHeard = 0.497;
  sampleClock(timer, &fakeHeard);
  EXPECT_NEAR(timer.elapsed, 0.5f, 1e-6f);
  EXPECT_EQ(timer.delta, 0.0f);
  // And goes on once the music is past it.
  gWallMs += 16;
  gHeard = 0.52;
  sampleClock(timer, &fakeHeard);
  EXPECT_NEAR(timer.elapsed, 0.52f, 1e-6f);
  EXPECT_NEAR(timer.delta, 0.02f, 1e-6f);
}

// The old tear: the clock read before the counts, and a mix landing between the two reads. The
// clock is then earlier than the mix; the newest buffer counts as not yet draining, instead of as
// drained for some 584,000 years, which put the time a whole buffer ahead for one frame.
TEST(MusicClock, aMixLandingBetweenTheReadsDoesNotPutTheTimeAhead) {
  const int rate = 44100;
  const int buffer = 2048;
  platform::MixCounts counts;
  counts.recordMix(10 * buffer, 5000);
  const uint64_t clockReadFirst = 5100;
  counts.recordMix(buffer, 5200);
  const platform::MixCounts::Snapshot snapshot = counts.read();
  const double sinceMix = platform::secondsSinceMix(snapshot.lastMixCounter, clockReadFirst, 1000);
  EXPECT_EQ(sinceMix, 0.0);
  EXPECT_DOUBLE_EQ(platform::heardSeconds(snapshot.mixedFrames, 0, buffer, rate, sinceMix), 10.0 * buffer / rate);
  EXPECT_DOUBLE_EQ(platform::secondsSinceMix(5200, 5300, 1000), 0.1);
  EXPECT_EQ(platform::secondsSinceMix(0, 5300, 1000), 0.0);
}

// A mixing thread records mixes as fast as it can while the frame loop reads: every read is a pair
// from one mix (the test's mixes hand over 100 frames per counter step).
TEST(MusicClock, readsNeverPairTheCountOfOneMixWithTheTimeOfAnother) {
  platform::MixCounts counts;
  std::atomic<bool> done{false};
  std::thread mixing([&] {
    for (uint64_t mix = 1; mix <= 200000; ++mix) {
      counts.recordMix(100, mix);
    }
    done = true;
  });
  long torn = 0;
  long reads = 0;
  while (!done) {
    const platform::MixCounts::Snapshot snapshot = counts.read();
    torn += snapshot.mixedFrames != snapshot.lastMixCounter * 100 ? 1 : 0;
    ++reads;
  }
  mixing.join();
  EXPECT_EQ(torn, 0) << "of " << reads << " reads";
  EXPECT_EQ(counts.read().mixedFrames, 200000u * 100u);
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
