// The outdoor ground as loading makes it, from the baked height map and ground texture, drawn
// through the per-pixel lighting programs.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gpu/texture_manager.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/private_working_folder.h"
#include "tests/world/lit_view.h"
#include "world/model.h"
#include "world/terrain.h"

namespace {

class TerrainDrawingTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!ensureGLContext()) {
      GTEST_SKIP() << "no display for a GL context; run under xvfb-run";
    }
    ASSERT_TRUE(setUpStartUpLighting());
    previousTexturePaths_ = textureManager().paths();
    textureManager().usePaths(ResourcePaths{previousTexturePaths_.resourceFolder, folder_});
  }
  void TearDown() override {
    releaseLighting();
    textureManager().usePaths(previousTexturePaths_);
  }

  // The log and the lighting shaders stay in a folder of the test's own.
  PrivateWorkingFolder working_;
  static inline const std::string folder_ = std::string(RUN_DIR) + "/data/";
  ResourcePaths previousTexturePaths_;
};

TEST_F(TerrainDrawingTest, outdoorGroundShowsTexturedAndLitPerPixel) {
  // Pictures missing in another test's folder are remembered as missing: this test has its own.
  textureManager().failedNames.clear();
  Terrain terrain;
  ASSERT_TRUE(terrain.build("heightmap.jpg", TerrainBox{-200.0f, -20.0f, -200.0f, 200.0f, 44.0f, 200.0f}, 6, 6, 10,
                            10));
  terrain.setTexture("terraintexture.jpg");
  const int groundTexture = terrain.model->meshes[0]->material.layers[0].textureName;
  EXPECT_GT(groundTexture, 0);
  for (const std::unique_ptr<Mesh>& patch : terrain.model->meshes) {
    EXPECT_TRUE(patch->textured);
    EXPECT_EQ(patch->material.layers[0].textureName, groundTexture);
  }
  for (float corner : {-200.0f, 200.0f}) {
    const float height = terrain.heightAt(corner, corner);
    EXPECT_TRUE(height >= -20.0f && height <= 44.0f) << height;
  }

  OffscreenSurface surface(32);
  lookDownOnGround(surface, 200.0);
  shaderManager().setEyeAndLight(Vector3(0.0f, 50.0f, 0.0f), Vector3(0.0f, 100.0f, 0.0f));
  terrain.draw(kDrawPerPixel);
  surface.end();
  EXPECT_EQ(surface.countPixels(&anyDrawn), 32 * 32);
  EXPECT_GT(surface.countPixels([](const Pixel& p) { return p.r + p.g + p.b > 60; }), 32 * 32 / 2);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
