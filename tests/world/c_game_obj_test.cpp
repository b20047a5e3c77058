#include "world/c_game_obj.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/gl_test_context.h"

namespace {

// A child that records the model-view matrix it is drawn under and the order of the calls.
class ProbeObj : public CGameObj {
 public:
  explicit ProbeObj(std::vector<std::string>* calls = nullptr, bool* destroyed = nullptr)
      : calls_(calls), destroyed_(destroyed) {}
  ~ProbeObj() override {
    if (destroyed_ != nullptr) {
      *destroyed_ = true;
    }
  }
  void applyTransform() override {
    record("apply");
    CGameObj::applyTransform();
  }
  void popTransform() override {
    record("pop");
    CGameObj::popTransform();
  }
  void render() override {
    glGetFloatv(GL_MODELVIEW_MATRIX, drawnUnder);
    record("render");
    CGameObj::render();
  }
  void setBox(float low, float high) {
    boxLow_ = low;
    boxHigh_ = high;
  }
  void update() override {
    for (int axis = 0; axis < 3; ++axis) {
      boundsMin[axis] = boxLow_ + static_cast<float>(axis);
      boundsMax[axis] = boxHigh_ + static_cast<float>(axis);
    }
  }
  float drawnUnder[16] = {};

 private:
  void record(const char* call) {
    if (calls_ != nullptr) {
      calls_->push_back(call);
    }
  }
  std::vector<std::string>* calls_;
  bool* destroyed_;
  float boxLow_ = 0.0f;
  float boxHigh_ = 0.0f;
};

TEST(CGameObjTest, startsWithTheDefaultTransformAndNames) {
  const CGameObj object;
  EXPECT_TRUE(object.visible);
  EXPECT_EQ(object.parentCount, 0);
  EXPECT_EQ(object.rotationAxis[1], 1.0f);
  EXPECT_EQ(object.scale, 1.0f);
  EXPECT_STREQ(object.getName(), "CGameObj");
}

TEST(CGameObjTest, renderDrawsChildrenInsideTranslateRotateScale) {
  REQUIRE_GL_CONTEXT();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  CGameObj parent;
  parent.position = Vector3(1.0f, 0.0f, 0.0f);
  parent.rotationAngle = 90.0f;
  parent.scale = 2.0f;
  std::vector<std::string> calls;
  ProbeObj first(&calls);
  ProbeObj second(&calls);
  parent.addChild(&first);
  parent.addChild(&second);
  parent.render();

  // translate(1, 0, 0) · rotate(90° about y) · scale(2): x maps to -z, z to x, all doubled.
  const float expected[16] = {0, 0, -2, 0, 0, 2, 0, 0, 2, 0, 0, 0, 1, 0, 0, 1};
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(first.drawnUnder[i], expected[i], 1e-6f) << i;
  }
  EXPECT_EQ(calls, (std::vector<std::string>{"render", "apply", "pop", "render", "apply", "pop"}));
  float after[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  EXPECT_EQ(after[0], 1.0f);
  EXPECT_EQ(after[12], 0.0f);
  parent.children.clear();
}

TEST(CGameObjTest, updateTakesTheChildrenBoxesUntransformed) {
  CGameObj lonely;
  lonely.update();
  EXPECT_EQ(lonely.boundsMin[0], 9999999.0f);
  EXPECT_EQ(lonely.boundsMax[2], -9999999.0f);

  CGameObj parent;
  parent.position = Vector3(100.0f, 0.0f, 0.0f);
  parent.scale = 10.0f;
  ProbeObj low;
  ProbeObj high;
  low.setBox(-1.0f, 1.0f);
  high.setBox(0.0f, 5.0f);
  parent.addChild(&low);
  parent.addChild(&high);
  parent.update();
  EXPECT_EQ(parent.boundsMin[0], -1.0f);
  EXPECT_EQ(parent.boundsMin[2], 1.0f);
  EXPECT_EQ(parent.boundsMax[0], 5.0f);
  EXPECT_EQ(parent.boundsMax[1], 6.0f);
  parent.children.clear();
}

TEST(CGameObjTest, destroyingAParentFreesOnlyChildrenNobodyAdded) {
  bool addedDestroyed = false;
  bool countlessDestroyed = false;
  ProbeObj added(nullptr, &addedDestroyed);
  auto* countless = new ProbeObj(nullptr, &countlessDestroyed);
  {
    CGameObj parent;
    parent.addChild(&added);
    parent.children.push_back(countless);
    EXPECT_EQ(added.parent, &parent);
    EXPECT_EQ(added.parentCount, 1);
  }
  EXPECT_FALSE(addedDestroyed);
  EXPECT_EQ(added.parentCount, 0);
  EXPECT_EQ(added.parent, nullptr);
  EXPECT_TRUE(countlessDestroyed);
}

TEST(CGameObjTest, aChildAddedTwiceIsDrawnTwiceAndCountedTwice) {
  REQUIRE_GL_CONTEXT();
  std::vector<std::string> calls;
  ProbeObj child(&calls);
  {
    CGameObj first;
    CGameObj second;
    first.addChild(&child);
    first.addChild(&child);
    second.addChild(&child);
    EXPECT_EQ(child.parent, &second);
    first.render();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "render"), 2);
  }
  EXPECT_EQ(child.parentCount, 0);
}

}  // namespace
