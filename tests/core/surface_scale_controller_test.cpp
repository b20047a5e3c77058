#include "core/surface_scale_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr SurfaceSize kFullHdSurfaces{1229, 922};
constexpr SurfaceSize kFloor{512, 512};
constexpr double kDisplaySeconds = 1.0 / 60.0;

struct Change {
  double atSeconds = 0.0;
  SurfaceSize size;
};

// Plays frames for durationSeconds, each taking what frameSeconds says for the size of the
// moment and its number; the clock moves on by the frame's time. Returns the changes chosen.
std::vector<Change> play(SurfaceScaleController& controller, double& clockSeconds, double durationSeconds,
                         const std::function<double(SurfaceSize, int)>& frameSeconds) {
  std::vector<Change> changes;
  const double end = clockSeconds + durationSeconds;
  for (int frame = 0; clockSeconds < end; ++frame) {
    const double seconds = frameSeconds(controller.size(), frame);
    clockSeconds += seconds;
    if (controller.frameDone(clockSeconds, seconds)) {
      changes.push_back({clockSeconds, controller.size()});
    }
  }
  return changes;
}

double pixelShare(SurfaceSize size) {
  return static_cast<double>(size.width) * size.height / (static_cast<double>(kFullHdSurfaces.width) * kFullHdSurfaces.height);
}

void expectWithinBoundsAndSpaced(const std::vector<Change>& changes) {
  for (std::size_t n = 0; n < changes.size(); ++n) {
    EXPECT_GE(changes[n].size.width, kFloor.width);
    EXPECT_GE(changes[n].size.height, kFloor.height);
    EXPECT_LE(changes[n].size.width, kFullHdSurfaces.width);
    EXPECT_LE(changes[n].size.height, kFullHdSurfaces.height);
    if (n > 0) {
      EXPECT_GE(changes[n].atSeconds - changes[n - 1].atSeconds, kSecondsBetweenChoices) << "change " << n;
    }
  }
}

class SurfaceScaleControllerTest : public ::testing::Test {
 protected:
  void SetUp() override { controller.begin(kFullHdSurfaces, kFloor, kDisplaySeconds, clock); }
  SurfaceScaleController controller;
  double clock = 0.0;
};

TEST_F(SurfaceScaleControllerTest, steadySlowFramesShrinkToTheFloorInFewStepsAndNoFurther) {
  const auto changes = play(controller, clock, 10.0, [](SurfaceSize, int) { return 0.1; });
  ASSERT_FALSE(changes.empty());
  EXPECT_LE(changes.size(), 2u);
  expectWithinBoundsAndSpaced(changes);
  EXPECT_EQ(controller.size().width, kFloor.width);
  EXPECT_EQ(controller.size().height, kFloor.height);
  // Still too slow at the floor: it aims at 30 frames a second and stays there.
  EXPECT_DOUBLE_EQ(controller.targetFrameSeconds(), kSteadyFrameSeconds);
  EXPECT_TRUE(controller.missesTargetAtFloor());
  EXPECT_NEAR(controller.lastMeasuredFrameSeconds(), 0.1, 1e-9);
}

TEST_F(SurfaceScaleControllerTest, steadyFastFramesKeepTheFullSize) {
  const auto changes = play(controller, clock, 10.0, [](SurfaceSize, int) { return 0.008; });
  EXPECT_TRUE(changes.empty());
  EXPECT_TRUE(controller.atFullSize());
  EXPECT_FALSE(controller.missesTargetAtFloor());
}

TEST_F(SurfaceScaleControllerTest, fastFramesAfterSlowOnesGrowBackToTheFullSizeOneStepAtATime) {
  play(controller, clock, 3.0, [](SurfaceSize, int) { return 0.1; });
  ASSERT_FALSE(controller.atFullSize());
  const auto changes = play(controller, clock, 10.0, [](SurfaceSize, int) { return 0.004; });
  expectWithinBoundsAndSpaced(changes);
  EXPECT_GE(changes.size(), 2u);
  for (std::size_t n = 1; n < changes.size(); ++n) {
    EXPECT_GT(changes[n].size.width, changes[n - 1].size.width);
  }
  EXPECT_TRUE(controller.atFullSize());
  EXPECT_EQ(controller.size().width, kFullHdSurfaces.width);
  EXPECT_EQ(controller.size().height, kFullHdSurfaces.height);
}

TEST_F(SurfaceScaleControllerTest, aSingleSlowFrameChangesNothing) {
  const auto changes =
      play(controller, clock, 10.0, [](SurfaceSize, int frame) { return frame == 200 ? 0.4 : 0.012; });
  EXPECT_TRUE(changes.empty());
  EXPECT_TRUE(controller.atFullSize());
}

TEST_F(SurfaceScaleControllerTest, alternatingFrameTimesSettleWithoutGoingBackAndForth) {
  const auto changes =
      play(controller, clock, 20.0, [](SurfaceSize, int frame) { return frame % 2 == 0 ? 0.020 : 0.050; });
  expectWithinBoundsAndSpaced(changes);
  for (std::size_t n = 1; n < changes.size(); ++n) {
    EXPECT_LT(changes[n].size.width * changes[n].size.height,
              changes[n - 1].size.width * changes[n - 1].size.height)
        << "the size grew again at " << changes[n].atSeconds << " s";
  }
  EXPECT_LE(changes.size(), 2u);
}

