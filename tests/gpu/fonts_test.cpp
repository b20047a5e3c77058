#include <gtest/gtest.h>

#include <GL/glew.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/debug_log.h"
#include "gpu/bitmap_font.h"
#include "gpu/draw_layer.h"
#include "gpu/matrix_helpers.h"
#include "gpu/outline_font.h"
#include "gpu/typeface.h"
#include "platform/gl_capabilities.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/offscreen_surface.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"

namespace {

bool isLit(const Pixel& p) { return p.r > 128; }

int listsAlive(unsigned int first) {
  int alive = 0;
  for (int i = 0; i < kFontCharacterCount; ++i) {
    alive += glIsList(first + static_cast<GLuint>(i)) ? 1 : 0;
  }
  return alive;
}

// Nothing but the current colour: no texture, depth, blending or lighting.
PassState plainPass() {
  PassState pass;
  pass.depthWrite = false;
  return pass;
}

std::string readLog() { return readTextFile(kLogFileName); }

// Every font logs the typeface standing in for "Arial Black"; each test keeps its own log.
class Fonts : public testing::Test {
 protected:
  PrivateWorkingFolder working_;
};

TEST_F(Fonts, eachFontReleasesExactlyWhatItMade) {
  REQUIRE_GL_CONTEXT();
  BitmapFont bitmap;
  OutlineFont outline;
  EXPECT_EQ(bitmap.texture, 0u);
  EXPECT_EQ(outline.firstRecording, 0u);
  ASSERT_TRUE(bitmap.createBitmapFont("Arial Black", 36));
  ASSERT_TRUE(outline.createOutlineFont("Arial Black", 24, 0.2f));
  const unsigned int atlas = bitmap.texture;
  const unsigned int first = outline.firstRecording;
  EXPECT_TRUE(glIsTexture(atlas));
  // The atlas keeps to sides every driver takes.
  EXPECT_EQ(bitmap.atlasWidth & (bitmap.atlasWidth - 1), 0);
  EXPECT_EQ(bitmap.atlasHeight & (bitmap.atlasHeight - 1), 0);
  const bool recordingsAreLists = platform::contextCapabilities().hasFixedFunction();
  if (recordingsAreLists) {
    EXPECT_EQ(listsAlive(first), kFontCharacterCount);
  }

  bitmap.releaseFont();
  EXPECT_EQ(bitmap.texture, 0u);
  EXPECT_FALSE(glIsTexture(atlas));
  if (recordingsAreLists) {
    EXPECT_EQ(listsAlive(first), kFontCharacterCount);
  }
  bitmap.releaseFont();
  outline.releaseFont();
  outline.releaseFont();
  EXPECT_EQ(outline.firstRecording, 0u);
  if (recordingsAreLists) {
    EXPECT_EQ(listsAlive(first), 0);
  }
}

TEST_F(Fonts, aMissingTypefaceIsLoggedAndABoldSansStandsIn) {
  platform::FontSource source;
  EXPECT_TRUE(openTypeface("No Such Family", source));
  const std::string log = readLog();
  EXPECT_EQ(log.rfind("Font: No Such Family is not installed, using ", 0), 0u) << log;
  EXPECT_NE(log.find(" Bold\r\n"), std::string::npos) << log;
}

// The text as glBitmap drew it: each character's bitmap from the raster position, which moves on by
// the character's advance.
void drawWithBitmaps(float x, float y, const char* text) {
  platform::FontSource source;
  ASSERT_TRUE(openTypeface("Arial Black", source));
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glRasterPos2f(x, y);
  for (const char* at = text; *at != '\0'; ++at) {
    platform::GlyphBitmap glyph;
    ASSERT_TRUE(source.glyphBitmap(static_cast<unsigned char>(*at), 36, glyph));
    glBitmap(glyph.width, glyph.height, static_cast<float>(-glyph.left), static_cast<float>(glyph.height - glyph.top),
             glyph.advanceX, 0.0f, glyph.bits.empty() ? nullptr : glyph.bits.data());
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

bool samePixels(const OffscreenSurface& a, const OffscreenSurface& b, int& differing) {
  differing = 0;
  for (int y = 0; y < a.size(); ++y) {
    for (int x = 0; x < a.size(); ++x) {
      const Pixel p = a.pixel(x, y);
      const Pixel q = b.pixel(x, y);
      differing += (p.r != q.r || p.g != q.g || p.b != q.b || p.a != q.a) ? 1 : 0;
    }
  }
  return differing == 0;
}

TEST_F(Fonts, atlasTextLightsExactlyThePixelsTheGlyphBitmapsDid) {
  REQUIRE_GL_CONTEXT();
  if (!platform::contextCapabilities().hasFixedFunction()) {
    GTEST_SKIP() << "glBitmap, the old text's way, needs the compatibility profile";
  }
  BitmapFont font;
  ASSERT_TRUE(font.createBitmapFont("Arial Black", 36));
  // Fractional advances add up along the line, and the digits and letters stand on and below
  // the baseline.
  const char* const text = "9.5 s fpg";
  OffscreenSurface atlasText(256);
  OffscreenSurface bitmapText(256);
  ASSERT_TRUE(atlasText.ready() && bitmapText.ready());
  DrawLayer& layer = drawLayer();

  atlasText.begin();
  pushMatrices();
  setOrtho2D(0.0f, 256.0f, 0.0f, 256.0f);
  layer.applyPass(bitmapTextPass());
  layer.color(1.0f, 1.0f, 0.6f);
  font.drawText(3.0f, 40.0f, text);
  popMatrices();
  atlasText.end();

  bitmapText.begin();
  pushMatrices();
  setOrtho2D(0.0f, 256.0f, 0.0f, 256.0f);
  layer.applyPass(plainPass());
  layer.color(1.0f, 1.0f, 0.6f);
  drawWithBitmaps(3.0f, 40.0f, text);
  popMatrices();
  bitmapText.end();

  EXPECT_GT(atlasText.countPixels(&isLit), 500);
  int differing = 0;
  EXPECT_TRUE(samePixels(atlasText, bitmapText, differing)) << differing << " pixels differ";
  EXPECT_EQ(atlasText.pixel(0, 0).r, 0);
}

TEST_F(Fonts, charactersOutsideTheFontAreSkippedAndAFailedFontDrawsNothing) {
  REQUIRE_GL_CONTEXT();
  BitmapFont font;
  ASSERT_TRUE(font.createBitmapFont("Arial Black", 36));
  OffscreenSurface surface(128);
  ASSERT_TRUE(surface.ready());
  surface.begin();
  pushMatrices();
  setOrtho2D(0.0f, 128.0f, 0.0f, 128.0f);
  drawLayer().applyPass(bitmapTextPass());
  drawLayer().color(1.0f, 1.0f, 1.0f);
  font.drawText(4.0f, 60.0f, "\x01\x1f\xe9\n");
  BitmapFont none;
  none.drawText(4.0f, 60.0f, "HHH");
  popMatrices();
  surface.end();
  EXPECT_EQ(surface.countPixels(&isLit), 0);
}

TEST_F(Fonts, outlineLettersAreSolidFrontFacingAndKeepTheirCounters) {
  REQUIRE_GL_CONTEXT();
  OutlineFont font;
  ASSERT_TRUE(font.createOutlineFont("Arial Black", 24, 0.2f));
  const GlyphMetrics& o = font.glyphMetrics['O' - kFontFirstCharacter];
  ASSERT_GT(o.blackBoxX, 0.0f);
  EXPECT_GT(o.cellIncX, o.blackBoxX);
  EXPECT_EQ(o.cellIncY, 0.0f);
  EXPECT_GT(font.glyphMetrics[0].cellIncX, 0.0f);

  OffscreenSurface surface;
  ASSERT_TRUE(surface.ready());
  surface.begin();
  pushMatrices();
  // The view frames the letter's inked box exactly and clips the back face away, so only a
  // front face wound counter-clockwise can survive the culling.
  setOrtho2D(0.0f, 1.0f, 0.0f, 1.0f);
  DrawLayer& layer = drawLayer();
  layer.matrixMode(MatrixStack::Projection);
  layer.loadIdentity();
  layer.ortho2D(o.glyphOriginX, o.glyphOriginX + o.blackBoxX, o.glyphOriginY - o.blackBoxY, o.glyphOriginY);
  // Depth from -0.1 to 0.1 (ortho2D's is -1 to 1): the back face at -0.2 lies beyond it.
  layer.scale(1.0f, 1.0f, 10.0f);
  layer.matrixMode(MatrixStack::ModelView);
  PassState culling = plainPass();
  culling.cullBackFaces = true;
  layer.applyPass(culling);
  layer.color(1.0f, 1.0f, 1.0f);
  font.drawCharacter('O');
  const Matrix4 modelView = layer.matrix(MatrixStack::ModelView);
  layer.applyPass(plainPass());
  popMatrices();
  surface.end();

  EXPECT_FLOAT_EQ(modelView.m[12], o.cellIncX);
  EXPECT_TRUE(isLit(surface.pixel(2, 32)));
  EXPECT_TRUE(isLit(surface.pixel(32, 2)));
  EXPECT_FALSE(isLit(surface.pixel(32, 32)));
}

}  // namespace
