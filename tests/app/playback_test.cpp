#include "app/playback.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include "app/frame.h"
#include "tests/support/gl_test_context.h"

namespace {

// Counts what the frames ask of it; its pictures take 16 frames to settle, like the titles'.
class CountingScene : public Scene {
 public:
  void advance(float timeSeconds, float) override {
    ++advances;
    lastAdvanceSeconds = timeSeconds;
  }
  void draw(float, float) override { ++draws; }
  void drawFeedback(float, float) override { ++feedbackDraws; }
  int framesToSettle(float) const override { return 16; }

  int advances = 0;
  int draws = 0;
  int feedbackDraws = 0;
  float lastAdvanceSeconds = -1.0f;
};

class FastForward : public testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_GL_CONTEXT();
    scene_ = new CountingScene();
    sceneList().append(scene_);
    frameTimer().setTickSource(steadyClockTicks());
    frameTimer().reset();
    playback().fixedStepSeconds = 0.0f;
  }
  void TearDown() override {
    sceneList().releaseAll();
    playback() = PlaybackState();
  }
  CountingScene* scene_ = nullptr;  // the list's
};

// Following the clock, a jump plays 1/60 s frames up to the target without drawing them, but for
// the last ones the scenes need to settle, and the clock then stands at the target.
TEST_F(FastForward, followingTheClockOnlyTheSettlingFramesAreDrawnAndTheClockLandsOnTheTarget) {
  const int frames = fastForward(10.0f);
  EXPECT_EQ(frames, 600);
  EXPECT_EQ(scene_->advances, 600);
  EXPECT_GE(scene_->draws, 16);
  EXPECT_LE(scene_->draws, 18);
  EXPECT_EQ(scene_->feedbackDraws, 0);
  EXPECT_NEAR(frameTimer().elapsed, 10.0f, 1.0f / 60.0f);
  EXPECT_GE(frameTimer().elapsed, 10.0f - 1e-4f);
  EXPECT_NEAR(scene_->lastAdvanceSeconds, 10.0f - 1.0f / 60.0f, 1e-3f);
}

// With a fixed step every skipped frame feeds the pictures later ones are made from.
TEST_F(FastForward, withAFixedStepEverySkippedFrameDrawsItsFeedback) {
  playback().fixedStepSeconds = 0.1f;
  frameTimer().setTickSource(fixedStepTicks(0.1));
  frameTimer().reset();
  const int frames = fastForward(3.0f);
  EXPECT_EQ(frames, 30);
  EXPECT_EQ(scene_->draws + scene_->feedbackDraws, 30);
  EXPECT_GE(scene_->draws, 16);
}

TEST(FrameCap, aFrameCountsAtMostATenthOfASecond) {
  FrameTimer timer;
  timer.delta = 0.05f;
  EXPECT_EQ(clampedFrameDelta(timer), 0.05f);
  timer.delta = 0.1f;
  EXPECT_EQ(clampedFrameDelta(timer), 0.1f);
  timer.delta = 2.5f;
  EXPECT_EQ(clampedFrameDelta(timer), kMaxFrameDeltaSeconds);
}

}  // namespace
