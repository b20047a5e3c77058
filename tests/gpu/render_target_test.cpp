#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core/debug_log.h"
#include "gpu/draw_layer.h"
#include "gpu/render_target.h"
#include "platform/gl_binding_record.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"

namespace {

std::string readLog() { return readTextFile(kLogFileName); }

std::vector<unsigned char> texturePixels(GLuint texture, int width, int height) {
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
  platform::bindTexture2D(0, texture);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

GLint boundFramebuffer() {
  GLint name = -1;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &name);
  return name;
}

class RenderTargetTest : public testing::Test {
 protected:
  // The log from here on: a context made by the test logs its drawing layer first.
  static void startLog() { std::remove(kLogFileName); }

  PrivateWorkingFolder working_;
};

TEST(DepthFormatChoice, keepsTheFirstFormatStoredAtTheRequestedSize) {
  std::vector<unsigned int> asked;
  // A driver that cannot store 32-bit depth and rounds 24 bits up to 32.
  const DepthStorageAllocator driver = [&asked](unsigned int format) {
    asked.push_back(format);
    DepthStorageReport report;
    if (format != GL_DEPTH_COMPONENT32) {
      report = {512, 512, 32};
    }
    return report;
  };
  DepthStorageReport kept;
  EXPECT_EQ(chooseDepthFormat(512, 512, driver, kept), static_cast<unsigned int>(GL_DEPTH_COMPONENT24));
  EXPECT_EQ(asked, (std::vector<unsigned int>{GL_DEPTH_COMPONENT32, GL_DEPTH_COMPONENT24}));
  EXPECT_EQ(kept.depthBits, 32);

  // Only the size decides: a 32-bit request stored with 24 bits is kept.
  const DepthStorageAllocator fewerBits = [](unsigned int) { return DepthStorageReport{512, 512, 24}; };
  EXPECT_EQ(chooseDepthFormat(512, 512, fewerBits, kept), static_cast<unsigned int>(GL_DEPTH_COMPONENT32));
  EXPECT_EQ(kept.depthBits, 24);
}

TEST(DepthFormatChoice, fallsBackToTheUnsizedFormatWhateverItReports) {
  const DepthStorageAllocator smaller = [](unsigned int) { return DepthStorageReport{256, 256, 16}; };
  DepthStorageReport kept;
  EXPECT_EQ(chooseDepthFormat(512, 512, smaller, kept), static_cast<unsigned int>(GL_DEPTH_COMPONENT));
  EXPECT_EQ(kept.width, 256);
  EXPECT_EQ(kept.depthBits, 16);
}

TEST(FramebufferStatusText, namesEveryStatusAndCallsOthersUnknown) {
  EXPECT_STREQ(framebufferStatusText(0x0506), "Invalid Framebuffer operation");
  EXPECT_STREQ(framebufferStatusText(0x8CD5), "Framebuffer complete");
  EXPECT_STREQ(framebufferStatusText(0x8CD6), "Framebuffer incomplete attachment");
  EXPECT_STREQ(framebufferStatusText(0x8CD7), "Framebuffer incomplete missing attachment");
  EXPECT_STREQ(framebufferStatusText(0x8CD9), "Framebuffer incomplete dimensions");
  EXPECT_STREQ(framebufferStatusText(0x8CDA), "Framebuffer incomplete formats");
  EXPECT_STREQ(framebufferStatusText(0x8CDB), "Framebuffer incomplete draw buffers");
  EXPECT_STREQ(framebufferStatusText(0x8CDC), "Framebuffer incomplete read buffer");
  EXPECT_STREQ(framebufferStatusText(0x8CDD), "Framebuffer unsupported");
  // The extension's duplicate-attachment code has no text of its own.
  EXPECT_STREQ(framebufferStatusText(0x8CD8), "unknown/not a Framebuffer error code");
}

TEST_F(RenderTargetTest, surfaceWithDepthLogsItsDepthFormatAndStatus) {
  REQUIRE_GL_CONTEXT();
  startLog();
  RenderTarget target;
  ASSERT_TRUE(target.createFramebuffer());
  ASSERT_NE(target.framebuffer, 0u);
  EXPECT_EQ(target.addTarget(512, 512, GL_RGBA, true), 0);

  const std::string log = readLog();
  std::smatch bits;
  ASSERT_TRUE(std::regex_match(log, bits,
                               std::regex("FBO: depth component 512,512, (16|24|32) bits\r\n"
                                          "FBO creation status\\[Framebuffer complete\\] \r\n")))
      << log;
  ASSERT_EQ(target.surfaces.size(), 1u);
  const RenderSurface& surface = target.surfaces[0];
  EXPECT_EQ(surface.width, 512);
  EXPECT_EQ(surface.height, 512);
  EXPECT_EQ(surface.format, static_cast<unsigned int>(GL_RGBA));
  EXPECT_NE(surface.texture, 0u);
  ASSERT_NE(surface.depthBuffer, 0u);
  // Every driver stores the first choice at 512 × 512, so the 32-bit request is the one kept.
  GLint internalFormat = 0;
  glBindRenderbuffer(GL_RENDERBUFFER, surface.depthBuffer);
  glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_INTERNAL_FORMAT, &internalFormat);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  EXPECT_EQ(internalFormat, GL_DEPTH_COMPONENT32);
  EXPECT_EQ(boundFramebuffer(), 0);

