#include <gtest/gtest.h>

#include <GL/glew.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gpu/draw_layer.h"
#include "gpu/texture_manager.h"
#include "platform/gl_binding_record.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/image_magick.h"
#include "tests/support/offscreen_surface.h"
#include "tests/support/private_working_folder.h"
#include "world/material.h"

namespace {

void expectCurrentColour(float r, float g, float b, float a) {
  float colour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[0], r);
  EXPECT_FLOAT_EQ(colour[1], g);
  EXPECT_FLOAT_EQ(colour[2], b);
  EXPECT_FLOAT_EQ(colour[3], a);
}

GLint boundTexture() {
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  return bound;
}

TEST(Material, startsGreyWithLayersWithoutTextures) {
  const Material material;
  EXPECT_FLOAT_EQ(material.ambient[0], 0.4f);
  EXPECT_FLOAT_EQ(material.specular[3], 1.0f);
  EXPECT_FLOAT_EQ(material.emission[3], 0.0f);
  EXPECT_FLOAT_EQ(material.layers[0].colour[1], 0.4f);
  for (const MaterialLayer& layer : material.layers) {
    EXPECT_EQ(layer.textureName, -1);
    EXPECT_TRUE(layer.fileName.empty());
  }
}

TEST(Material, anExplicitTextureNameSkipsTheTextureManager) {
  Material material;
  const size_t cached = textureManager().textureCache.size();
  material.setLayer(0, "never-loaded.jpg", "Hull", 7);
  EXPECT_EQ(material.layers[0].textureName, 7);
  EXPECT_EQ(material.layers[0].name, "Hull");
  EXPECT_EQ(material.layers[0].fileName, "never-loaded.jpg");
  EXPECT_FLOAT_EQ(material.layers[0].colour[0], 1.0f);
  EXPECT_EQ(textureManager().textureCache.size(), cached);
  material.setLayer(2, "other.jpg", std::string("Deck"), 0);
  EXPECT_EQ(material.layers[2].name, "Deck");
  EXPECT_EQ(material.layers[1].textureName, -1);
}

// Whether unit 0 textures is the pass's: applying a material never changes the pass.
void expectPassUnchanged(const PassState& pass) {
  EXPECT_EQ(drawLayer().passState(), pass);
  EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), pass.units[0].enabled ? GL_TRUE : GL_FALSE);
}

PassState passTexturing(bool texturing) {
  PassState pass;
  pass.units[0].enabled = texturing;
  return pass;
}

TEST(Material, aDefaultMaterialDrawsGreyAndLeavesTexturingAlone) {
  REQUIRE_GL_CONTEXT();
  DrawLayer& layer = drawLayer();
  const Material material;
  const GLuint other = createQuadrantTexture();
  for (const bool texturing : {false, true}) {
    layer.applyPass(passTexturing(texturing));
    layer.bindTexture(0, other);
    material.apply();
    expectCurrentColour(0.4f, 0.4f, 0.4f, 1.0f);
    expectPassUnchanged(passTexturing(texturing));
    EXPECT_EQ(boundTexture(), static_cast<GLint>(other));
  }
  layer.applyPass(PassState{});
  platform::deleteTextures(1, &other);
  float diffuse[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  glGetMaterialfv(GL_BACK, GL_DIFFUSE, diffuse);
  EXPECT_FLOAT_EQ(diffuse[2], 0.4f);
  float emission[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  glGetMaterialfv(GL_FRONT, GL_EMISSION, emission);
  EXPECT_FLOAT_EQ(emission[0], 0.0f);
}

TEST(Material, aLayerLoadedByFileNameBindsItsTextureInWhite) {
  REQUIRE_GL_CONTEXT();
  PrivateWorkingFolder folder;
  // A 2 × 2 Targa picture, 24 bits, in the data folder.
  std::vector<uint8_t> targa = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0};
  targa.resize(targa.size() + 12, 200);
  std::filesystem::create_directory("data");
  writeFileBytes("data/hull.tga", targa);
  const ResourcePaths previousPaths = textureManager().paths();
  textureManager().usePaths(resourcePathsIn(""));
  Material material;
  material.setLayer(0, "hull.tga", nullptr, -1);
  textureManager().usePaths(previousPaths);
  const int name = material.layers[0].textureName;
  ASSERT_GT(name, 0);
  EXPECT_EQ(material.layers[0].name, "hull.tga");
  EXPECT_EQ(static_cast<unsigned int>(name), textureManager().textureCache.at("hull.tga"));
  drawLayer().applyPass(PassState{});
  drawLayer().bindTexture(0, 0);
  material.apply();
  EXPECT_EQ(boundTexture(), name);
  expectPassUnchanged(PassState{});
  expectCurrentColour(1.0f, 1.0f, 1.0f, 1.0f);
}

// A texture that failed to load (name 0) still counts as a texture: texture 0 is bound.
TEST(Material, aFailedTextureBindsNameZero) {
  REQUIRE_GL_CONTEXT();
  Material material;
  material.setLayer(0, "missing.tga", nullptr, 0);
  const GLuint other = createQuadrantTexture();
  drawLayer().applyPass(PassState{});
  drawLayer().bindTexture(0, other);
  material.apply();
  EXPECT_EQ(boundTexture(), 0);
  expectPassUnchanged(PassState{});
  expectCurrentColour(1.0f, 1.0f, 1.0f, 1.0f);
  platform::deleteTextures(1, &other);
}

}  // namespace
