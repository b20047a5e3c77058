#include <gtest/gtest.h>

#include <cmath>

#include "app/presentation.h"
#include "app/program_run.h"
#include "core/input_state.h"
#include "sequence/camera.h"
#include "tests/support/gl_test_context.h"

namespace {

class RigSteering : public testing::Test {
 protected:
  // Shown frames are drawn as well: into the shared test context, with no scenes.
  void SetUp() override {
    REQUIRE_GL_CONTEXT();
    input_.clearKeys();
    input_.leftButton = 0;
    input_.rightButton = 0;
    programRun().presentation.targetLift = 0.0f;
    // place() ends with a 0.1 s step at damping 10, which discards any velocity an earlier
    // test left in the global rig.
    rigCamera().place(5.0f, 5.0f, 0.0f, 7.0f, 0.0f, 0.0f);
  }
  void TearDown() override {
    input_.clearKeys();
    input_.leftButton = 0;
    input_.rightButton = 0;
    programRun().presentation.targetLift = 0.0f;
  }
  InputState& input_ = inputState();
  Drawable drawable_{800, 600, SurfaceSize{512, 512}};
};

TEST_F(RigSteering, pageUpAndPageDownScaleTheEyeDistanceEveryFrame) {
  input_.keyState[kKeyPageUp] = 1;
  programRun().presentation.frame(FrameKind::Shown, 0.0f, 0.016f, drawable_);
  programRun().presentation.frame(FrameKind::Shown, 0.0f, 0.016f, drawable_);
  EXPECT_NEAR(rigCamera().eyeDistance(), 5.0f * 1.1f * 1.1f, 1e-4f);

  input_.keyState[kKeyPageDown] = 1;
  programRun().presentation.frame(FrameKind::Shown, 0.0f, 0.016f, drawable_);
  EXPECT_NEAR(rigCamera().eyeDistance(), 5.0f * 1.1f * 1.1f * 1.1f * 0.91f, 1e-4f);

  // Held for a while, the eye itself moves away from the target.
  input_.keyState[kKeyPageDown] = 0;
  const Vector3 before = rigCamera().eye - rigCamera().target;
  for (int frame = 0; frame < 20; ++frame) {
    programRun().presentation.frame(FrameKind::Shown, 0.0f, 0.02f, drawable_);
  }
  const Vector3 after = rigCamera().eye - rigCamera().target;
  EXPECT_GT(std::hypot(after.x, after.z), std::hypot(before.x, before.z) + 1.0f);
}

TEST_F(RigSteering, targetLiftRaisesTheTargetAfterTheRigStep) {
  programRun().presentation.targetLift = 3.0f;
  programRun().presentation.frame(FrameKind::Shown, 0.0f, 0.016f, drawable_);
  EXPECT_NEAR(rigCamera().target.y, rigCamera().rig.mass(1).position.y + 3.0f, 1e-6f);
}

TEST_F(RigSteering, rightButtonOrbitsAndLowersAndWaitsForAWindowSize) {
  input_.rightButton = 1;
  input_.mouseX = 800;
  input_.mouseY = 600;
  const float height = rigCamera().height;
  programRun().presentation.frame(FrameKind::Shown, 0.0f, 0.1f, drawable_);
  EXPECT_NEAR(rigCamera().height, height - 0.5f * 0.1f * 40.0f, 1e-5f);

  // Before the first size message there is no width to divide by: the rig stays finite.
  programRun().presentation.frame(FrameKind::Shown, 0.0f, 0.1f, Drawable{});
  EXPECT_TRUE(std::isfinite(rigCamera().eye.x));
  EXPECT_TRUE(std::isfinite(rigCamera().height));
}

TEST_F(RigSteering, leftButtonWithSpacePansFasterSideways) {
  // The anchor is itself on a spring; a short frame measured against an unsteered one from the
  // same place leaves mostly the pan.
  const auto anchorAfterOneFrame = [this](uint8_t button, uint8_t space) {
    rigCamera().place(5.0f, 5.0f, 0.0f, 7.0f, 0.0f, 0.0f);
    input_.leftButton = button;
    input_.keyState[kKeySpace] = space;
    input_.mouseX = 800;
    input_.mouseY = 300;
    programRun().presentation.frame(FrameKind::Shown, 0.0f, 0.01f, drawable_);
    return rigCamera().rig.mass(0).position.x;
  };
  const float still = anchorAfterOneFrame(0, 0);
  const float slow = anchorAfterOneFrame(1, 0) - still;
  const float fast = anchorAfterOneFrame(1, 1) - still;
  EXPECT_NEAR(slow, 0.5f * 0.01f * 30.0f, 0.01f);
  EXPECT_NEAR(fast / slow, 11.0f, 0.2f);
}

// A jump plays its frames without showing them: keys held meanwhile do not act in each of them.
TEST_F(RigSteering, framesPlayedWithoutShowingIgnoreHeldKeysAndButtons) {
  input_.keyState[kKeyPageUp] = 1;
  input_.rightButton = 1;
  input_.mouseX = 0;
  const Vector3 eyeBefore = rigCamera().eye;
  for (int frame = 0; frame < 3000; ++frame) {
    programRun().presentation.frame(FrameKind::Hidden, 0.0f, 0.016f, drawable_);
  }
  EXPECT_FLOAT_EQ(rigCamera().eyeDistance(), 5.0f);
  EXPECT_TRUE(std::isfinite(rigCamera().eye.x) && std::isfinite(rigCamera().eye.y) && std::isfinite(rigCamera().eye.z));
  EXPECT_NEAR(rigCamera().eye.z, eyeBefore.z, 1.0f);
}

// Held for as long as anyone likes, Page Up and Page Down stop at the rig's farthest and nearest
// eye: the eye stays finite and the lighting never sees an infinite or folded rig.
TEST_F(RigSteering, eyeDistanceStaysWithinItsRangeHoweverLongAKeyIsHeld) {
  input_.keyState[kKeyPageUp] = 1;
  for (int frame = 0; frame < 2000; ++frame) {
    programRun().presentation.frame(FrameKind::Shown, 0.0f, 0.016f, drawable_);
  }
  EXPECT_EQ(rigCamera().eyeDistance(), kFarthestEyeDistance);
  EXPECT_TRUE(std::isfinite(rigCamera().eye.x) && std::isfinite(rigCamera().eye.z));
  input_.keyState[kKeyPageUp] = 0;
  input_.keyState[kKeyPageDown] = 1;
  for (int frame = 0; frame < 2000; ++frame) {
    programRun().presentation.frame(FrameKind::Shown, 0.0f, 0.016f, drawable_);
  }
  EXPECT_EQ(rigCamera().eyeDistance(), kNearestEyeDistance);
}

}  // namespace

