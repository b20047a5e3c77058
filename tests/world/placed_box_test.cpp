#include "world/placed_box.h"

#include <gtest/gtest.h>

#include "world/c_static_3d.h"
#include "world/model.h"

namespace {

void setBox(Model& model, float x0, float y0, float z0, float x1, float y1, float z1) {
  const float low[3] = {x0, y0, z0};
  const float high[3] = {x1, y1, z1};
  for (int axis = 0; axis < 3; ++axis) {
    model.boundsMin[axis] = low[axis];
    model.boundsMax[axis] = high[axis];
  }
}

void expectBox(const float boxMin[3], const float boxMax[3], const float expectedMin[3],
               const float expectedMax[3]) {
  for (int axis = 0; axis < 3; ++axis) {
    EXPECT_NEAR(boxMin[axis], expectedMin[axis], 1e-4f) << "axis " << axis;
    EXPECT_NEAR(boxMax[axis], expectedMax[axis], 1e-4f) << "axis " << axis;
  }
}

}  // namespace

TEST(PlacedBox, childrenArePlacedThroughEveryTransformAboveThem) {
  Model bodyModel;
  setBox(bodyModel, -1.0f, 0.0f, -1.0f, 1.0f, 6.0f, 1.0f);
  Model wingsModel;
  setBox(wingsModel, -4.0f, -4.0f, 0.0f, 4.0f, 4.0f, 1.0f);
  // Declared first, so that it outlives the body that points at it.
  CStatic3D wings;
  wings.model = &wingsModel;
  wings.position = Vector3(0.0f, 6.0f, 0.0f, 0.0f);
  CStatic3D body;
  body.model = &bodyModel;
  body.position = Vector3(10.0f, 5.0f, 0.0f, 0.0f);
  body.rotationAngle = 90.0f;
  body.scale = 2.0f;
  body.addChild(&wings);

  float boxMin[3];
  float boxMax[3];
  ASSERT_TRUE(placedBox(body, boxMin, boxMax));
  // A quarter turn about y takes the wings' depth (z 0 .. 2 after scaling) to x 0 .. 2 and their
  // width to z.
  const float expectedMin[3] = {8.0f, 5.0f, -8.0f};
  const float expectedMax[3] = {12.0f, 25.0f, 8.0f};
  expectBox(boxMin, boxMax, expectedMin, expectedMax);
}

TEST(PlacedBox, anyPartWithoutABoxRefusesTheWhole) {
  Model model;
  setBox(model, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f);
  float boxMin[3];
  float boxMax[3];

  CStatic3D empty;
  EXPECT_FALSE(placedBox(empty, boxMin, boxMax));

  CGameObj unknown;
  CStatic3D withUnknownChild;
  withUnknownChild.model = &model;
  withUnknownChild.addChild(&unknown);
  EXPECT_FALSE(placedBox(withUnknownChild, boxMin, boxMax));
}
