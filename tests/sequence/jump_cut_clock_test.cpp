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

TEST(JumpCutClock, firstFrameAfter49RestartsTheTimerAndTheCutStartsOneFrameLater) {
  seedRandom(5);
  const float countdownFraction = randomFraction();
  const float clockFraction = randomFraction();
  seedRandom(5);

  JumpCutClock clock;
  EXPECT_EQ(clock.sceneTime(49.05f, kStep), 49.05f);
  EXPECT_FLOAT_EQ(clock.cutCountdown, (countdownFraction + 1.0f) * 3.0f);
  EXPECT_FLOAT_EQ(clock.cutClock, clockFraction * 40.0f + 2.0f);
  EXPECT_GE(clock.cutCountdown, 3.0f);
  EXPECT_LT(clock.cutCountdown, 6.0f);
  EXPECT_GE(clock.cutClock, 2.0f);
  EXPECT_LT(clock.cutClock, 42.0f);

  const float cutStart = clock.cutClock;
  EXPECT_FLOAT_EQ(clock.sceneTime(49.15f, kStep), cutStart + kStep);
  EXPECT_FLOAT_EQ(clock.sceneTime(49.25f, kStep), cutStart + 2.0f * kStep);
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
