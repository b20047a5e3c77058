// A model file drawn by a CStatic3D, with its texture from the texture manager, through the
// vertex-array path and through the per-pixel lighting programs.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gpu/texture_manager.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/scoped_data_folder.h"
#include "tests/world/lit_view.h"
#include "world/c_static_3d.h"
#include "world/model_3ds_reader.h"

namespace {

// house.3ds: a 2 × 2 quad "Quad" on the ground (material "Stone", colour (255, 128, 64),
// texture "stone.jpg", plain green) and an upright triangle "Roof" at its back edge.
class CStatic3DDrawingTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!ensureGLContext()) {
      GTEST_SKIP() << "no display for a GL context; run under xvfb-run";
    }
    ASSERT_TRUE(setUpStartUpLighting());
    dataFolder_ = std::make_unique<ScopedDataFolder>(folder_);
    house_ = CStatic3D::create("house.3ds");
    ASSERT_NE(house_, nullptr);
  }
  void TearDown() override {
    releaseLighting();
    dataFolder_.reset();
  }

  // The colour at the middle of the quad, seen from above.
  Pixel drawAndReadCentre(const Vector3& light) {
    OffscreenSurface surface(32);
    lookDownOnGround(surface, 2.0);
    drawLayer().applyPass(texturedPass());
    shaderManager().setEyeAndLight(Vector3(0.0f, 50.0f, 0.0f), light);
    house_->render();
    surface.end();
    drawLayer().applyPass(PassState{});
    return surface.pixel(16, 16);
  }

  // The log and the lighting shaders stay in a folder of the test's own.
  PrivateWorkingFolder working_;
  static inline const std::string folder_ = std::string(TEST_DATA_DIR) + "/models/";
  std::unique_ptr<ScopedDataFolder> dataFolder_;
  std::unique_ptr<CStatic3D> house_;
};

TEST_F(CStatic3DDrawingTest, modelShowsTexturedThroughVertexArrays) {
  const Mesh& quad = *house_->model->meshes[0];
  ASSERT_TRUE(quad.textured);
  EXPECT_GT(quad.material.layers[0].textureName, 0);
  // The texture's green, scaled by the material colour taken into the layer (128 / 255).
  const Pixel centre = drawAndReadCentre(Vector3(0.0f, 5.0f, 0.0f));
  EXPECT_LT(centre.r, 20);
  EXPECT_NEAR(centre.g, 100, 6);
  EXPECT_LT(centre.b, 20);
}

TEST_F(CStatic3DDrawingTest, modelShowsTexturedAndLitPerPixel) {
  house_->drawMode = kDrawPerPixel;
  const Pixel near = drawAndReadCentre(Vector3(0.0f, 5.0f, 0.0f));
  const Pixel far = drawAndReadCentre(Vector3(60.0f, 5.0f, 0.0f));
  EXPECT_LT(near.r, 20);
  EXPECT_GT(near.g, 60);
  EXPECT_GT(near.g, far.g + 30);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
