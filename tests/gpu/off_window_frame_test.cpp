#include "gpu/off_window_frame.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdint>

#include "gpu/draw_layer.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/window_clear.h"

namespace {

// The off-window frame stands for the window while bound; showing it puts black bars round it
// without cutting them short by a scissor box, and gives the scenes their clear colour back.
TEST(OffWindowFrame, showingItLeavesTheScenesClearColourAndReleasingItGivesTheWindowBack) {
  REQUIRE_GL_CONTEXT();
  OffWindowFrame frame;
  if (!frame.create(64, 32)) {
    GTEST_SKIP() << "this driver cannot copy between framebuffers";
  }
  // The window white, the frame red, and a scissor box that would keep the bars white.
  clearWindowTo(1.0f, 1.0f, 1.0f);
  frame.bind();
  EXPECT_NE(windowFramebuffer(), 0u);
  clearWindowTo(1.0f, 0.0f, 0.0f);
  DrawLayer& layer = drawLayer();
  PassState scissored;
  scissored.scissorTest = true;
  layer.applyPass(scissored);
  layer.setScissor(Viewport{0, 0, 1, 1});
  layer.setClearColor(0.25f, 0.5f, 0.75f, 1.0f);

  frame.showIn(256, 256);
  EXPECT_FALSE(layer.passState().scissorTest);
  EXPECT_FLOAT_EQ(layer.clearColor()[2], 0.75f);
  // A 64 × 32 frame in a 256 × 256 window: bars above and below, the frame across the middle.
  uint8_t bar[4] = {1, 1, 1, 1};
  uint8_t middle[4] = {0, 0, 0, 0};
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  glReadPixels(128, 250, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, bar);
  glReadPixels(128, 128, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, middle);
  EXPECT_EQ(bar[0] + bar[1] + bar[2], 0);
  EXPECT_EQ(middle[0], 255);
  EXPECT_EQ(middle[1], 0);

  frame.release();
  EXPECT_EQ(windowFramebuffer(), 0u);
  frame.release();
  layer.setScissor(Viewport{0, 0, 256, 256});
  layer.setClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  layer.applyPass(PassState());
}

}  // namespace
