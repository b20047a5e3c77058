#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdio>
#include <string>

#include "platform/glsl_runtime.h"
#include "tests/support/gl_test_context.h"
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

  static GLuint pipelineStage(GLenum stage) {
    GLint pipeline = 0;
    glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &pipeline);
    if (pipeline == 0) {
      return 0;
    }
    GLint program = 0;
    glGetProgramPipelineiv(static_cast<GLuint>(pipeline), stage, &program);
    return static_cast<GLuint>(program);
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
                "#version 410 compatibility\n"
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
                "#version 410 compatibility\n"
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
  const GLuint object = platform::programObject(program);
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
  const GLuint object = platform::programObject(program);
  glGetUniformiv(object, glGetUniformLocation(object, "second"), &unitUniform);
  EXPECT_EQ(unitUniform, platform::textureUnit(second));

  glActiveTexture(GL_TEXTURE3);
  platform::enableTextureParameter(second);
  GLint active = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
  EXPECT_EQ(active, GL_TEXTURE3);
  glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + platform::textureUnit(second)));
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), texture);
  platform::disableTextureParameter(second);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);
  glActiveTexture(GL_TEXTURE0);
  glDeleteTextures(1, &texture);
  EXPECT_EQ(platform::getError(), ShaderError::None);
}

TEST_F(GlslRuntimeTest, stagesRunAProgramOnlyWhileEnabledAndBound) {
  platform::GlslProgram* vertex = compile(kVertexFile, platform::kProfileClassVertex);
  platform::GlslProgram* fragment = compile(kFragmentFile, platform::kProfileClassFragment);
  ASSERT_NE(vertex, nullptr);
  ASSERT_NE(fragment, nullptr);

  platform::enableProfile(ShaderProfile::GlslVertex);
  platform::bindProgram(vertex);
  platform::bindProgram(fragment);
  EXPECT_EQ(pipelineStage(GL_VERTEX_SHADER), platform::programObject(vertex));
  EXPECT_EQ(pipelineStage(GL_FRAGMENT_SHADER), 0u);

  platform::enableProfile(ShaderProfile::GlslFragment);
  EXPECT_EQ(pipelineStage(GL_FRAGMENT_SHADER), platform::programObject(fragment));
  platform::unbindProgram(ShaderProfile::GlslVertex);
  EXPECT_EQ(pipelineStage(GL_VERTEX_SHADER), 0u);
  EXPECT_EQ(pipelineStage(GL_FRAGMENT_SHADER), platform::programObject(fragment));
  EXPECT_EQ(platform::getError(), ShaderError::None);

  platform::enableProfile(ShaderProfile::Unknown);
  EXPECT_EQ(platform::getError(), ShaderError::InvalidProfile);
  platform::bindProgram(nullptr);
  EXPECT_EQ(platform::getError(), ShaderError::InvalidProgram);

  // A context destroyed while its program still runs leaves drawing fixed-function.
  platform::destroyShaderContext(context);
  context = nullptr;
  GLint pipeline = -1;
  glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &pipeline);
  EXPECT_EQ(pipeline, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
