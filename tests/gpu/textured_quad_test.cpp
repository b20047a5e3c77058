#include <gtest/gtest.h>

#include <GL/glew.h>

#include "gpu/draw_layer.h"
#include "gpu/matrix_helpers.h"
#include "gpu/textured_quad.h"
#include "platform/gl_binding_record.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/offscreen_surface.h"

namespace {

bool isRed(const Pixel& p) { return p.r == 255 && p.g == 0 && p.b == 0; }
bool isBlank(const Pixel& p) { return p.r == 0 && p.g == 0 && p.b == 0; }

// Unit 0 modulating, unit 1 adding, as many as are asked for.
PassState texturedPass(int units) {
  PassState pass;
  for (int unit = 0; unit < units; ++unit) {
    pass.units[unit] = TextureUnitState{true, unit == 0 ? TextureMode::Modulate : TextureMode::AddTexel};
  }
  return pass;
}

void drawWithTexture(unsigned int texture, float xLeft, float xRight) {
  DrawLayer& layer = drawLayer();
  pushMatrices();
  setOrtho2D(0.0f, 1.0f, 0.0f, 1.0f);
  layer.applyPass(texturedPass(1));
  layer.bindTexture(0, texture);
  layer.color(1.0f, 1.0f, 1.0f);
  drawTexturedQuad(0.0f, 0.0f, 1.0f, 1.0f, xLeft, 0.0f, xRight, 1.0f);
  layer.bindTexture(0, 0);
  layer.applyPass(PassState());
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
  platform::deleteTextures(1, &texture);
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
  platform::deleteTextures(1, &texture);
}

TEST(TexturedQuad, unitSquareGivesEveryUnitTheSameTextureCoordinates) {
  REQUIRE_GL_CONTEXT();
  OffscreenSurface surface;
  ASSERT_TRUE(surface.ready());
  const unsigned int quadrants = createQuadrantTexture();
  // Blue 100 in the bottom-left texel only, added on unit 1 to what unit 0 shows.
  const unsigned char texels[] = {0, 0, 100, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
  const unsigned int corner = createTwoByTwoTexture(texels);

  DrawLayer& layer = drawLayer();
  surface.begin();
  pushMatrices();
  setOrtho2D(0.0f, 1.0f, 0.0f, 1.0f);
  layer.color(1.0f, 1.0f, 1.0f);
  layer.applyPass(texturedPass(2));
  layer.bindTexture(0, quadrants);
  layer.bindTexture(1, corner);
  drawUnitSquareOnUnits(2);
  layer.bindTexture(1, 0);
  layer.bindTexture(0, 0);
  layer.applyPass(PassState());
  popMatrices();
  surface.end();

  const Pixel bottomLeft = surface.pixel(8, 8);
  EXPECT_EQ(bottomLeft.r, 255);
  EXPECT_EQ(bottomLeft.b, 100);
  EXPECT_EQ(surface.pixel(56, 8).b, 0);
  EXPECT_EQ(surface.pixel(8, 56).b, 255);
  EXPECT_EQ(surface.countPixels(&isBlank), 0);
  platform::deleteTextures(1, &corner);
  platform::deleteTextures(1, &quadrants);
}

}  // namespace
