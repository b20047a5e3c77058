#include "world/c_static_3d.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/gl_test_context.h"
#include "tests/support/private_working_folder.h"
#include "tests/world/chunk_builder.h"
#include "tests/world/plain_view.h"
#include "world/model_3ds_reader.h"

namespace {

using namespace chunks;

// A model file in the test's own data folder: meshes "barrel", "base", "barrel" in that order,
// each one triangle at its own height.
class CStatic3DTest : public testing::Test {
 protected:
  void SetUp() override {
    previousPaths_ = model3dsReader().paths();
    model3dsReader().usePaths(ResourcePaths{previousPaths_.resourceFolder, working_.path() + "/"});
    writeFile(working_.path() + "/" + fileName_,
              primary({objectInfo({triangle("barrel", 1.0f), triangle("base", 2.0f), triangle("barrel", 3.0f)})}));
  }
  void TearDown() override { model3dsReader().usePaths(previousPaths_); }

  static Bytes triangle(const std::string& name, float height) {
    // Stored z-up: the reader turns the file's z into y.
    return namedObject(name, {vertexList({-0.9f, 0, height, 0.9f, 0, height, -0.9f, 0, height + 1.8f}),
                              chunk(0x4120, {faceRecords({0, 1, 2})})});
  }

  // Each test gets a file name of its own, so the process-wide cache hands out a fresh model.
  PrivateWorkingFolder working_;
  std::string fileName_ = std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".3ds";
  ResourcePaths previousPaths_;
};

TEST_F(CStatic3DTest, createSharesTheCachedModelAndTakesItsBox) {
  std::unique_ptr<CStatic3D> first = CStatic3D::create(fileName_);
  std::unique_ptr<CStatic3D> second = CStatic3D::create(fileName_);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->model, second->model);
  EXPECT_STREQ(first->getName(), "CStatic3D");
  EXPECT_EQ(first->drawMode, kDrawVertexArrays);
  for (int axis = 0; axis < 3; ++axis) {
    EXPECT_EQ(first->boundsMin[axis], first->model->boundsMin[axis]);
    EXPECT_EQ(first->boundsMax[axis], first->model->boundsMax[axis]);
  }
  EXPECT_EQ(first->boundsMax[1], 4.8f);
}

TEST_F(CStatic3DTest, createGivesNothingForAMissingModel) {
  EXPECT_EQ(CStatic3D::create("no_such_model.3ds"), nullptr);
}

TEST_F(CStatic3DTest, extractMeshTakesTheFirstOfEqualNamesFromTheSharedModel) {
  std::unique_ptr<CStatic3D> launcher = CStatic3D::create(fileName_);
  std::unique_ptr<CStatic3D> twin = CStatic3D::create(fileName_);
  ASSERT_NE(launcher, nullptr);
  launcher->drawMode = kDrawDisplayList;
  const float sourceTop = launcher->model->boundsMax[1];

  std::unique_ptr<CStatic3D> barrel = launcher->extractMesh("barrel");
  ASSERT_NE(barrel, nullptr);
  ASSERT_EQ(barrel->model->meshes.size(), 1u);
  EXPECT_EQ(barrel->model->meshes[0]->boundsMin[1], 1.0f);
  EXPECT_EQ(barrel->boundsMax[1], 2.8f);
  EXPECT_EQ(barrel->drawMode, kDrawDisplayList);
  EXPECT_EQ(barrel->parent, nullptr);
  EXPECT_EQ(barrel->position.x, 0.0f);
  // Every object of the file sees the removal; the source box stays as it was.
  ASSERT_EQ(twin->model->meshes.size(), 2u);
  EXPECT_EQ(twin->model->meshes[0]->name, "base");
  EXPECT_EQ(twin->model->meshes[1]->name, "barrel");
  EXPECT_EQ(launcher->model->boundsMax[1], sourceTop);

  std::unique_ptr<CStatic3D> secondBarrel = launcher->extractMesh("barrel");
  ASSERT_NE(secondBarrel, nullptr);
  EXPECT_EQ(secondBarrel->model->meshes[0]->boundsMin[1], 3.0f);
  EXPECT_EQ(launcher->extractMesh("barrel"), nullptr);
  EXPECT_EQ(launcher->extractMesh("Base"), nullptr);

  CStatic3D empty;
  EXPECT_EQ(empty.extractMesh("base"), nullptr);
}

TEST_F(CStatic3DTest, hiddenObjectDrawsItsChildrenButNotItsModel) {
  REQUIRE_GL_CONTEXT();
  OffscreenSurface surface;
  ASSERT_TRUE(surface.ready());
  std::unique_ptr<CStatic3D> body = CStatic3D::create(fileName_);
  ASSERT_NE(body, nullptr);
  std::unique_ptr<CStatic3D> top = body->extractMesh("base");
  std::unique_ptr<CStatic3D> bottom = body->extractMesh("barrel");
  ASSERT_NE(top, nullptr);
  ASSERT_NE(bottom, nullptr);
  // The triangles stand in the x-y plane between heights 1 and 4.8: bring them into view.
  body->position = Vector3(0.0f, -0.9f, 0.0f);
  body->scale = 0.2f;
  body->addChild(top.get());

  beginPlainView(surface);
  body->visible = false;
  body->render();
  surface.end();
  const int childOnly = surface.countPixels(anyDrawn);
  beginPlainView(surface);
  body->visible = true;
  body->render();
  surface.end();
  const int withModel = surface.countPixels(anyDrawn);
  EXPECT_GT(childOnly, 0);
  EXPECT_GT(withModel, childOnly);
  body->children.clear();
}

}  // namespace
