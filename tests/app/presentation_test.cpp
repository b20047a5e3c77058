#include "app/presentation.h"
#include "app/program_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/input_state.h"
#include "core/random.h"
#include "gpu/texture_manager.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/scene_frames.h"
#include "tests/support/scoped_data_folder.h"
#include "world/model_3ds_reader.h"

namespace {

// Counts what the frames ask of it; its pictures take 16 frames to settle, like the titles'.
class CountingScene : public Scene {
 public:
  void advance(const FrameContext& frame) override {
    ++advances;
    lastAdvanceSeconds = frame.timeSeconds;
  }
  void draw(const FrameContext&) override { ++draws; }
  void drawFeedback(const FrameContext&) override { ++feedbackDraws; }
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
    show_.scenes.append(scene_);
    show_.clock.setTickSource(steadyClockTicks());
    show_.clock.reset();
  }
  Presentation show_;
  CountingScene* scene_ = nullptr;  // the list's
  const Drawable drawable_{800, 600, SurfaceSize{512, 512}};
};

// Following the clock, a jump plays 1/60 s frames up to the target without drawing them, but for
// the last ones the scenes need to settle, and the clock then stands at the target.
TEST_F(FastForward, followingTheClockOnlyTheSettlingFramesAreDrawnAndTheClockLandsOnTheTarget) {
  const int frames = show_.fastForward(10.0f, drawable_);
  EXPECT_EQ(frames, 600);
  EXPECT_EQ(scene_->advances, 600);
  EXPECT_GE(scene_->draws, 16);
  EXPECT_LE(scene_->draws, 18);
  EXPECT_EQ(scene_->feedbackDraws, 0);
  EXPECT_NEAR(show_.clock.elapsed, 10.0f, 1.0f / 60.0f);
  EXPECT_GE(show_.clock.elapsed, 10.0f - 1e-4f);
  EXPECT_NEAR(scene_->lastAdvanceSeconds, 10.0f - 1.0f / 60.0f, 1e-3f);
}

// With a fixed step every skipped frame feeds the pictures later ones are made from.
TEST_F(FastForward, withAFixedStepEverySkippedFrameDrawsItsFeedback) {
  show_.fixedStepSeconds = 0.1f;
  show_.clock.setTickSource(fixedStepTicks(0.1));
  show_.clock.reset();
  const int frames = show_.fastForward(3.0f, drawable_);
  EXPECT_EQ(frames, 30);
  EXPECT_EQ(scene_->draws + scene_->feedbackDraws, 30);
  EXPECT_GE(scene_->draws, 16);
}

// Every frame takes a little while, so that a long jump takes over half a second on any machine.
class SlowScene : public Scene {
 public:
  void advance(const FrameContext&) override { std::this_thread::sleep_for(std::chrono::microseconds(400)); }
};

// A long jump tells how far it has come every half second.
TEST_F(FastForward, aLongJumpReportsItsProgress) {
  std::vector<float> shares;
  show_.reportJumpProgress = [&shares](float share) { shares.push_back(share); };
  show_.scenes.append(new SlowScene());
  show_.fastForward(30.0f, drawable_);
  ASSERT_FALSE(shares.empty());
  EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
  EXPECT_GT(shares.front(), 0.0f);
  EXPECT_LT(shares.back(), 1.0f);
}

// A jump ahead that reaches the end ends the run at once, however often it is asked for, and
// never plays the presentation again from the start; a jump back goes on from where it lands.
TEST_F(FastForward, aJumpAheadToTheEndEndsTheRunWithoutPlayingAnyFrame) {
  show_.fixedStepSeconds = 0.1f;
  show_.clock.setTickSource(fixedStepTicks(0.1));
  show_.clock.reset();
  show_.endSeconds = 12.0f;
  show_.keepStart();
  show_.seek(10.0f, drawable_);
  const int advancesBefore = scene_->advances;
  for (int press = 0; press < 3000; ++press) {
    show_.apply(PlaybackRequest::JumpAhead, drawable_);
  }
  EXPECT_TRUE(show_.pastEnd());
  EXPECT_EQ(scene_->advances, advancesBefore);
  EXPECT_NEAR(show_.clock.elapsed, 10.0f, 1e-3f);
  show_.apply(PlaybackRequest::JumpBack, drawable_);
  EXPECT_FALSE(show_.pastEnd());
  EXPECT_NEAR(show_.clock.elapsed, 5.0f, 1e-3f);
}

TEST(FrameCap, aFrameCountsAtMostATenthOfASecond) {
  Presentation show;
  show.clock.delta = 0.05f;
  EXPECT_EQ(show.frameDelta(), 0.05f);
  show.clock.delta = 0.1f;
  EXPECT_EQ(show.frameDelta(), 0.1f);
  show.clock.delta = 2.5f;
  EXPECT_EQ(show.frameDelta(), kMaxFrameDeltaSeconds);
}

