// A mesh drawn through the per-pixel lighting programs: lit by where the light is.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "tests/support/gl_test_context.h"
#include "tests/support/private_working_folder.h"
#include "tests/world/lit_view.h"
#include "world/mesh.h"

namespace {

class MeshPerPixelTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!ensureGLContext()) {
      GTEST_SKIP() << "no display for a GL context; run under xvfb-run";
    }
    ASSERT_TRUE(setUpStartUpLighting());
    const unsigned char white[4] = {255, 255, 255, 255};
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    makeGround();
  }
  void TearDown() override {
    releaseLighting();
    glDeleteTextures(1, &texture_);
  }

  // The ground plane y = 0 from -10 to 10, facing up, with the white texture.
  void makeGround() {
    ASSERT_TRUE(ground_.allocate(4, 6));
    ground_.vertices = {-10, 0, -10, 10, 0, -10, 10, 0, 10, -10, 0, 10};
    ground_.normals = {0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0};
    ground_.texCoords = {0, 0, 1, 0, 1, 1, 0, 1};
    ground_.indices = {0, 2, 1, 0, 3, 2};
    ground_.material.layers[0].textureName = static_cast<int32_t>(texture_);
    ground_.textured = true;
  }

  // Returns the brightness at the left and right edges.
  void drawWithLightAt(const Vector3& light, int& left, int& right) {
    OffscreenSurface surface(32);
    ASSERT_TRUE(surface.ready());
    lookDownOnGround(surface, 10.0);
    shaderManager().setEyeAndLight(Vector3(0.0f, 50.0f, 0.0f), light);
    ground_.draw(kDrawPerPixel, 1.0f);
    surface.end();
    left = surface.pixel(2, 16).g;
    right = surface.pixel(29, 16).g;
  }

  // The lighting shaders are copied into a folder of the test's own.
  PrivateWorkingFolder working_;
  Mesh ground_;
  GLuint texture_ = 0;
};

TEST_F(MeshPerPixelTest, movingTheLightMovesTheBrightSpot) {
  int leftLit = 0;
  int rightDark = 0;
  drawWithLightAt(Vector3(-9.0f, 3.0f, 0.0f), leftLit, rightDark);
  int leftDark = 0;
  int rightLit = 0;
  drawWithLightAt(Vector3(9.0f, 3.0f, 0.0f), leftDark, rightLit);
  EXPECT_GT(leftLit, rightDark + 40);
  EXPECT_GT(rightLit, leftDark + 40);
  EXPECT_NEAR(leftLit, rightLit, 3);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
