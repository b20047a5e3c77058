#include "gpu/frame_pixels.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <vector>

#include "gpu/draw_layer.h"
#include "tests/support/gl_test_context.h"

namespace {

// Three pixels a row make nine bytes: rows must follow each other without the padding to four
// bytes that the other readers of the frame ask for, and nothing past the last row is written.
TEST(FramePixels, oddWidthRowsComePackedTightWithTheClearedColour) {
  REQUIRE_GL_CONTEXT();
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  drawLayer().setClearColor(0.2f, 0.4f, 0.6f, 1.0f);
  drawLayer().clear(true, false);
  constexpr int kWidth = 3;
  constexpr int kHeight = 2;
  constexpr unsigned char kUntouched = 7;
  std::vector<uint8_t> pixels(kWidth * kHeight * 3 + 4, kUntouched);
  readDrawnFrameRgb(kWidth, kHeight, pixels.data());
  for (int n = 0; n < kWidth * kHeight; ++n) {
    EXPECT_NEAR(pixels[n * 3], 51, 1) << "pixel " << n;
    EXPECT_NEAR(pixels[n * 3 + 1], 102, 1) << "pixel " << n;
    EXPECT_NEAR(pixels[n * 3 + 2], 153, 1) << "pixel " << n;
  }
  for (size_t n = kWidth * kHeight * 3; n < pixels.size(); ++n) {
    EXPECT_EQ(pixels[n], kUntouched) << "byte " << n << " after the frame";
  }
}

}  // namespace
