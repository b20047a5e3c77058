// Display lists that draw the characters 32 to 127 as solid letters extruded along z, each moving
// the model-view origin on by the character's advance; with the metrics of every character.
// Letters are in em units: the em square is 1 × 1, the front face lies at z = 0 and the back face
// at z = −extrusion. listBase is −1 whenever the font holds no lists.
#pragma once

// One character's extent, in em units.
struct GlyphMetrics {
  float blackBoxX = 0.0f;     // width of the inked box
  float blackBoxY = 0.0f;     // height of the inked box
  float glyphOriginX = 0.0f;  // inked box's left edge from the pen position
  float glyphOriginY = 0.0f;  // inked box's top edge above the baseline
  float cellIncX = 0.0f;      // advance to the next character
  float cellIncY = 0.0f;
};

constexpr int kGlyphMetricsCount = 256;

class OutlineFont {
 public:
  OutlineFont() = default;
  virtual ~OutlineFont();  // releaseFont()

  // 96 lists from the bold face of `face`. The letters come from the em-square outline, so `size`
  // (pixels) does not change them; curves are cut into lines no further than 0.02 em from them.
  // A character the typeface cannot give keeps an empty list and zero metrics; false when no
  // typeface or no lists could be had.
  bool createOutlineFont(const char* face, int size, float extrusion);
  // Deletes exactly its 96 lists; a second call does nothing.
  void releaseFont();

  int listBase = -1;
  GlyphMetrics glyphMetrics[kGlyphMetricsCount];  // entries 0 to 95 describe characters 32 to 127
};

OutlineFont& outlineFont();
