#include "world/view_volume.h"

#include <gtest/gtest.h>

#include "gpu/draw_layer.h"
#include "tests/support/gl_test_context.h"
#include "world/c_static_3d.h"
#include "world/model.h"

namespace {

// The view of a camera at (0, 0, 10) looking at the origin, 50° high, aspect 1.3, depth 1 to 100.
ViewVolume cameraVolume() {
  DrawLayer& layer = drawLayer();
  layer.matrixMode(MatrixStack::Projection);
  layer.pushMatrix();
  layer.loadIdentity();
  layer.perspective(50.0, 1.3, 1.0, 100.0);
  layer.matrixMode(MatrixStack::ModelView);
  layer.pushMatrix();
  layer.loadIdentity();
  layer.lookAt(0.0, 0.0, 10.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
  const ViewVolume volume = ViewVolume::fromCurrentMatrices();
  layer.popMatrix();
  layer.matrixMode(MatrixStack::Projection);
  layer.popMatrix();
  layer.matrixMode(MatrixStack::ModelView);
  return volume;
}

TEST(ViewVolume, spheresAreLeftOutOnlyWhenWhollyBeyondAPlane) {
  REQUIRE_GL_CONTEXT();
  const ViewVolume volume = cameraVolume();
  EXPECT_FALSE(volume.sphereOutside(Vector3(0.0f, 0.0f, 0.0f), 0.1f));
  // Behind the camera, beyond the far plane, far to each side.
  EXPECT_TRUE(volume.sphereOutside(Vector3(0.0f, 0.0f, 12.0f), 0.5f));
  EXPECT_TRUE(volume.sphereOutside(Vector3(0.0f, 0.0f, -95.0f), 1.0f));
  EXPECT_TRUE(volume.sphereOutside(Vector3(30.0f, 0.0f, 0.0f), 1.0f));
  EXPECT_TRUE(volume.sphereOutside(Vector3(0.0f, -30.0f, 0.0f), 1.0f));
  // The half-height at the origin is 10 × tan 25° ≈ 4.66: a sphere reaching over the edge stays.
  EXPECT_FALSE(volume.sphereOutside(Vector3(0.0f, 5.5f, 0.0f), 1.0f));
  EXPECT_TRUE(volume.sphereOutside(Vector3(0.0f, 6.0f, 0.0f), 1.0f));
}

TEST(ViewVolume, aModelIsPlacedByItsObjectsTransformBeforeTheTest) {
  REQUIRE_GL_CONTEXT();
  const ViewVolume volume = cameraVolume();
  Model model;
  model.boundsMin[0] = 0.0f;
  model.boundsMin[1] = 0.0f;
  model.boundsMin[2] = 0.0f;
  model.boundsMax[0] = 2.0f;
  model.boundsMax[1] = 2.0f;
  model.boundsMax[2] = 2.0f;
  CStatic3D object;
  object.model = &model;
  object.position = Vector3(9.0f, 0.0f, 0.0f, 0.0f);
  EXPECT_TRUE(modelOutside(volume, object));
  // Turned half round the vertical, the box reaches back toward the view: x from 7 to 9.
  object.rotationAngle = 180.0f;
  object.position = Vector3(8.0f, 0.0f, 0.0f, 0.0f);
  EXPECT_FALSE(modelOutside(volume, object));
  // Scaled up, the same box reaches into view from further out.
  object.rotationAngle = 0.0f;
  object.position = Vector3(-12.0f, 0.0f, 0.0f, 0.0f);
  EXPECT_TRUE(modelOutside(volume, object));
  object.scale = 4.0f;
  EXPECT_FALSE(modelOutside(volume, object));
  // No model: never left out.
  object.model = nullptr;
  object.position = Vector3(0.0f, 0.0f, 50.0f, 0.0f);
  EXPECT_FALSE(modelOutside(volume, object));
}

TEST(ViewVolume, boxesAreLeftOutOnlyWhenEveryCornerIsBeyondOnePlane) {
  REQUIRE_GL_CONTEXT();
  const ViewVolume volume = cameraVolume();
  const auto outside = [&volume](float x0, float y0, float z0, float x1, float y1, float z1) {
    const float boxMin[3] = {x0, y0, z0};
    const float boxMax[3] = {x1, y1, z1};
    return volume.boxOutside(boxMin, boxMax);
  };
  EXPECT_FALSE(outside(-1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 1.0f));
  EXPECT_TRUE(outside(7.0f, -1.0f, -1.0f, 8.0f, 1.0f, 1.0f));
  EXPECT_TRUE(outside(-1.0f, -1.0f, 11.0f, 1.0f, 1.0f, 12.0f));
  // A long bar just above the view: its bounding sphere reaches in, the box does not.
  EXPECT_TRUE(outside(-30.0f, 6.0f, -1.0f, 30.0f, 7.0f, 1.0f));
  EXPECT_FALSE(volume.sphereOutside(Vector3(0.0f, 6.5f, 0.0f), 30.0f));
  // Beyond the right plane at one end and the top plane at the other, but wholly beyond neither.
  EXPECT_FALSE(outside(5.0f, 3.0f, -0.1f, 9.0f, 7.0f, 0.1f));
}

}  // namespace
