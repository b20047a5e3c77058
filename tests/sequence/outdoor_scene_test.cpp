#include <gtest/gtest.h>

#include "sequence/outdoor_scene.h"

namespace {

TEST(OutdoorScene, drawsUpTo90SecondsInclusive) {
  EXPECT_TRUE(outdoorSceneDraws(0.0f));
  EXPECT_TRUE(outdoorSceneDraws(90.0f));
  EXPECT_FALSE(outdoorSceneDraws(90.0001f));
}

TEST(OutdoorScene, tintIsWhiteThenGreenAfter49ThenFadesToDarkRedAfter80) {
  const TintColour white = outdoorTint(49.0f);
  EXPECT_EQ(white.r, 1.0f);
  EXPECT_EQ(white.g, 1.0f);
  EXPECT_EQ(white.b, 1.0f);

  const TintColour green = outdoorTint(49.01f);
  EXPECT_EQ(green.r, 0.0f);
  EXPECT_EQ(green.g, 1.0f);
  EXPECT_EQ(green.b, 0.0f);
  EXPECT_EQ(outdoorTint(80.0f).g, 1.0f);
  EXPECT_EQ(outdoorTint(80.0f).r, 0.0f);

  const TintColour fading = outdoorTint(80.01f);
  EXPECT_FLOAT_EQ(fading.r, 0.6f);
  EXPECT_NEAR(fading.g, 0.999f, 1e-5f);
  EXPECT_EQ(fading.b, 0.0f);
  EXPECT_EQ(fading.a, 1.0f);
  EXPECT_NEAR(outdoorTint(90.0f).g, 0.0f, 1e-6f);
}

TEST(OutdoorScene, initLaysTheSixtySecondFlightThroughTheFirstAndLastPoints) {
  OutdoorScene scene;
  scene.init();
  ASSERT_TRUE(scene.camera.eyePath);
  ASSERT_TRUE(scene.camera.targetPath);
  EXPECT_EQ(scene.camera.eyePath->pointCount(), 8);
  EXPECT_EQ(scene.camera.eyePath->duration(), 60.0f);
  EXPECT_EQ(scene.camera.eyePath->sampleCount(), 300);

  scene.camera.update(0.0f);
  EXPECT_NEAR(scene.camera.eye.x, -100.0f, 0.5f);
  EXPECT_NEAR(scene.camera.eye.y, 230.0f, 0.5f);
  EXPECT_NEAR(scene.camera.target.x, -10.0f, 0.5f);
  scene.camera.update(60.0f);
  EXPECT_NEAR(scene.camera.eye.x, -70.0f, 2.0f);
  EXPECT_NEAR(scene.camera.eye.y, 180.0f, 2.0f);
  EXPECT_NEAR(scene.camera.target.x, 70.0f, 2.0f);
}

}  // namespace
