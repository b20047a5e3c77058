#include <gtest/gtest.h>

#include <GL/glew.h>

#include "gpu/matrix_helpers.h"
#include "gpu/textured_quad.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/offscreen_surface.h"

namespace {

bool isRed(const Pixel& p) { return p.r == 255 && p.g == 0 && p.b == 0; }
bool isBlank(const Pixel& p) { return p.r == 0 && p.g == 0 && p.b == 0; }

void drawWithTexture(unsigned int texture, float xLeft, float xRight) {
  pushMatrices();
  setOrtho2D(0.0f, 1.0f, 0.0f, 1.0f);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glColor3f(1.0f, 1.0f, 1.0f);
  drawTexturedQuad(0.0f, 0.0f, 1.0f, 1.0f, xLeft, 0.0f, xRight, 1.0f);
  popMatrices();
}

TEST(TexturedQuad, unitQuadCoversTheSurfaceWithTheWholeTextureTheRightWayUp) {
  REQUIRE_GL_CONTEXT();
  OffscreenSurface surface;
  ASSERT_TRUE(surface.ready());
  const unsigned int texture = createQuadrantTexture();
  surface.begin();
  drawWithTexture(texture, 0.0f, 1.0f);
  surface.end();

  const Pixel bottomLeft = surface.pixel(8, 8);
  const Pixel bottomRight = surface.pixel(56, 8);
  const Pixel topLeft = surface.pixel(8, 56);
  const Pixel topRight = surface.pixel(56, 56);
  EXPECT_TRUE(isRed(bottomLeft));
  EXPECT_EQ(bottomRight.g, 255);
  EXPECT_EQ(bottomRight.r, 0);
  EXPECT_EQ(topLeft.b, 255);
  EXPECT_EQ(topLeft.r, 0);
  EXPECT_EQ(topRight.r + topRight.g + topRight.b, 3 * 255);
  EXPECT_EQ(surface.countPixels(&isBlank), 0);
  glDeleteTextures(1, &texture);
}

TEST(TexturedQuad, drawsOnlyInsideItsScreenCorners) {
  REQUIRE_GL_CONTEXT();
  OffscreenSurface surface;
  ASSERT_TRUE(surface.ready());
  const unsigned int texture = createQuadrantTexture();
  surface.begin();
  drawWithTexture(texture, 0.5f, 1.0f);
  surface.end();

  EXPECT_EQ(surface.countPixels(&isBlank), 32 * 64);
  EXPECT_TRUE(isBlank(surface.pixel(16, 8)));
  // The whole texture is squeezed into the right half: red now sits just right of the middle.
  EXPECT_TRUE(isRed(surface.pixel(40, 8)));
  glDeleteTextures(1, &texture);
}

TEST(TexturedQuad, unitSquareGivesEveryUnitTheSameTextureCoordinates) {
  REQUIRE_GL_CONTEXT();
  OffscreenSurface surface;
  ASSERT_TRUE(surface.ready());
  const unsigned int quadrants = createQuadrantTexture();
  // Blue 100 in the bottom-left texel only, added on unit 1 to what unit 0 shows.
  const unsigned char texels[] = {0, 0, 100, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
  const unsigned int corner = createTwoByTwoTexture(texels);

  surface.begin();
  pushMatrices();
  setOrtho2D(0.0f, 1.0f, 0.0f, 1.0f);
  glColor3f(1.0f, 1.0f, 1.0f);
  glActiveTexture(GL_TEXTURE0);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, quadrants);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glActiveTexture(GL_TEXTURE1);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, corner);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
  drawUnitSquareOnUnits(2);
  glDisable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glActiveTexture(GL_TEXTURE0);
  popMatrices();
  surface.end();

  const Pixel bottomLeft = surface.pixel(8, 8);
  EXPECT_EQ(bottomLeft.r, 255);
  EXPECT_EQ(bottomLeft.b, 100);
  EXPECT_EQ(surface.pixel(56, 8).b, 0);
  EXPECT_EQ(surface.pixel(8, 56).b, 255);
  EXPECT_EQ(surface.countPixels(&isBlank), 0);
  glDeleteTextures(1, &corner);
  glDeleteTextures(1, &quadrants);
}

}  // namespace
