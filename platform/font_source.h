// Glyphs of a typeface read with FreeType: monochrome bitmaps at a pixel size, and outlines
// flattened to closed polygons in em units. The face is found through fontconfig on the desktop
// (font_match_desktop.cpp) and is the one the page bundles on the web (font_match_web.cpp).
#pragma once

#include <string>
#include <vector>

namespace platform {

// What fontconfig picked for a requested family.
struct FontMatch {
  std::string path;
  int faceIndex = 0;
  std::string family;
  std::string style;
  bool requestedFamily = false;  // false when a fallback bold sans stands in
};

// The bold face of `family`; when that family is not installed, a bold sans-serif face (on
// Debian, DejaVu Sans Bold; on the web always that one). False when fontconfig knows no scalable
// face at all.
bool findFont(const char* family, FontMatch& match);

// One glyph for glBitmap: 1 bit per pixel, most significant bit first, rows bottom-up, each row
// (width + 7) / 8 bytes.
struct GlyphBitmap {
  int width = 0;
  int height = 0;
  int left = 0;  // pixels from the pen position to the bitmap's left column
  int top = 0;   // pixels from the baseline up to the bitmap's top row
  float advanceX = 0.0f;
  std::vector<unsigned char> bits;
};

struct OutlinePoint {
  float x = 0.0f;
  float y = 0.0f;
};

// One glyph as closed contours in em units (the em square is 1 × 1), y up, with its metrics.
struct GlyphOutline {
  std::vector<std::vector<OutlinePoint>> contours;  // the closing point is not repeated
  bool filledOnRight = true;  // the glyph's inside lies to the right of each contour's travel
  float blackBoxX = 0.0f;
  float blackBoxY = 0.0f;
  float originX = 0.0f;  // left edge of the black box from the pen position
  float originY = 0.0f;  // top edge of the black box above the baseline
  float advanceX = 0.0f;
  float advanceY = 0.0f;
};

class FontSource {
 public:
  FontSource() = default;
  FontSource(const FontSource&) = delete;
  FontSource& operator=(const FontSource&) = delete;
  ~FontSource();

  // Opens the matched file; false when FreeType cannot read it as a scalable face.
  bool open(const FontMatch& match);
  bool isOpen() const { return face_ != nullptr; }
  // True when the face has a glyph of its own for the character, not just its missing-glyph shape.
  bool hasGlyph(unsigned int code) const;
  // The character rendered at pixelHeight pixels to the em; characters the face lacks give its
  // missing-glyph shape.
  bool glyphBitmap(unsigned int code, int pixelHeight, GlyphBitmap& out);
  // The character's outline with curves cut into lines no further than deviationEm from them.
  bool glyphOutline(unsigned int code, float deviationEm, GlyphOutline& out);

 private:
  void close();

  void* library_ = nullptr;  // FT_Library
  void* face_ = nullptr;     // FT_Face
};

}  // namespace platform
