#include <gtest/gtest.h>

#include "core/frame_timer.h"

namespace {

int64_t gTicks = 0;
int gFrequencyQueries = 0;

int64_t fakeCounter() { return gTicks; }

int64_t fakeFrequency() {
  ++gFrequencyQueries;
  return 1000;
}

class FrameTimerTest : public testing::Test {
 protected:
  void SetUp() override {
    gTicks = 5000;
    gFrequencyQueries = 0;
    source.counter = &fakeCounter;
    source.frequency = &fakeFrequency;
  }
  TickSource source;
};

TEST_F(FrameTimerTest, resetStartsAtZeroAndAsksFrequencyOnce) {
  FrameTimer timer(source);
  timer.reset();
  EXPECT_EQ(timer.elapsed, 0.0f);
  EXPECT_EQ(timer.delta, 0.0f);
  gTicks += 250;
  timer.update();
  timer.reset();
  EXPECT_EQ(timer.elapsed, 0.0f);
  EXPECT_EQ(gFrequencyQueries, 1);
  EXPECT_EQ(timer.startCount, 5250);
}

TEST_F(FrameTimerTest, elapsedCountsFromResetAndDeltaBetweenUpdates) {
  FrameTimer timer(source);
  timer.reset();
  gTicks += 100;
  timer.update();
  EXPECT_FLOAT_EQ(timer.delta, 0.1f);
  EXPECT_FLOAT_EQ(timer.elapsed, 0.1f);
  timer.update();
  EXPECT_EQ(timer.delta, 0.0f);
  EXPECT_FLOAT_EQ(timer.elapsed, 0.1f);
  gTicks += 2000;
  timer.update();
  EXPECT_FLOAT_EQ(timer.delta, 2.0f);  // the timer itself never clamps
  EXPECT_FLOAT_EQ(timer.elapsed, 2.1f);
}

TEST_F(FrameTimerTest, longRunsDoNotAccumulateRounding) {
  FrameTimer timer(source);
  timer.reset();
  // A million one-tick frames: elapsed is taken from the reset each time, never summed.
  for (int frame = 0; frame < 1000000; ++frame) {
    gTicks += 1;
    timer.update();
  }
  EXPECT_FLOAT_EQ(timer.elapsed, 1000.0f);
}

}  // namespace

namespace {

TEST(FixedStepTicks, presentationTimeFollowsTheFrameCount) {
  FrameTimer timer;
  timer.setTickSource(fixedStepTicks(0.04));
  timer.reset();
  for (int frame = 0; frame < 250; ++frame) {
    timer.update();
    EXPECT_FLOAT_EQ(timer.delta, 0.04f);
  }
  EXPECT_FLOAT_EQ(timer.elapsed, 10.0f);
}

}  // namespace

namespace {

// Counted in whole frames, the time of frame k is k / rate to the last bit, where a step in
// nanoseconds (1/30 s is not a whole number of them) drifts by a little every frame.
TEST(FrameCountTicks, frameKIsAtExactlyKOverTheRate) {
  FrameTimer timer;
  timer.setTickSource(frameCountTicks(30));
  timer.reset();
  for (int frame = 1; frame <= 9240; ++frame) {
    timer.update();
    ASSERT_EQ(timer.elapsed, static_cast<float>(frame / 30.0)) << "frame " << frame;
  }
  EXPECT_EQ(timer.elapsed, 308.0f);
  EXPECT_FLOAT_EQ(timer.delta, 1.0f / 30.0f);
}

}  // namespace
