#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>

#include "sequence/camera.h"
#include "tests/support/gl_test_context.h"

namespace {

constexpr float kPi = 3.14159265f;

RigCamera placedRig() {
  RigCamera rig;
  rig.place(5.0f, 5.0f, 0.0f, 7.0f, 0.0f, 0.0f);
  return rig;
}

TEST(Camera, applyViewSetsTheDefaultPerspectiveAndLookAt) {
  REQUIRE_GL_CONTEXT();
  Camera camera;
  camera.eye = Vector3(0.0f, 0.0f, 10.0f);
  camera.applyView(Drawable{800, 600, {}});

  float projection[16];
  float expected[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(50.0, 1.3f, 1.0, 2000.0);
  glGetFloatv(GL_PROJECTION_MATRIX, expected);
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(projection[i], expected[i], 1e-6f) << "element " << i;
  }
  // Twice as wide, the view shows twice as much across and the same up and down.
  camera.applyView(Drawable{1600, 600, {}});
  float wider[16];
  glGetFloatv(GL_PROJECTION_MATRIX, wider);
  EXPECT_NEAR(wider[0], expected[0] / 2.0f, 1e-6f);
  EXPECT_NEAR(wider[5], expected[5], 1e-6f);
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  float modelView[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
  EXPECT_NEAR(modelView[14], -10.0f, 1e-5f);
}

TEST(PathCamera, followsItsPathsPlusOffsetsAndOffsetsAloneWithoutPaths) {
  PathCamera camera;
  camera.eyeOffset = Vector3(1.0f, 2.0f, 3.0f);
  camera.targetOffset = Vector3(0.0f, -1.0f, 0.0f);
  camera.update(4.0f);
  EXPECT_EQ(camera.eye.z, 3.0f);
  EXPECT_EQ(camera.target.y, -1.0f);

  const float eyePoints[] = {0.0f, 10.0f, 0.0f, 100.0f, 10.0f, 0.0f};
  const float targetPoints[] = {0.0f, 0.0f, 50.0f, 0.0f, 0.0f, -50.0f};
  camera.setPaths(10.0f, 2, eyePoints, 2, targetPoints);
  ASSERT_TRUE(camera.eyePath);
  EXPECT_EQ(camera.eyePath->sampleCount(), 50);
  camera.update(10.0f);
  EXPECT_NEAR(camera.eye.x, 101.0f, 0.5f);
  EXPECT_EQ(camera.eye.y, 12.0f);
  EXPECT_NEAR(camera.target.z, -50.0f, 0.5f);
  EXPECT_EQ(camera.eye.w, 0.0f);
}

TEST(RigCamera, placeSetsHeightAndDistanceAndBringsEyeAndTargetAlong) {
  const RigCamera rig = placedRig();
  EXPECT_EQ(rig.eyeDistance(), 5.0f);
  EXPECT_EQ(rig.eye.y, 5.0f);
  // One 0.1 s step from rest: both springs pull the target towards the eye (7 − 5 and 7 − 5
  // units stretched, stiffness 44 and 40); the eye spring pulls the eye back by 0.8.
  EXPECT_NEAR(rig.target.z, (2.0f * 44.0f + 2.0f * 40.0f) * 0.01f, 1e-4f);
  EXPECT_NEAR(rig.eye.z, 7.0f - 2.0f * 40.0f * 0.01f, 1e-4f);
}

TEST(RigCamera, orbitByHalfATurnMirrorsTheEyeThroughTheTarget) {
  RigCamera rig = placedRig();
  const Vector3 before = rig.rig.mass(2).position;
  const Vector3 centre = rig.rig.mass(1).position;
  rig.orbit(0.0f);
  EXPECT_EQ(rig.rig.mass(2).position.x, before.x);
  EXPECT_EQ(rig.rig.mass(2).position.z, before.z);
  rig.orbit(kPi);
  const Vector3 after = rig.rig.mass(2).position;
  EXPECT_NEAR(after.x, 2.0f * centre.x - before.x, 1e-4f);
  EXPECT_NEAR(after.z, 2.0f * centre.z - before.z, 1e-4f);
  EXPECT_EQ(after.y, before.y);
}

TEST(RigCamera, panMovesTheAnchorByTheCursorOffsetFromTheCentre) {
  RigCamera rig = placedRig();
  const Vector3 anchor = rig.rig.mass(0).position;
  rig.pan(400, 300, 800, 600, 0.1f, 50.0f, 30.0f);
  EXPECT_EQ(rig.rig.mass(0).position.x, anchor.x);
  EXPECT_EQ(rig.rig.mass(0).position.z, anchor.z);
  rig.pan(400, 300, 0, 0, 0.1f, 50.0f, 30.0f);  // a window without area
  EXPECT_EQ(rig.rig.mass(0).position.x, anchor.x);

  // The eye looks down −z here, so the viewer's right is +x and "back" is towards the eye, +z.
  rig.pan(800, 300, 800, 600, 0.1f, 50.0f, 30.0f);
  EXPECT_NEAR(rig.rig.mass(0).position.x - anchor.x, 0.5f * 0.1f * 30.0f, 0.05f);
  const Vector3 moved = rig.rig.mass(0).position;
  rig.pan(400, 600, 800, 600, 0.1f, 50.0f, 30.0f);
  EXPECT_NEAR(rig.rig.mass(0).position.z - moved.z, 0.5f * 0.1f * 50.0f, 0.05f);
}

}  // namespace
