#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdio>
#include <string>

#include "platform/gl_binding_record.h"
#include "platform/glsl_runtime.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/offscreen_surface.h"
#include "tests/support/shader_test_files.h"

namespace {

using platform::ShaderError;
using platform::ShaderProfile;

class GlslRuntimeTest : public testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_GL_CONTEXT();
    platform::getError();
    context = platform::createShaderContext();
    writeTextFile(kVertexFile, kTestVertexSource);
    writeTextFile(kFragmentFile, kTestFragmentSource);
  }
  void TearDown() override {
    platform::destroyShaderContext(context);
    platform::disableProfile(ShaderProfile::GlslVertex);
    platform::disableProfile(ShaderProfile::GlslFragment);
    platform::getError();
    std::remove(kVertexFile);
    std::remove(kFragmentFile);
    std::remove(kOtherFile);
  }

  platform::GlslProgram* compile(const char* file, int profileClass, const char* entry = "main") {
    return platform::createProgramFromFile(context, file, platform::latestProfile(profileClass), entry);
  }

  // Makes both stages of the program run, as the presentation binds them.
  static void run(platform::GlslProgram* program) {
    platform::enableProfile(platform::programProfile(program));
    platform::bindProgram(program);
  }

  // Draws a quad over the whole surface with the stages as they are bound and returns its colour.
  static Pixel drawnColour(OffscreenSurface& surface) {
    surface.begin();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Whatever earlier tests left on, the fixed-function colour is the plain current colour.
    for (const GLenum capability : {GL_TEXTURE_2D, GL_LIGHTING, GL_BLEND, GL_DEPTH_TEST, GL_ALPHA_TEST, GL_CULL_FACE,
                                    GL_SCISSOR_TEST, GL_FOG}) {
      glDisable(capability);
    }
    glColor4f(0.0f, 0.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    surface.end();
    return surface.pixel(surface.size() / 2, surface.size() / 2);
  }

  static constexpr const char* kVertexFile = "runtime_test_vert.glsl";
  static constexpr const char* kFragmentFile = "runtime_test_frag.glsl";
  static constexpr const char* kOtherFile = "runtime_test_other.glsl";
  platform::GlslContext* context = nullptr;
};

TEST_F(GlslRuntimeTest, compiledProgramKnowsItsUniformsAndDiesWithItsContext) {
  platform::GlslProgram* program = compile(kVertexFile, platform::kProfileClassVertex);
  ASSERT_NE(program, nullptr);
  EXPECT_EQ(platform::getError(), ShaderError::None);
  EXPECT_EQ(platform::programProfile(program), ShaderProfile::GlslVertex);
  EXPECT_NE(platform::namedParameter(program, "transform"), nullptr);
  EXPECT_NE(platform::namedParameter(program, "scale"), nullptr);
  EXPECT_EQ(platform::namedParameter(program, "notDeclared"), nullptr);
  EXPECT_EQ(platform::getError(), ShaderError::None);

  const GLuint object = platform::programObject(program);
  EXPECT_EQ(glIsProgram(object), GL_TRUE);
  platform::destroyShaderContext(context);
  context = nullptr;
  EXPECT_EQ(glIsProgram(object), GL_FALSE);
}

TEST_F(GlslRuntimeTest, compileFailureGivesNoProgramAndTheCompilerLogOnOneLine) {
  // The error sits on line 4 of the file; the renamed entry must not shift the line numbers.
  writeTextFile(kOtherFile,
                "#version 120\n"
                "void my_entry() {\n"
                "  gl_Position = vec4(0.0);\n"
                "  this is not glsl;\n"
                "}\n");
  EXPECT_EQ(compile(kOtherFile, platform::kProfileClassVertex, "my_entry"), nullptr);
  const ShaderError error = platform::getError();
  EXPECT_EQ(error, ShaderError::CompileError);
  const std::string text = platform::errorString(error);
  EXPECT_EQ(text.find("The compile returned an error: "), 0u) << text;
  EXPECT_NE(text.find("0:4("), std::string::npos) << text;
  EXPECT_EQ(text.find('\n'), std::string::npos) << text;
  EXPECT_EQ(platform::getError(), ShaderError::None);
}

TEST_F(GlslRuntimeTest, entryFunctionStandsForMain) {
  writeTextFile(kOtherFile,
                "// a comment before the version line\n"
                "#version 120\n"
                "void basic_vs() { gl_Position = gl_Vertex; }\n");
  EXPECT_NE(compile(kOtherFile, platform::kProfileClassVertex, "basic_vs"), nullptr);
  EXPECT_EQ(platform::getError(), ShaderError::None);
  EXPECT_EQ(compile(kOtherFile, platform::kProfileClassVertex, "main"), nullptr);
  EXPECT_EQ(platform::getError(), ShaderError::CompileError);
}

