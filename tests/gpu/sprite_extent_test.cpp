#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/glu.h>

#include <vector>

#include "gpu/sprite_extent.h"
#include "platform/gl_binding_record.h"
#include "tests/support/gl_test_context.h"

namespace {

// Alpha bytes of a width × height picture, 0 everywhere except the given texels.
std::vector<unsigned char> alphaWith(int width, int height, std::initializer_list<std::pair<int, int>> texels,
                                     unsigned char level = 255) {
  std::vector<unsigned char> alpha(static_cast<size_t>(width) * height, 0);
  for (const auto& [column, row] : texels) {
    alpha[static_cast<size_t>(row) * width + column] = level;
  }
  return alpha;
}

TEST(SpriteExtent, visibleTexelsGiveTheSpanSamplesCanReachThemFrom) {
  // Texels 6..9 of 16 across, row 3 of 8 up: a linear sample reads texels floor(s × 16 − 0.5)
  // and the next, so samples from (6 − 0.5) / 16 to (9 + 1.5) / 16 reach them; half a texel
  // more is kept on each side.
  const std::vector<unsigned char> alpha = alphaWith(16, 8, {{6, 3}, {9, 3}});
  const TextureRect rect = visibleRect(alpha.data(), 16, 8, 0.01f);
  EXPECT_FLOAT_EQ(rect.uLow, 5.0f / 16.0f);
  EXPECT_FLOAT_EQ(rect.uHigh, 11.0f / 16.0f);
  EXPECT_FLOAT_EQ(rect.vLow, 2.0f / 8.0f);
  EXPECT_FLOAT_EQ(rect.vHigh, 5.0f / 8.0f);
}

TEST(SpriteExtent, texelsOnAnEdgeReachTheOtherEdgeThroughTheWrap) {
  const std::vector<unsigned char> left = alphaWith(16, 8, {{0, 4}});
  const TextureRect fromLeft = visibleRect(left.data(), 16, 8, 0.01f);
  EXPECT_FLOAT_EQ(fromLeft.uLow, 0.0f);
  EXPECT_FLOAT_EQ(fromLeft.uHigh, 1.0f);
  const std::vector<unsigned char> top = alphaWith(16, 8, {{8, 7}});
  const TextureRect fromTop = visibleRect(top.data(), 16, 8, 0.01f);
  EXPECT_FLOAT_EQ(fromTop.vLow, 0.0f);
  EXPECT_FLOAT_EQ(fromTop.vHigh, 1.0f);
}

TEST(SpriteExtent, faintTexelsCountFromOneStepBelowTheThreshold) {
  // 1 % of 255 is 2.55: a byte of 2 may still pass after the GL's rounding, a byte of 1 cannot.
  const std::vector<unsigned char> two = alphaWith(16, 8, {{8, 4}}, 2);
  EXPECT_LT(visibleRect(two.data(), 16, 8, 0.01f).uLow, 0.5f);
  const std::vector<unsigned char> one = alphaWith(16, 8, {{8, 4}}, 1);
  const TextureRect none = visibleRect(one.data(), 16, 8, 0.01f);
  EXPECT_FLOAT_EQ(none.uLow, none.uHigh);
}

TEST(SpriteExtent, levelsAreChosenWithTwoToSpare) {
  EXPECT_EQ(coarsestLevelFor(0.25f), 2);
  EXPECT_EQ(coarsestLevelFor(1.0f), 2);
  EXPECT_EQ(coarsestLevelFor(2.0f), 3);
  EXPECT_EQ(coarsestLevelFor(5.0f), 5);
  SpriteExtent extent;
  extent.upToLevel = {{0.4f, 0.0f, 0.6f, 1.0f}, {0.3f, 0.0f, 0.7f, 1.0f}};
  EXPECT_FLOAT_EQ(extent.rectFor(0).uLow, 0.4f);
  EXPECT_FLOAT_EQ(extent.rectFor(7).uLow, 0.3f);
  EXPECT_TRUE(SpriteExtent{}.rectFor(3) == TextureRect{});
}

// A flat view: clip space equals object space, and the viewport is 100 × 50 pixels at (10, 20).
struct FlatView {
  Matrix4 clip;
  int viewport[4] = {10, 20, 100, 50};
};

TEST(SpriteExtent, scissorBoxHoldsTheVisiblePartWithAPixelToSpare) {
  const FlatView view;
  SpriteExtent extent;
  extent.width = 64;
  extent.height = 32;
  extent.upToLevel.assign(8, TextureRect{0.25f, 0.0f, 0.75f, 0.5f});
  ScissorBox box;
  // The quad covers the whole viewport.
  ASSERT_TRUE(spriteScissor(view.clip, view.viewport, extent, Vector3(-1.0f, -1.0f, 0.0f, 0.0f),
                            Vector3(1.0f, -1.0f, 0.0f, 0.0f), Vector3(-1.0f, 1.0f, 0.0f, 0.0f), box));
  EXPECT_EQ(box.x, 10 + 25 - 1);
  EXPECT_EQ(box.width, 50 + 2);
  EXPECT_EQ(box.y, 20);  // a pixel below the quad would be outside the viewport
  EXPECT_EQ(box.height, 25 + 1);
}

TEST(SpriteExtent, quadsThatCannotBeCutAreDrawnWhole) {
  const FlatView view;
  SpriteExtent whole;
  whole.width = 64;
  whole.height = 32;
  whole.upToLevel.assign(3, TextureRect{});
  ScissorBox box;
  const Vector3 left(-1.0f, -1.0f, 0.0f, 0.0f);
  const Vector3 right(1.0f, -1.0f, 0.0f, 0.0f);
  const Vector3 top(-1.0f, 1.0f, 0.0f, 0.0f);
  EXPECT_FALSE(spriteScissor(view.clip, view.viewport, whole, left, right, top, box));
  EXPECT_FALSE(spriteScissor(view.clip, view.viewport, SpriteExtent{}, left, right, top, box));

  // A perspective that puts the quad behind the eye (w = −z), and a quad of no size.
  SpriteExtent cut = whole;
  cut.upToLevel.assign(3, TextureRect{0.25f, 0.0f, 0.75f, 1.0f});
  FlatView behind;
  behind.clip.m[15] = 0.0f;
  behind.clip.m[11] = -1.0f;
  behind.clip.isIdentity = false;
  const Vector3 lift(0.0f, 0.0f, 2.0f, 0.0f);
  EXPECT_FALSE(spriteScissor(behind.clip, behind.viewport, cut, left + lift, right + lift, top + lift, box));
  EXPECT_FALSE(spriteScissor(view.clip, view.viewport, cut, left, left, left, box));
}

TEST(SpriteExtent, measuredFromTheTexturesOwnMipmaps) {
  REQUIRE_GL_CONTEXT();
  // A 32 × 16 sprite, opaque in a 6 × 6 square in the middle: the finer levels stay near the
  // middle, the coarsest ones spread over the whole picture.
  const int width = 32;
  const int height = 16;
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4, 0);
  for (int row = 5; row < 11; ++row) {
    for (int column = 13; column < 19; ++column) {
      std::fill_n(&pixels[(static_cast<size_t>(row) * width + column) * 4], 4, 255);
    }
  }
  GLuint texture = 0;
  glGenTextures(1, &texture);
  platform::bindTexture2D(0, texture);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  GLuint opaque = 0;
  glGenTextures(1, &opaque);
  platform::bindTexture2D(0, opaque);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  platform::bindTexture2D(0, 0);

