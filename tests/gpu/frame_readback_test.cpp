#include "gpu/frame_readback.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdint>

#include "gpu/draw_layer.h"
#include "platform/gl_capabilities.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/window_clear.h"

namespace {

bool isFrameOf(const uint8_t* pixels, size_t sizeBytes, uint8_t red, uint8_t green, uint8_t blue) {
  for (size_t at = 0; at < sizeBytes; at += 4) {
    if (pixels[at] != red || pixels[at + 1] != green || pixels[at + 2] != blue) {
      return false;
    }
  }
  return true;
}

// With pixel buffers a frame comes out one call after its read began, and the last one on its own.
TEST(FrameReadback, framesComeOutWholeAndInTheOrderDrawn) {
  REQUIRE_GL_CONTEXT();
  FrameReadback readback;
  readback.create(16, 8);
  EXPECT_EQ(readback.usesPixelBuffers(), platform::contextCapabilities().pixelBuffers);
  clearWindowTo(1.0f, 0.0f, 0.0f);
  const uint8_t* first = readback.readNext();
  if (readback.usesPixelBuffers()) {
    EXPECT_EQ(first, nullptr);
    clearWindowTo(0.0f, 1.0f, 0.0f);
    first = readback.readNext();
  }
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(isFrameOf(first, readback.frameBytes(), 255, 0, 0));
  if (readback.usesPixelBuffers()) {
    const uint8_t* last = readback.readLast();
    ASSERT_NE(last, nullptr);
    EXPECT_TRUE(isFrameOf(last, readback.frameBytes(), 0, 255, 0));
    EXPECT_EQ(readback.readLast(), nullptr);
  }
  readback.release();
  readback.release();
  drawLayer().setClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  EXPECT_FALSE(readback.usesPixelBuffers());
}

}  // namespace
