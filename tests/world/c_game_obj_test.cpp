#include "world/c_game_obj.h"

#include <gtest/gtest.h>

#include <string>

#include "gpu/draw_layer.h"
#include "tests/support/gl_test_context.h"

namespace {

// A child that records the model-view matrix it is drawn under, the calls made through its
// slots, a box of its own and its destruction.
class ProbeObj : public CGameObj {
 public:
  ~ProbeObj() override {
    if (destroyed != nullptr) {
      *destroyed = true;
    }
  }
  void applyTransform() override {
    calls += "apply ";
    CGameObj::applyTransform();
  }
  void popTransform() override {
    calls += "pop ";
    CGameObj::popTransform();
  }
  void render() override {
    drawnUnder = drawLayer().matrix(MatrixStack::ModelView);
    calls += "render ";
    CGameObj::render();
  }
  void update() override {
    for (int axis = 0; axis < 3; ++axis) {
      boundsMin[axis] = low + static_cast<float>(axis);
      boundsMax[axis] = high + static_cast<float>(axis);
    }
  }

  Matrix4 drawnUnder;
  std::string calls;
  float low = 0.0f;
  float high = 0.0f;
  bool* destroyed = nullptr;
};

TEST(CGameObjTest, renderDrawsChildrenInsideTranslateRotateScale) {
  REQUIRE_GL_CONTEXT();
  DrawLayer& layer = drawLayer();
  layer.matrixMode(MatrixStack::ModelView);
  layer.loadIdentity();
  CGameObj parent;
  parent.position = Vector3(1.0f, 0.0f, 0.0f);
  parent.rotationAngle = 90.0f;
  parent.scale = 2.0f;
  ProbeObj child;
  parent.addChild(&child);
  parent.addChild(&child);
  parent.render();

  // translate(1, 0, 0) · rotate(90° about y) · scale(2): x maps to -z, z to x, all doubled.
  const float expected[16] = {0, 0, -2, 0, 0, 2, 0, 0, 2, 0, 0, 0, 1, 0, 0, 1};
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(child.drawnUnder.m[i], expected[i], 1e-6f) << i;
  }
  // Drawn once per entry, each inside its own transform.
  EXPECT_EQ(child.calls, "render apply pop render apply pop ");
  EXPECT_EQ(layer.matrix(MatrixStack::ModelView).m[12], 0.0f);
  parent.children.clear();
}

TEST(CGameObjTest, updateTakesTheChildrenBoxesUntransformed) {
  CGameObj parent;
  parent.update();
  EXPECT_EQ(parent.boundsMin[0], 9999999.0f);
  EXPECT_EQ(parent.boundsMax[2], -9999999.0f);

  parent.position = Vector3(100.0f, 0.0f, 0.0f);
  parent.scale = 10.0f;
  ProbeObj small;
  ProbeObj tall;
  small.low = -1.0f;
  small.high = 1.0f;
  tall.high = 5.0f;
  parent.addChild(&small);
  parent.addChild(&tall);
  parent.update();
  EXPECT_EQ(parent.boundsMin[0], -1.0f);
  EXPECT_EQ(parent.boundsMin[2], 1.0f);
  EXPECT_EQ(parent.boundsMax[1], 6.0f);
  parent.children.clear();
}

TEST(CGameObjTest, destroyingAParentFreesOnlyChildrenNobodyAdded) {
  bool addedDestroyed = false;
  bool countlessDestroyed = false;
  ProbeObj added;
  added.destroyed = &addedDestroyed;
  auto* countless = new ProbeObj;
  countless->destroyed = &countlessDestroyed;
  {
    CGameObj first;
    CGameObj second;
    first.addChild(&added);
    second.addChild(&added);
    first.children.push_back(countless);
    EXPECT_EQ(added.parent, &second);
    EXPECT_EQ(added.parentCount, 2);
  }
  EXPECT_FALSE(addedDestroyed);
  EXPECT_EQ(added.parentCount, 0);
  EXPECT_EQ(added.parent, nullptr);
  EXPECT_TRUE(countlessDestroyed);
}

}  // namespace
