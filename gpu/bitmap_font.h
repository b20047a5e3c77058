// Display lists that draw the characters 32 to 127 as bitmaps at the current raster position,
// each moving the raster position on by the character's advance.
// listBase is −1 whenever the font holds no lists.
#pragma once

class BitmapFont {
 public:
  BitmapFont() = default;
  virtual ~BitmapFont();  // releaseFont()

  // 96 lists from the bold face of `face`, `size` pixels to the em. Characters the typeface cannot
  // give keep empty lists; false when no typeface or no lists could be had.
  bool createBitmapFont(const char* face, int size);
  // Deletes exactly its 96 lists; a second call does nothing.
  void releaseFont();

  int listBase = -1;
};

BitmapFont& bitmapFont();
