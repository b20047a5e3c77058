#include <gtest/gtest.h>

#include <cmath>

#include "platform/font_source.h"

namespace {

TEST(FontSource, aMissingFamilyFallsBackToABoldSans) {
  platform::FontMatch match;
  ASSERT_TRUE(platform::findFont("No Such Family Anywhere", match));
  EXPECT_FALSE(match.requestedFamily);
  EXPECT_FALSE(match.path.empty());
  EXPECT_NE(match.style.find("Bold"), std::string::npos) << match.family << " " << match.style;
}

TEST(FontSource, outlinesAreClosedPolygonsInEmUnitsWithTheirHoles) {
  platform::FontMatch match;
  ASSERT_TRUE(platform::findFont("Arial Black", match));
  platform::FontSource source;
  ASSERT_TRUE(source.open(match));

  platform::GlyphOutline letter;
  ASSERT_TRUE(source.glyphOutline('O', 0.02f, letter));
  ASSERT_EQ(letter.contours.size(), 2u);
  for (const auto& contour : letter.contours) {
    EXPECT_GE(contour.size(), 8u);
    EXPECT_FALSE(contour.front().x == contour.back().x && contour.front().y == contour.back().y);
    for (const platform::OutlinePoint& point : contour) {
      EXPECT_GE(point.x, letter.originX - 1e-4f);
      EXPECT_LE(point.x, letter.originX + letter.blackBoxX + 1e-4f);
      EXPECT_LE(point.y, letter.originY + 1e-4f);
      EXPECT_GE(point.y, letter.originY - letter.blackBoxY - 1e-4f);
    }
  }
  EXPECT_GT(letter.blackBoxY, 0.5f);
  EXPECT_LT(letter.blackBoxY, 1.0f);
  EXPECT_GT(letter.advanceX, letter.blackBoxX);

  platform::GlyphOutline space;
  ASSERT_TRUE(source.glyphOutline(' ', 0.02f, space));
  EXPECT_TRUE(space.contours.empty());
  EXPECT_GT(space.advanceX, 0.0f);
}

TEST(FontSource, tellsTheCharactersItHasFromThoseItLacks) {
  platform::FontMatch match;
  ASSERT_TRUE(platform::findFont("Arial Black", match));
  platform::FontSource source;
  ASSERT_TRUE(source.open(match));
  EXPECT_TRUE(source.hasGlyph('A'));
  EXPECT_TRUE(source.hasGlyph(0xC4)) << "A with diaeresis";
  EXPECT_FALSE(source.hasGlyph(0x6F22)) << "a CJK ideograph";
  EXPECT_FALSE(source.hasGlyph(0x10FFFD)) << "a private-use character";
}

TEST(FontSource, bitmapsArePackedBottomUpRows) {
  platform::FontMatch match;
  ASSERT_TRUE(platform::findFont("Arial Black", match));
  platform::FontSource source;
  ASSERT_TRUE(source.open(match));
  // An L: its bottom row is inked right across, its top row only at the left.
  platform::GlyphBitmap glyph;
  ASSERT_TRUE(source.glyphBitmap('L', 36, glyph));
  const int rowBytes = (glyph.width + 7) / 8;
  ASSERT_EQ(glyph.bits.size(), static_cast<size_t>(rowBytes * glyph.height));
  EXPECT_GT(glyph.height, 20);
  EXPECT_EQ(glyph.top, glyph.height);
  const auto inked = [&](int x, int row) { return (glyph.bits[row * rowBytes + x / 8] >> (7 - x % 8)) & 1; };
  EXPECT_TRUE(inked(glyph.width - 1, 0));
  EXPECT_TRUE(inked(0, glyph.height - 1));
  EXPECT_FALSE(inked(glyph.width - 1, glyph.height - 1));
  EXPECT_GT(glyph.advanceX, static_cast<float>(glyph.width));
}

}  // namespace
