#include <gtest/gtest.h>

#include <GL/glew.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/debug_log.h"
#include "gpu/bitmap_font.h"
#include "gpu/matrix_helpers.h"
#include "gpu/outline_font.h"
#include "gpu/typeface.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/offscreen_surface.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"

namespace {

bool isLit(const Pixel& p) { return p.r > 128; }

int listsAlive(int base) {
  int alive = 0;
  for (int i = 0; i < kFontCharacterCount; ++i) {
    alive += glIsList(static_cast<GLuint>(base + i)) ? 1 : 0;
  }
  return alive;
}

std::string readLog() { return readTextFile(kLogFileName); }

// Every font logs the typeface standing in for "Arial Black"; each test keeps its own log.
class Fonts : public testing::Test {
 protected:
  PrivateWorkingFolder working_;
};

TEST_F(Fonts, bothFontsMake192ListsAndEachReleasesExactlyItsOwn) {
  REQUIRE_GL_CONTEXT();
  BitmapFont bitmap;
  OutlineFont outline;
  EXPECT_EQ(bitmap.listBase, -1);
  ASSERT_TRUE(bitmap.createBitmapFont("Arial Black", 36));
  ASSERT_TRUE(outline.createOutlineFont("Arial Black", 24, 0.2f));
  const int bitmapBase = bitmap.listBase;
  const int outlineBase = outline.listBase;
  EXPECT_GE(std::abs(outlineBase - bitmapBase), kFontCharacterCount);
  EXPECT_EQ(listsAlive(bitmapBase) + listsAlive(outlineBase), 192);

  bitmap.releaseFont();
  EXPECT_EQ(bitmap.listBase, -1);
  EXPECT_EQ(listsAlive(bitmapBase), 0);
  EXPECT_EQ(listsAlive(outlineBase), kFontCharacterCount);
  bitmap.releaseFont();
  outline.releaseFont();
  EXPECT_EQ(listsAlive(outlineBase), 0);
}

TEST_F(Fonts, aMissingTypefaceIsLoggedAndABoldSansStandsIn) {
  platform::FontSource source;
  EXPECT_TRUE(openTypeface("No Such Family", source));
  const std::string log = readLog();
  EXPECT_EQ(log.rfind("Font: No Such Family is not installed, using ", 0), 0u) << log;
  EXPECT_NE(log.find(" Bold\r\n"), std::string::npos) << log;
}

TEST_F(Fonts, bitmapCharactersDrawAtTheRasterPositionAndAdvanceIt) {
  REQUIRE_GL_CONTEXT();
  BitmapFont font;
  ASSERT_TRUE(font.createBitmapFont("Arial Black", 36));
  OffscreenSurface surface;
  ASSERT_TRUE(surface.ready());
  surface.begin();
  pushMatrices();
  setOrtho2D(0.0f, 64.0f, 0.0f, 64.0f);
  glDisable(GL_TEXTURE_2D);
  glColor3f(1.0f, 1.0f, 1.0f);
  glRasterPos2f(4.0f, 10.0f);
  glCallList(static_cast<GLuint>(font.listBase + ('H' - kFontFirstCharacter)));
  float position[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
  popMatrices();
  surface.end();

  EXPECT_GT(position[0], 4.0f + 20.0f);
  EXPECT_FLOAT_EQ(position[1], 10.0f);
  EXPECT_GT(surface.countPixels(&isLit), 200);
  EXPECT_FALSE(isLit(surface.pixel(2, 30)));
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
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(o.glyphOriginX, o.glyphOriginX + o.blackBoxX, o.glyphOriginY - o.blackBoxY, o.glyphOriginY, -0.1, 0.1);
  glMatrixMode(GL_MODELVIEW);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glColor3f(1.0f, 1.0f, 1.0f);
  glCallList(static_cast<GLuint>(font.listBase + ('O' - kFontFirstCharacter)));
  float modelView[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
  glDisable(GL_CULL_FACE);
  popMatrices();
  surface.end();

  EXPECT_FLOAT_EQ(modelView[12], o.cellIncX);
  EXPECT_TRUE(isLit(surface.pixel(2, 32)));
  EXPECT_TRUE(isLit(surface.pixel(32, 2)));
  EXPECT_FALSE(isLit(surface.pixel(32, 32)));
}

}  // namespace
