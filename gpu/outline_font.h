// Recorded draws of the characters 32 to 127 as solid letters extruded along z, each moving the
// model-view origin on by the character's advance; with the metrics of every character.
// Letters are in em units: the em square is 1 × 1, the front face lies at z = 0 and the back face
// at z = −extrusion. firstRecording is 0 whenever the font holds no recordings.
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

  // 96 recordings from the bold face of `face`. The letters come from the em-square outline, so
  // `size` (pixels) does not change them; curves are cut into lines no further than 0.02 em from
  // them. A character the typeface cannot give keeps an empty recording and zero metrics; false
  // when no typeface or no recordings could be had.
  bool createOutlineFont(const char* face, int size, float extrusion);
  // Releases exactly its 96 recordings; a second call does nothing.
  void releaseFont();
  // Draws the character (32 to 127) and moves the origin on; other codes draw nothing.
  void drawCharacter(unsigned char code) const;

  unsigned int firstRecording = 0;  // that of character 32
  GlyphMetrics glyphMetrics[kGlyphMetricsCount];  // entries 0 to 95 describe characters 32 to 127
};

OutlineFont& outlineFont();