TEST_F(GlslRuntimeTest, badRequestsAreErrorsWithTextNotPrograms) {
  EXPECT_EQ(compile("no_such_shader.glsl", platform::kProfileClassFragment), nullptr);
  EXPECT_EQ(platform::getError(), ShaderError::FileReadError);
  EXPECT_EQ(platform::errorString(ShaderError::FileReadError), "The file could not be read.");

  EXPECT_EQ(platform::createProgramFromFile(nullptr, kVertexFile, ShaderProfile::GlslVertex, "main"), nullptr);
  EXPECT_EQ(platform::getError(), ShaderError::InvalidContext);
  EXPECT_EQ(platform::createProgramFromFile(context, kVertexFile, ShaderProfile::Unknown, "main"), nullptr);
  EXPECT_EQ(platform::getError(), ShaderError::InvalidProfile);
  EXPECT_EQ(compile(kVertexFile, platform::kProfileClassVertex, "main; int x"), nullptr);
  EXPECT_EQ(platform::getError(), ShaderError::InvalidEntry);
  EXPECT_EQ(platform::latestProfile(3), ShaderProfile::Unknown);
  EXPECT_TRUE(platform::isProfileSupported(ShaderProfile::Arbvp1));
  EXPECT_TRUE(platform::isProfileSupported(ShaderProfile::Fp20));
  EXPECT_FALSE(platform::isProfileSupported(ShaderProfile::Unknown));
}

TEST_F(GlslRuntimeTest, parametersLoadOnlyValuesOfTheirOwnType) {
  platform::GlslProgram* program = compile(kVertexFile, platform::kProfileClassVertex);
  ASSERT_NE(program, nullptr);
  run(program);
  const GLuint object = programHoldingValues(platform::programObject(program));
  platform::GlslParameter* offset = platform::namedParameter(program, "offset");
  platform::GlslParameter* scale = platform::namedParameter(program, "scale");
  const float values[3] = {1.5f, -2.0f, 3.25f};
  platform::setParameter3fv(offset, values);
  platform::setParameter1f(scale, 0.75f);
  EXPECT_EQ(platform::getError(), ShaderError::None);

  float readBack[3] = {0.0f, 0.0f, 0.0f};
  glGetUniformfv(object, glGetUniformLocation(object, "offset"), readBack);
  EXPECT_FLOAT_EQ(readBack[0], 1.5f);
  EXPECT_FLOAT_EQ(readBack[1], -2.0f);
  EXPECT_FLOAT_EQ(readBack[2], 3.25f);
  float scaleBack = 0.0f;
  glGetUniformfv(object, glGetUniformLocation(object, "scale"), &scaleBack);
  EXPECT_FLOAT_EQ(scaleBack, 0.75f);

  // The model-view matrix as GL holds it, here sent transposed: the translation lands in row 4.
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glTranslatef(1.0f, 2.0f, 3.0f);
  platform::setStateMatrixParameter(platform::namedParameter(program, "transform"), platform::StateMatrix::ModelView,
                                    platform::MatrixTransform::Transpose);
  glPopMatrix();
  float m[16];
  glGetUniformfv(object, glGetUniformLocation(object, "transform"), m);
  EXPECT_FLOAT_EQ(m[3], 1.0f);
  EXPECT_FLOAT_EQ(m[12], 0.0f);
  EXPECT_EQ(platform::getError(), ShaderError::None);

  platform::setParameter1f(offset, 9.0f);
  EXPECT_EQ(platform::getError(), ShaderError::ParameterTypeMismatch);
  platform::setStateMatrixParameter(scale, platform::StateMatrix::ModelView, platform::MatrixTransform::Identity);
  EXPECT_EQ(platform::getError(), ShaderError::ParameterTypeMismatch);
  platform::setParameter3fv(nullptr, values);
  EXPECT_EQ(platform::getError(), ShaderError::InvalidParameter);
  glGetUniformfv(object, glGetUniformLocation(object, "offset"), readBack);
  EXPECT_FLOAT_EQ(readBack[0], 1.5f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlslRuntimeTest, samplersTakeTheirOwnUnitsAndBindTheirTextureThere) {
  platform::GlslProgram* program = compile(kFragmentFile, platform::kProfileClassFragment);
  ASSERT_NE(program, nullptr);
  run(program);
  platform::GlslParameter* first = platform::namedParameter(program, "first");
  platform::GlslParameter* second = platform::namedParameter(program, "second");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(platform::textureUnit(first) + platform::textureUnit(second), 1);
  EXPECT_EQ(platform::textureUnit(platform::namedParameter(program, "colour")), -1);

  GLuint texture = 0;
  glGenTextures(1, &texture);
  platform::setTextureParameter(second, texture);
  EXPECT_EQ(platform::textureParameter(second), texture);
  GLint unitUniform = -1;
  const GLuint object = programHoldingValues(platform::programObject(program));
  glGetUniformiv(object, glGetUniformLocation(object, "second"), &unitUniform);
  EXPECT_EQ(unitUniform, platform::textureUnit(second));

  // The binding record, which the drawing layer reads instead of asking the driver, follows the
  // runtime's binds, and unit 0 stays the active one.
  platform::enableTextureParameter(second);
  GLint active = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
  EXPECT_EQ(active, GL_TEXTURE0);
  EXPECT_EQ(platform::textureOnUnit(platform::textureUnit(second)), texture);
  glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + platform::textureUnit(second)));
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), texture);
  platform::disableTextureParameter(second);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);
  EXPECT_EQ(platform::textureOnUnit(platform::textureUnit(second)), 0u);
  glActiveTexture(GL_TEXTURE0);
  platform::deleteTextures(1, &texture);
  EXPECT_EQ(platform::getError(), ShaderError::None);
}