  const SpriteExtent extent = measureSpriteExtent(texture, 0.01f);
  EXPECT_EQ(extent.width, width);
  EXPECT_EQ(extent.height, height);
  ASSERT_EQ(extent.upToLevel.size(), 6u);  // 32 × 16 down to 1 × 1
  EXPECT_FLOAT_EQ(extent.upToLevel[0].uLow, 12.0f / 32.0f);
  EXPECT_FLOAT_EQ(extent.upToLevel[0].uHigh, 20.0f / 32.0f);
  for (size_t level = 1; level < extent.upToLevel.size(); ++level) {
    EXPECT_LE(extent.upToLevel[level].uLow, extent.upToLevel[level - 1].uLow);
    EXPECT_GE(extent.upToLevel[level].uHigh, extent.upToLevel[level - 1].uHigh);
  }
  EXPECT_TRUE(extent.upToLevel.back() == TextureRect{});
  // Measuring leaves the binding as it was.
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);

  EXPECT_TRUE(measureSpriteExtent(opaque, 0.01f).upToLevel.empty());
  EXPECT_TRUE(measureSpriteExtent(0, 0.01f).upToLevel.empty());

  // Read through a framebuffer, as where textures cannot be read back, the levels measure the
  // same, and the framebuffers bound before stay bound.
  GLint drawnBefore = -1;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawnBefore);
  const SpriteExtent throughFramebuffer = measureSpriteExtentThroughFramebuffer(texture, width, height, 0.01f);
  EXPECT_EQ(throughFramebuffer.width, width);
  EXPECT_EQ(throughFramebuffer.height, height);
  EXPECT_TRUE(throughFramebuffer.upToLevel == extent.upToLevel);
  GLint drawnAfter = -2;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawnAfter);
  EXPECT_EQ(drawnAfter, drawnBefore);
  EXPECT_TRUE(measureSpriteExtentThroughFramebuffer(0, width, height, 0.01f).upToLevel.empty());
  platform::deleteTextures(1, &texture);
  platform::deleteTextures(1, &opaque);
}

}  // namespace
