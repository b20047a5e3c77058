// The shader back end on a 3.3 core and an OpenGL ES 3.0 context, where the fixed function is
// gone: the scenes against the fixed function's pictures from the shared compatibility context,
// and the project's shader files carried into those contexts' shading languages.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <string>
#include <utility>
#include <vector>

#include "gpu/draw_layer.h"
#include "platform/gl_binding_record.h"
#include "platform/gl_capabilities.h"
#include "platform/glsl_runtime.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/layer_scenes.h"

namespace {

// The scenes that need no texture.
struct ReferenceScenes {
  std::vector<std::pair<const char*, Scene>> scenes = {
      {"coloured quad", colouredQuads},
      {"fan, strip, line and point", fanStripAndLines},
      {"boxes placed by matrix steps", placedBoxes},
      {"directional light", [](DrawLayer& layer) { litHemisphere(layer, kDirectionalLight, false); }},
      {"point light with colour material", [](DrawLayer& layer) { litHemisphere(layer, kPointLight, true); }},
      {"replayed recordings", replayedCopies},
  };
};

void expectSceneOn(platform::GLContextKind kind) {
  REQUIRE_GL_CONTEXT();
  const ReferenceScenes references;
  std::vector<std::vector<Pixel>> expected;
  for (const auto& [what, scene] : references.scenes) {
    expected.push_back(fixedFunctionPicture(scene));
  }
  std::vector<Pixel> combined;
  {
    const Textures textures;
    combined = fixedFunctionPicture(
        combining(textures, TextureMode::SquareTexel, TextureMode::AddTexel, TextureMode::AddTexel, 3));
  }
  const OtherContext other(kind);
  ASSERT_TRUE(other.ready()) << platform::contextKindName(kind) << ": " << other.failure();
  ASSERT_EQ(platform::contextCapabilities().kind, kind);
  if (kind == platform::GLContextKind::ES) {
    EXPECT_NE(platform::contextCapabilities().versionText.find("OpenGL ES"), std::string::npos);
  } else {
    GLint profile = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    EXPECT_NE(profile & GL_CONTEXT_CORE_PROFILE_BIT, 0);
  }
  for (size_t index = 0; index < expected.size(); ++index) {
    expectSamePicture(expected[index], shaderPicture(references.scenes[index].second), references.scenes[index].first);
  }
  const Textures textures;
  expectSamePicture(combined,
                    shaderPicture(combining(textures, TextureMode::SquareTexel, TextureMode::AddTexel,
                                            TextureMode::AddTexel, 3)),
                    "the titles' three units");
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(DrawLayer, aCoreContextDrawsWhatTheFixedFunctionDraws) { expectSceneOn(platform::GLContextKind::Core); }

TEST(DrawLayer, anEsContextDrawsWhatTheFixedFunctionDraws) { expectSceneOn(platform::GLContextKind::ES); }

// ---- The project's shader files ----

platform::GlslProgram* loadShaderFile(platform::GlslContext* context, const char* file, bool vertex,
                                      const char* entry) {
  const std::string path = std::string(RUN_DIR) + "/" + file;
  platform::GlslProgram* program = platform::createProgramFromFile(
      context, path.c_str(), vertex ? platform::ShaderProfile::GlslVertex : platform::ShaderProfile::GlslFragment,
      entry);
  const platform::ShaderError error = platform::getError();
  EXPECT_EQ(error, platform::ShaderError::None) << file << ": " << platform::errorString(error);
  return program;
}

void run(platform::GlslProgram* program) {
  platform::enableProfile(platform::programProfile(program));
  platform::bindProgram(program);
}

void stop(platform::GlslProgram* program) {
  platform::unbindProgram(platform::programProfile(program));
  platform::disableProfile(platform::programProfile(program));
}

// Every shader file loads; the per-pixel pair, fed the layer's matrices and vertices, draws the
// texture (mirrored) under a light that is all ambient.
void expectProjectShadersOn(platform::GLContextKind kind) {
  REQUIRE_GL_CONTEXT();
  const OtherContext other(kind);
  ASSERT_TRUE(other.ready()) << other.failure();
  // ES has no separable programs; the runtime links the stages in pairs there.
  EXPECT_EQ(platform::contextCapabilities().separablePrograms, kind != platform::GLContextKind::ES);
  platform::getError();
  platform::GlslContext* context = platform::createShaderContext();
  EXPECT_NE(loadShaderFile(context, "volumeLines_vs.cg", true, "main"), nullptr);
  EXPECT_NE(loadShaderFile(context, "volumeLines_fs.cg", false, "main"), nullptr);
  platform::GlslProgram* vertex = loadShaderFile(context, "Basic_vert.cg", true, "basic_vs");
  platform::GlslProgram* fragment = loadShaderFile(context, "PerPixel_textured_frag.cg", false, "PerPixelPS");
  ASSERT_TRUE(vertex != nullptr && fragment != nullptr);
  const unsigned int texture = createQuadrantTexture();
  const auto scene = [&](DrawLayer& layer) {
    run(fragment);
    run(vertex);
    const float ambient[3] = {1.0f, 1.0f, 1.0f};
    // Mirrored left to right: the matrix the program reads must be the layer's.
    layer.scale(-1.0f, 1.0f, 1.0f);
    layer.programStarted();
    platform::setStateMatrixParameter(platform::namedParameter(vertex, "modelViewProj"),
                                      platform::StateMatrix::ModelViewProjection, platform::MatrixTransform::Identity);
    platform::setParameter3fv(platform::namedParameter(fragment, "Ka"), ambient);
    platform::GlslParameter* texmap = platform::namedParameter(fragment, "texmap");
    platform::setTextureParameter(texmap, texture);
    platform::enableTextureParameter(texmap);
    layer.begin(Primitive::Quads);
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& corner : corners) {
      layer.normal(0.0f, 0.0f, 1.0f);
      layer.texCoord(corner[0] < 0.0f ? 0.0f : 1.0f, corner[1] < 0.0f ? 0.0f : 1.0f);
      layer.vertex(corner[0], corner[1]);
    }
    layer.end();
    layer.programEnded();
    platform::disableTextureParameter(texmap);
    stop(vertex);
    stop(fragment);
  };
  const std::vector<Pixel> picture = shaderPicture(scene);
  ASSERT_EQ(picture.size(), static_cast<size_t>(kSide * kSide));
  const Pixel bottomLeft = picture[8 * kSide + 8];
  const Pixel topLeft = picture[56 * kSide + 8];
  EXPECT_TRUE(bottomLeft.r == 0 && bottomLeft.g == 255 && bottomLeft.b == 0) << "the green texel at the bottom left";
  EXPECT_TRUE(topLeft.r == 255 && topLeft.g == 255 && topLeft.b == 255) << "the white texel at the top left";
  platform::deleteTextures(1, &texture);
  platform::destroyShaderContext(context);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(DrawLayer, theProjectShadersRunOnACoreContext) { expectProjectShadersOn(platform::GLContextKind::Core); }

TEST(DrawLayer, theProjectShadersRunOnAnEsContextInLinkedPairs) {
  expectProjectShadersOn(platform::GLContextKind::ES);
}

}  // namespace