// The vertex stage hands its tint to the fragment stage, which adds its own boost: the colour
// drawn shows both stages ran together with every value given, whether the driver combines
// separable programs or the runtime links the pair.
TEST_F(GlslRuntimeTest, boundStagesDrawTogetherWithTheirValuesUntilUnbound) {
  writeTextFile(kVertexFile,
                "#version 120\n"
                "uniform vec3 tint;\n"
                "varying vec3 shade;\n"
                "void main() { gl_Position = gl_Vertex; shade = tint; }\n");
  writeTextFile(kFragmentFile,
                "#version 120\n"
                "uniform vec3 boost;\n"
                "varying vec3 shade;\n"
                "void main() { gl_FragColor = vec4(shade + boost, 1.0); }\n");
  platform::GlslProgram* vertex = compile(kVertexFile, platform::kProfileClassVertex);
  platform::GlslProgram* fragment = compile(kFragmentFile, platform::kProfileClassFragment);
  ASSERT_NE(vertex, nullptr);
  ASSERT_NE(fragment, nullptr);
  OffscreenSurface surface(8);
  ASSERT_TRUE(surface.ready());

  // Values given before the stages run reach them once they do.
  const float red[3] = {1.0f, 0.0f, 0.0f};
  const float green[3] = {0.0f, 1.0f, 0.0f};
  platform::setParameter3fv(platform::namedParameter(vertex, "tint"), red);
  platform::setParameter3fv(platform::namedParameter(fragment, "boost"), green);
  run(vertex);
  run(fragment);
  Pixel colour = drawnColour(surface);
  EXPECT_EQ(colour.r, 255);
  EXPECT_EQ(colour.g, 255);
  EXPECT_EQ(colour.b, 0);

  // A value changed while the stages run takes effect at the next draw.
  const float none[3] = {0.0f, 0.0f, 0.0f};
  platform::setParameter3fv(platform::namedParameter(fragment, "boost"), none);
  colour = drawnColour(surface);
  EXPECT_EQ(colour.g, 0);
  EXPECT_EQ(colour.r, 255);

  // A stage bound but not enabled does not run; with neither running, drawing is fixed-function.
  platform::disableProfile(ShaderProfile::GlslFragment);
  platform::unbindProgram(ShaderProfile::GlslVertex);
  EXPECT_TRUE(noProgramRuns());
  colour = drawnColour(surface);
  EXPECT_EQ(colour.b, 255);
  EXPECT_EQ(colour.r, 0);
  EXPECT_EQ(platform::getError(), ShaderError::None);

  // Running again after the break gives the same pair its values back.
  run(vertex);
  run(fragment);
  colour = drawnColour(surface);
  EXPECT_EQ(colour.r, 255);
  EXPECT_EQ(colour.g, 0);

  platform::enableProfile(ShaderProfile::Unknown);
  EXPECT_EQ(platform::getError(), ShaderError::InvalidProfile);
  platform::bindProgram(nullptr);
  EXPECT_EQ(platform::getError(), ShaderError::InvalidProgram);

  // A context destroyed while its programs still run leaves drawing fixed-function.
  platform::destroyShaderContext(context);
  context = nullptr;
  EXPECT_TRUE(noProgramRuns());
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
