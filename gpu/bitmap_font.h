// Text drawn from a glyph atlas: the characters 32 to 127 of a typeface at one pixel size, held in
// one texture, and laid down as one textured quad per character in the window's pixel grid.
// texture is 0 whenever the font holds no atlas.
#pragma once

#include "gpu/draw_layer.h"
#include "gpu/typeface.h"

// One character: where its picture lies in the atlas and how it stands on the baseline, in pixels.
struct AtlasGlyph {
  int atlasX = 0;  // the picture's lower-left texel
  int atlasY = 0;
  int width = 0;
  int height = 0;
  int left = 0;   // from the pen position to the picture's left column
  int below = 0;  // rows of the picture below the baseline
  float advanceX = 0.0f;
};

// The pass text is drawn in: the atlas's alpha cuts the glyphs out, so a character lights exactly
// the pixels its bitmap covers, in the current colour; no depth test, blending or lighting.
PassState bitmapTextPass();

class BitmapFont {
 public:
  BitmapFont() = default;
  virtual ~BitmapFont();  // releaseFont()

  // The atlas from the bold face of `face`, `size` pixels to the em. Characters the typeface
  // cannot give draw nothing; false, with a log line, when no typeface or no atlas could be had.
  bool createBitmapFont(const char* face, int size);
  // Deletes the atlas; a second call does nothing.
  void releaseFont();

  // Draws the text in the current colour with the pen starting at (x, y), through matrices that
  // map one unit to one window pixel, in bitmapTextPass or one like it. Codes outside 32 to 127
  // are skipped. Leaves no texture bound on unit 0.
  void drawText(float x, float y, const char* text) const;

  unsigned int texture = 0;
  int atlasWidth = 0;  // texels
  int atlasHeight = 0;
  AtlasGlyph glyphs[kFontCharacterCount];  // character 32 first
};

BitmapFont& bitmapFont();