  std::remove(kLogFileName);
  EXPECT_EQ(target.checkStatus(), static_cast<unsigned int>(GL_FRAMEBUFFER_COMPLETE));
  EXPECT_EQ(readLog(), "FBO creation status[Framebuffer complete] \r\n");
}

TEST_F(RenderTargetTest, surfaceItsFramebufferCannotUseIsRefusedAndFreed) {
  REQUIRE_GL_CONTEXT();
  startLog();
  RenderTarget target;
  ASSERT_TRUE(target.createFramebuffer());
  // An empty picture is not a usable attachment.
  EXPECT_EQ(target.addTarget(0, 0, GL_RGBA, false), -1);
  EXPECT_EQ(readLog(), "FBO creation status[Framebuffer incomplete attachment] \r\n");
  EXPECT_TRUE(target.surfaces.empty());
  EXPECT_EQ(boundFramebuffer(), 0);

  // The next good surface takes index 0; the refused one left nothing behind on the framebuffer.
  EXPECT_EQ(target.addTarget(64, 64, GL_RGBA, false), 0);
  EXPECT_EQ(target.addTarget(64, 64, GL_RGBA, false), 1);
  glGetError();
  EXPECT_EQ(target.checkStatus(), static_cast<unsigned int>(GL_FRAMEBUFFER_COMPLETE));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderTargetTest, clearTargetWithoutDepthClearsColourOnlyAndRestoresTheViewport) {
  REQUIRE_GL_CONTEXT();
  RenderTarget target;
  ASSERT_TRUE(target.createFramebuffer());
  ASSERT_EQ(target.addTarget(32, 32, GL_RGBA, true), 0);
  ASSERT_EQ(target.addTarget(32, 32, GL_RGBA, false), 1);
  DrawLayer& layer = drawLayer();
  const Viewport before = layer.viewport();
  layer.setViewport(Viewport{3, 4, 50, 60});

  // Surface 0's depth buffer stays attached under surface 1's colour: a colour-only clear
  // must leave the depth it holds alone.
  glClearDepth(0.25);
  layer.setClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  target.clearTarget(0);
  glClearDepth(1.0);
  layer.setClearColor(1.0f, 0.0f, 0.0f, 1.0f);
  target.bindFramebuffer();
  target.attachTarget(0, 0);
  target.unbindFramebuffer();
  target.clearTarget(1);

  GLint viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 3);
  EXPECT_EQ(viewport[3], 60);
  EXPECT_EQ(layer.viewport().y, 4);
  EXPECT_EQ(layer.viewport().width, 50);
  EXPECT_EQ(boundFramebuffer(), 0);

  const std::vector<unsigned char> colour = texturePixels(target.surfaces[1].texture, 32, 32);
  EXPECT_EQ(colour[0], 255);
  EXPECT_EQ(colour[1], 0);
  target.bindFramebuffer();
  target.attachTarget(0, 0);
  float depth = 0.0f;
  glReadPixels(5, 5, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  target.unbindFramebuffer();
  EXPECT_NEAR(depth, 0.25f, 1e-3f);
  layer.setClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  layer.setViewport(before);
}

