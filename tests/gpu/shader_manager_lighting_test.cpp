#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/glu.h>

#include <cstdio>
#include <string>

#include "gpu/shader_manager.h"
#include "platform/gl_binding_record.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/shader_test_files.h"

namespace {

constexpr int kTargetSize = 32;
const float kStartUpColours[9] = {0.1f, 0.1f, 0.1f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f};

// The lighting shaders are read from the working folder, as the presentation does; the tests
// copy them there from the runnable folder.
class PerPixelLightingTest : public testing::Test {
 protected:
  // Its own working folder: the tests read the log and write shader files there.
  PrivateWorkingFolder folder;

  void SetUp() override {
    REQUIRE_GL_CONTEXT();
    copyShader(kPerPixelVertexFile);
    copyShader(kPerPixelFragmentFile);
  }
  void TearDown() override {
    manager.release();
    releaseTarget();
    std::remove(kPerPixelVertexFile);
    std::remove(kPerPixelFragmentFile);
  }

  static void copyShader(const char* name) {
    const std::string text = readTextFile(std::string(RUN_DIR) + "/" + name);
    ASSERT_FALSE(text.empty()) << "missing " << name << " in the runnable folder";
    writeTextFile(name, text);
  }

  void setUpWithStartUpValues() {
    manager.setupPerPixelLighting();
    manager.setMaterialColours(kStartUpColours);
    manager.setShininessAndAttenuation(3.0f, 800.0f, 2.2f);
  }

  // A 32 × 32 colour target, a white texture, and a view straight down on the ground plane
  // y = 0 with x and z from −10 to 10 filling the target.
  void makeTarget() {
    glGenFramebuffers(1, &framebuffer);
    glGenRenderbuffers(1, &colourBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kTargetSize, kTargetSize);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer);
    ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glViewport(0, 0, kTargetSize, kTargetSize);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    const GLubyte white[4] = {255, 255, 255, 255};
    glGenTextures(1, &texture);
    platform::bindTexture2D(0, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-10.0, 10.0, -10.0, 10.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 50.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, -1.0);
  }

