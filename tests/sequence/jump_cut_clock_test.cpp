#include <gtest/gtest.h>

#include "core/random.h"
#include "sequence/jump_cut_clock.h"

namespace {

constexpr float kStep = 0.1f;

TEST(JumpCutClock, followsPresentationTimeUpTo49SecondsWithoutDrawing) {
  seedRandom(11);
  const int firstValue = nextRandom();
  seedRandom(11);
  JumpCutClock clock;
  EXPECT_EQ(clock.sceneTime(12.5f, kStep), 12.5f);
  EXPECT_EQ(clock.sceneTime(49.0f, kStep), 49.0f);
  EXPECT_EQ(clock.cutCountdown, -1.0f);
  EXPECT_EQ(nextRandom(), firstValue);
}

// Whatever the draws, the countdown is 3 to 6 s, the cut lands 2 to 42 s into the flight, and the
// cut's clock runs on from there at the frame rate.
TEST(JumpCutClock, firstFrameAfter49RestartsTheTimerAndTheCutStartsOneFrameLater) {
  for (unsigned int seed = 1; seed <= 50; ++seed) {
    seedRandom(seed);
    JumpCutClock clock;
    EXPECT_EQ(clock.sceneTime(49.05f, kStep), 49.05f) << seed;
    EXPECT_GE(clock.cutCountdown, 3.0f) << seed;
    EXPECT_LT(clock.cutCountdown, 6.0f) << seed;

    const float cutStart = clock.sceneTime(49.15f, kStep) - kStep;
    EXPECT_GE(cutStart, 2.0f) << seed;
    EXPECT_LT(cutStart, 42.0f) << seed;
    EXPECT_FLOAT_EQ(clock.sceneTime(49.25f, kStep), cutStart + 2.0f * kStep) << seed;
    EXPECT_FLOAT_EQ(clock.sceneTime(49.35f, kStep), cutStart + 3.0f * kStep) << seed;
  }
}

TEST(JumpCutClock, cutRunsUntilItsCountdownPassesZeroThenJumpsAgain) {
  seedRandom(23);
  JumpCutClock clock;
  float time = 49.05f;
  clock.sceneTime(time, kStep);
  int framesInCut = 0;
  for (;;) {
    time += kStep;
    const float sceneTime = clock.sceneTime(time, kStep);
    if (sceneTime == time) {
      break;  // the frame that restarts shows the presentation time
    }
    ++framesInCut;
    ASSERT_LT(framesInCut, 61) << "a cut lasts at most 6 seconds";
  }
  EXPECT_GE(framesInCut, 29);
  EXPECT_GE(clock.cutCountdown, 3.0f);
}

}  // namespace