TEST_F(RenderTargetTest, outOfRangeIndexesDoNothingAndReleaseTwiceIsSafe) {
  REQUIRE_GL_CONTEXT();
  RenderTarget target;
  ASSERT_TRUE(target.createFramebuffer());
  ASSERT_EQ(target.addTarget(16, 16, GL_RGBA, true), 0);
  const Viewport before = drawLayer().viewport();
  drawLayer().setViewport(Viewport{1, 2, 30, 40});
  glGetError();
  target.bindFramebuffer();
  target.attachTarget(-1, 0);
  target.attachTarget(1, 0);
  target.unbindFramebuffer();
  target.setTargetViewport(1);
  target.setTargetViewport(-1);
  target.clearTarget(1);
  GLint viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 30);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  drawLayer().setViewport(before);

  const GLuint framebuffer = target.framebuffer;
  const RenderSurface surface = target.surfaces[0];
  target.releaseTargets();
  EXPECT_EQ(target.framebuffer, 0u);
  EXPECT_TRUE(target.surfaces.empty());
  EXPECT_FALSE(glIsFramebuffer(framebuffer));
  EXPECT_FALSE(glIsTexture(surface.texture));
  EXPECT_FALSE(glIsRenderbuffer(surface.depthBuffer));
  target.releaseTargets();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A triangle's slanted edge drawn into a surface: with samples, the edge pixels are partly covered
// (neither black nor white) once drawing leaves the surface; without, every pixel is one or the other.
int partlyCoveredPixels(int samples) {
  setSurfaceSamples(samples);
  RenderTarget target;
  target.createFramebuffer();
  const int index = target.addTarget(32, 32, GL_RGBA, true);
  setSurfaceSamples(0);
  if (index < 0) {
    return -1;
  }
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  target.clearTarget(index);
  target.bindFramebuffer();
  target.attachTarget(index, 0);
  glViewport(0, 0, 32, 32);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  for (const GLenum capability : {GL_TEXTURE_2D, GL_LIGHTING, GL_BLEND, GL_DEPTH_TEST}) {
    glDisable(capability);
  }
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  glBegin(GL_TRIANGLES);
  glVertex2f(-1.0f, -1.0f);
  glVertex2f(1.0f, -0.8f);
  glVertex2f(-1.0f, 1.0f);
  glEnd();
  target.attachTarget(-1, 0);
  target.unbindFramebuffer();
  const std::vector<unsigned char> pixels = texturePixels(target.surfaces[index].texture, 32, 32);
  int partly = 0;
  for (size_t p = 0; p < pixels.size(); p += 4) {
    partly += pixels[p] > 10 && pixels[p] < 245 ? 1 : 0;
  }
  EXPECT_EQ(boundFramebuffer(), 0);
  return partly;
}

TEST_F(RenderTargetTest, multisampledSurfacesSmoothEdgesIntoTheirTextures) {
  REQUIRE_GL_CONTEXT();
  if (multisampleLimit(4) < 2) {
    GTEST_SKIP() << "the driver has no multisampled framebuffers";
  }
  EXPECT_EQ(partlyCoveredPixels(0), 0);
  EXPECT_GT(partlyCoveredPixels(4), 10);
  EXPECT_EQ(multisampleLimit(64), multisampleLimit(1000));
}

}  // namespace

