#include <gtest/gtest.h>

#include <string>

#include "core/debug_log.h"
#include "gpu/texture_manager.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/scoped_data_folder.h"
#include "tests/support/shader_test_files.h"
#include "tests/tools/baker_test_support.h"
#include "world/model_3ds_reader.h"
#include "world/model_cache.h"

namespace {

// The program's own loaders take every baked file the way the scenes ask for them, and the log
// holds no failure.
TEST(BakedDataLoadsTest, programLoadersTakeEveryFileWithoutAFailure) {
  // Pictures missing in another test's folder are remembered as missing: this test has its own.
  textureManager().failedNames.clear();
  REQUIRE_GL_CONTEXT();
  PrivateWorkingFolder working;
  static const std::string folder = bakertest::bakedFolder() + "/";
  const ScopedDataFolder dataFolder(folder);

  ModelCache cache;
  for (const char* model : {"sky.3ds", "missile.3ds", "palm02.3ds", "windmill_body.3ds", "windmill_wings.3ds",
                            "rocketlauncher.3ds", "text1.3ds", "text2.3ds", "text3.3ds", "text4.3ds"}) {
    const Model* loaded = cache.getModel(model);
    ASSERT_NE(loaded, nullptr) << model;
    EXPECT_FALSE(loaded->meshes.empty()) << model;
  }
  TextureManager& textures = textureManager();
  EXPECT_NE(textures.decodeImage("heightmap.jpg"), nullptr);
  EXPECT_NE(textures.decodeImage("height2.jpg"), nullptr);
  EXPECT_NE(textures.loadTexture("terraintexture.jpg", 0, 0.0f), 0u);
  EXPECT_NE(textures.loadTextureWithMask("smoke.jpg", "smokealpha.jpg"), 0u);
  EXPECT_NE(textures.loadTextureWithMask("BlueBubble.jpg", "smokealpha.jpg"), 0u);
  EXPECT_NE(textures.loadTextureWithMask("redBubble.jpg", "redBubble.jpg"), 0u);
  for (const char* sprite : {"YellowBubble.jpg", "star.jpg", "flare.jpg", "linevol_contours.jpg", "linevol_enamels.jpg",
                             "linevol_redlaser.jpg", "linevol_blueglow.jpg", "linevol_bluethunder.jpg",
                             "linevol_glass.jpg", "linevol_firespiral.jpg"}) {
    EXPECT_NE(textures.loadTexture(sprite, 2, 0.01f), 0u) << sprite;
  }
  EXPECT_NE(textures.loadTexture("explodeparticle.jpg", 4, 0.0f), 0u);

  const std::string log = readTextFile(kLogFileName);
  EXPECT_EQ(log.find("failed"), std::string::npos) << log;
  EXPECT_EQ(log.find("unknown format"), std::string::npos) << log;
  EXPECT_EQ(log.find("doesnt match"), std::string::npos) << log;
  EXPECT_NE(log.find("succesfully"), std::string::npos) << log;
}

}  // namespace