// A frame that costs a fixed part (the window's own pixels) and a part that follows the surfaces'
// pixels, as the landscape does at 1920 x 1080 on a slow machine: the floor cannot reach 60 frames
// a second, so the surfaces settle at a size that keeps 30, and stay there, whether the fixed part
// is large or next to nothing (where one step up would be too slow again).
TEST(SurfaceScaleController, aCostFollowingThePixelsSettlesOnASizeThatKeepsThirtyFrames) {
  for (const double fixedSeconds : {0.012, 0.002}) {
    SurfaceScaleController controller;
    double clock = 0.0;
    controller.begin(kFullHdSurfaces, kFloor, kDisplaySeconds, clock);
    const auto frameCost = [fixedSeconds](SurfaceSize size, int) {
      return fixedSeconds + (0.057 - fixedSeconds) * 1.7 * pixelShare(size);
    };
    const auto settling = play(controller, clock, 10.0, frameCost);
    expectWithinBoundsAndSpaced(settling);
    EXPECT_LE(settling.size(), 4u);
    EXPECT_LE(frameCost(controller.size(), 0), kSteadyFrameSeconds);
    EXPECT_FALSE(controller.atFullSize());
    EXPECT_FALSE(controller.missesTargetAtFloor());
    const auto later = play(controller, clock, 20.0, frameCost);
    EXPECT_TRUE(later.empty()) << "fixed part " << fixedSeconds << " s: " << later.size() << " more changes";
  }
}

TEST_F(SurfaceScaleControllerTest, aSlowFrameAfterARestartIsMeasuredAfresh) {
  play(controller, clock, 2.0, [](SurfaceSize, int) { return 0.012; });
  // A jump's frames: what was measured before it is forgotten, the jump's frame is not counted.
  controller.restartMeasuring(clock + 3.0);
  clock += 3.0;
  const auto changes = play(controller, clock, 5.0, [](SurfaceSize, int) { return 0.012; });
  EXPECT_TRUE(changes.empty());
}

// A display that waits for its refresh shows every frame that keeps up as one refresh period, so
// after a stall has shrunk the surfaces nothing measured says that larger ones would keep up. Steps
// up are tried after frames have kept to the display for a while: where the full size keeps up it
// comes back; where it does not, the failed tries grow further apart.
TEST_F(SurfaceScaleControllerTest, framesHeldToTheDisplayTryTheNextSizeUpAndBackOffWhenItFails) {
  const auto heldToDisplay = [](double cost) { return std::max(cost, kDisplaySeconds); };
  auto changes = play(controller, clock, 2.0, [](SurfaceSize, int) { return 0.1; });
  ASSERT_EQ(controller.size().width, kFloor.width) << "a stall of two seconds shrinks to the floor";
  // Cheap drawing: every size keeps up, so the sizes come back one try at a time.
  changes = play(controller, clock, 120.0,
                 [&](SurfaceSize size, int) { return heldToDisplay(0.004 + 0.010 * pixelShare(size)); });
  EXPECT_TRUE(controller.atFullSize());
  expectWithinBoundsAndSpaced(changes);

  // Dearer drawing: only the floor keeps up. Every try falls back, and the tries thin out.
  play(controller, clock, 2.0, [](SurfaceSize, int) { return 0.1; });
  changes = play(controller, clock, 300.0,
                 [&](SurfaceSize size, int) { return heldToDisplay(0.004 + 0.040 * pixelShare(size)); });
  expectWithinBoundsAndSpaced(changes);
  ASSERT_GE(changes.size(), 4u);
  EXPECT_LE(changes.size(), 14u) << "failed tries must grow further apart";
  const double firstGap = changes[2].atSeconds - changes[0].atSeconds;
  const double lastGap = changes.back().atSeconds - changes[changes.size() - 3].atSeconds;
  EXPECT_GT(lastGap, 2.0 * firstGap);
}

TEST(SurfaceScaleController, theComposedFrameAndSmallerOnesNeverChangeTheirSurfaces) {
  for (const SurfaceSize full : {SurfaceSize{512, 512}, SurfaceSize{256, 192}}) {
    SurfaceScaleController controller;
    double clock = 0.0;
    controller.begin(full, kFloor, kDisplaySeconds, clock);
    EXPECT_EQ(controller.levelCount(), 1);
    EXPECT_TRUE(play(controller, clock, 5.0, [](SurfaceSize, int) { return 0.2; }).empty());
    EXPECT_EQ(controller.size().width, full.width);
    EXPECT_EQ(controller.size().height, full.height);
  }
}

TEST(SurfaceScaleController, theTypicalFrameLeavesOutTheSlowestAndFastestQuarters) {
  EXPECT_DOUBLE_EQ(typicalFrameSeconds({0.01, 0.01, 0.01, 0.5}), 0.01);
  EXPECT_DOUBLE_EQ(typicalFrameSeconds({0.02, 0.05, 0.02, 0.05}), 0.035);
  EXPECT_DOUBLE_EQ(typicalFrameSeconds({}), 0.0);
}

}  // namespace