  void releaseTarget() {
    if (framebuffer == 0) {
      return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteRenderbuffers(1, &colourBuffer);
    platform::deleteTextures(1, &texture);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    framebuffer = 0;
  }

  // Draws the ground from x0 to x1 (all of z) the way a textured mesh is drawn with the lighting.
  void drawGround(float x0, float x1) {
    manager.setTexture(texture);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    platform::bindTexture2D(0, texture);
    manager.beginPerPixel();
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(x0, 0.0f, -10.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(x0, 0.0f, 10.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(x1, 0.0f, 10.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(x1, 0.0f, -10.0f);
    glEnd();
    manager.endPerPixel();
    glDisable(GL_TEXTURE_2D);
  }

  // Red channel of the pixel at (x, y) of the target, 0 to 255.
  static int redAt(int x, int y) {
    GLubyte pixel[4] = {0, 0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return pixel[0];
  }

  int centreAfterDrawingWithLightAt(const Vector3& light) {
    manager.setEyeAndLight(Vector3(0.0f, 50.0f, 0.0f), light);
    glClear(GL_COLOR_BUFFER_BIT);
    drawGround(-10.0f, 10.0f);
    return redAt(kTargetSize / 2, kTargetSize / 2);
  }

  static float uniform(const ShaderProgram* program, const char* name, int component = 0) {
    const GLuint object = programHoldingValues(platform::programObject(program->program));
    float values[16] = {};
    glGetUniformfv(object, glGetUniformLocation(object, name), values);
    return values[component];
  }

  ShaderManager manager;
  GLuint framebuffer = 0;
  GLuint colourBuffer = 0;
  GLuint texture = 0;
};

TEST_F(PerPixelLightingTest, setUpFindsEveryUniformAndBeginSendsEveryValue) {
  const LogTail log;
  setUpWithStartUpValues();
  EXPECT_EQ(log.text(),
            "Shader PerPixel_textured_frag.cg loaded successfully\n"
            "Shader Basic_vert.cg loaded successfully\n");
  const PerPixelLighting& block = manager.perPixel();
  ASSERT_NE(block.vertexProgram, nullptr);
  ASSERT_NE(block.fragmentProgram, nullptr);
  for (const platform::GlslParameter* handle :
       {block.modelViewProj, block.lightPosition, block.eyePosition, block.Ka, block.Kd, block.Ks, block.shininess,
        block.attenStrength, block.attenLinear, block.texmap}) {
    EXPECT_NE(handle, nullptr);
  }

  // The sampler follows setTexture at once, on the unit the meshes bind their texture to.
  manager.setTexture(42);
  EXPECT_EQ(platform::textureParameter(block.texmap), 42u);
  EXPECT_EQ(platform::textureUnit(block.texmap), 0);

  manager.setEyeAndLight(Vector3(1.0f, 2.0f, 3.0f), Vector3(-4.0f, 50.0f, 6.0f));
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glScalef(2.0f, 2.0f, 2.0f);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -5.0f);
  manager.beginPerPixel();
  const ShaderProgram* fragment = block.fragmentProgram;
  EXPECT_FLOAT_EQ(uniform(fragment, "eyePosition", 2), 3.0f);
  EXPECT_FLOAT_EQ(uniform(fragment, "lightPosition", 1), 50.0f);
  EXPECT_FLOAT_EQ(uniform(fragment, "Ka", 0), 0.1f);
  EXPECT_FLOAT_EQ(uniform(fragment, "Kd", 1), 0.5f);
  EXPECT_FLOAT_EQ(uniform(fragment, "Ks", 2), 0.5f);
  EXPECT_FLOAT_EQ(uniform(fragment, "shininess"), 3.0f);
  EXPECT_FLOAT_EQ(uniform(fragment, "attenStrength"), 800.0f);
  EXPECT_FLOAT_EQ(uniform(fragment, "attenLinear"), 2.2f);
  EXPECT_FLOAT_EQ(uniform(block.vertexProgram, "modelViewProj", 0), 2.0f);
  EXPECT_FLOAT_EQ(uniform(block.vertexProgram, "modelViewProj", 14), -10.0f);
  manager.endPerPixel();
  EXPECT_TRUE(noProgramRuns());
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
}

TEST_F(PerPixelLightingTest, groundFollowsTheFormulaAndTheMovingLight) {
  setUpWithStartUpValues();
  makeTarget();

  // Straight under the light, 10 units away, with no highlight: ambient plus attenuated diffuse,
  // 0.1 + 800 / (800 + 2.2 × 10) × 0.5 = 0.5866 of white.
  const float noHighlight[9] = {0.1f, 0.1f, 0.1f, 0.5f, 0.5f, 0.5f, 0.0f, 0.0f, 0.0f};
  manager.setMaterialColours(noHighlight);
  EXPECT_NEAR(centreAfterDrawingWithLightAt(Vector3(0.0f, 10.0f, 0.0f)), 150, 3);

  manager.setMaterialColours(kStartUpColours);
  const int under = centreAfterDrawingWithLightAt(Vector3(0.0f, 10.0f, 0.0f));
  const int farAway = centreAfterDrawingWithLightAt(Vector3(300.0f, 50.0f, 0.0f));
  const int belowGround = centreAfterDrawingWithLightAt(Vector3(0.0f, -10.0f, 0.0f));
  EXPECT_GT(under, 200);
  EXPECT_LT(farAway, under - 60);
  EXPECT_GT(farAway, belowGround + 10);
  // A light below the ground leaves the ambient 0.1 of the texture.
  EXPECT_NEAR(belowGround, 26, 2);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(PerPixelLightingTest, lightMovedBetweenTwoMeshesChangesOnlyTheSecond) {
  setUpWithStartUpValues();
  makeTarget();
  manager.setEyeAndLight(Vector3(0.0f, 50.0f, 0.0f), Vector3(0.0f, 10.0f, 0.0f));
  drawGround(-10.0f, 0.0f);
  manager.setEyeAndLight(Vector3(0.0f, 50.0f, 0.0f), Vector3(0.0f, -10.0f, 0.0f));
  drawGround(0.0f, 10.0f);
  const int left = redAt(kTargetSize / 2 - 2, kTargetSize / 2);
  const int right = redAt(kTargetSize / 2 + 2, kTargetSize / 2);
  EXPECT_GT(left, 200);
  EXPECT_NEAR(right, 26, 2);
}

TEST_F(PerPixelLightingTest, missingShaderFilesLeaveTheMeshesToFixedFunction) {
  std::remove(kPerPixelVertexFile);
  const LogTail log;
  setUpWithStartUpValues();
  EXPECT_EQ(log.text(),
            "Shader PerPixel_textured_frag.cg loaded successfully\n"
            "Shader Basic_vert.cg Failed to load (The file could not be read.)\n");
  EXPECT_EQ(manager.perPixel().vertexProgram, nullptr);
  EXPECT_EQ(manager.perPixel().fragmentProgram, nullptr);
  EXPECT_EQ(manager.perPixel().texmap, nullptr);

  // Without programs the bracket binds nothing, and the mesh draws with its texture unlit.
  makeTarget();
  drawGround(-10.0f, 10.0f);
  EXPECT_TRUE(noProgramRuns());
  EXPECT_EQ(redAt(kTargetSize / 2, kTargetSize / 2), 255);
}

TEST_F(PerPixelLightingTest, releaseForgetsTheLightingProgramsAndRepeatsSafely) {
  setUpWithStartUpValues();
  manager.setEyeAndLight(Vector3(1.0f, 2.0f, 3.0f), Vector3(4.0f, 5.0f, 6.0f));
  manager.release();
  manager.release();
  EXPECT_EQ(manager.perPixel().vertexProgram, nullptr);
  EXPECT_EQ(manager.perPixel().Ka, nullptr);
  EXPECT_FLOAT_EQ(manager.perPixel().lightPositionValue[2], 6.0f);
  manager.beginPerPixel();
  manager.endPerPixel();
  EXPECT_TRUE(noProgramRuns());
}

}  // namespace