// The whole presentation loaded from the runnable folder's data, at a small drawable so that the
// frames a jump draws are cheap. The checks compare the state the frames change, never pixels.
class PresentationState : public testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_GL_CONTEXT();
    dataFolder_ = std::make_unique<ScopedDataFolder>(std::string(RUN_DIR) + "/data/");
    seedRandom(7);
    composePresentation(show(), drawable_);
    show().keepStart();
  }
  void TearDown() override {
    show().scenes.releaseAll();
    renderTarget().releaseTargets();
    dataFolder_.reset();
  }

  static Presentation& show() { return programRun().presentation; }

  // Times to stop at: just around the missiles' start, the jump cuts, the change of scene and
  // the end, and some anywhere.
  static std::vector<float> stopTimes() {
    std::vector<float> times = {0.05f, 20.3f, 24.0f, 49.2f, 61.0f, 89.95f, 90.05f, 97.3f, 121.6f, 153.9f};
    std::mt19937 pick(11);
    std::uniform_real_distribution<float> anywhere(0.0f, kPresentationEndSeconds);
    for (int n = 0; n < 6; ++n) {
      times.push_back(anywhere(pick));
    }
    std::sort(times.begin(), times.end());
    return times;
  }

  PrivateWorkingFolder folder_;
  std::unique_ptr<ScopedDataFolder> dataFolder_;
  // Small, so that the frames a jump draws are cheap.
  const Drawable drawable_ = fullSizeDrawable(160, 120);
};

// With a fixed step, a run from 0 that stops at t and a jump back to t from further on (a rewind,
// then frames played without showing, some of them drawn) leave the same state.
TEST_F(PresentationState, aJumpBackWithAFixedStepLandsOnTheStateOfARunFromTheStart) {
  show().fixedStepSeconds = 0.1f;
  show().clock.setTickSource(fixedStepTicks(0.1));
  show().clock.reset();
  const std::vector<float> times = stopTimes();
  std::vector<StateRecord> straight;
  for (const float stop : times) {
    while (show().clock.elapsed < stop) {
      show().frame(FrameKind::Hidden, show().clock.elapsed, show().frameDelta(), drawable_);
      show().clock.update();
    }
    straight.push_back(show().captureState());
  }
  EXPECT_FALSE(straight.front() == straight.back());
  // From the latest stop backwards, so that every jump goes back.
  for (std::size_t n = times.size(); n-- > 0;) {
    show().seek(times[n], drawable_);
    EXPECT_TRUE(show().captureState() == straight[n]) << "at " << times[n] << " s";
  }
}

// Following the clock the steps are uneven. Read back at any moment, the state plays on exactly as
// it did; and a rewind replays the same steps into the same state.
TEST_F(PresentationState, aStateReadBackPlaysOnAsItDidWithUnevenSteps) {
  std::mt19937 pick(5);
  std::uniform_real_distribution<float> clockLike(0.008f, 0.034f);
  std::vector<float> steps;
  for (float time = 0.0f; time < kPresentationEndSeconds; time += steps.back()) {
    steps.push_back(clockLike(pick));
  }
  const auto playSteps = [this, &steps](std::size_t from, std::size_t to, float& time) {
    for (std::size_t n = from; n < to; ++n) {
      show().frame(FrameKind::Hidden, time, steps[n], drawable_);
      time += steps[n];
    }
  };
  const std::vector<float> times = stopTimes();
  std::vector<StateRecord> straight;
  std::vector<std::size_t> stopSteps;
  float time = 0.0f;
  std::size_t step = 0;
  for (const float stop : times) {
    const float before = time;
    std::size_t until = step;
    for (float ahead = before; ahead < stop && until < steps.size(); ahead += steps[until++]) {
    }
    playSteps(step, until, time);
    step = until;
    stopSteps.push_back(step);
    const StateRecord here = show().captureState();
    straight.push_back(here);
    // Two seconds on, back, and the same two seconds again.
    const std::size_t later = std::min(steps.size(), step + 120);
    float onward = time;
    playSteps(step, later, onward);
    const StateRecord ahead = show().captureState();
    show().restoreState(here);
    ASSERT_TRUE(show().captureState() == here) << "at " << stop << " s";
    onward = time;
    playSteps(step, later, onward);
    EXPECT_TRUE(show().captureState() == ahead) << "from " << stop << " s";
    show().restoreState(here);
  }
  for (std::size_t n = times.size(); n-- > 0;) {
    show().rewind();
    float replayed = 0.0f;
    playSteps(0, stopSteps[n], replayed);
    EXPECT_TRUE(show().captureState() == straight[n]) << "at " << times[n] << " s";
  }
}

}  // namespace
