// The outlines of a line of text in a font file, as closed polygons with the curves flattened.
// Invariant: every contour runs counter-clockwise around filled area and clockwise around holes
// (the filled side is on the left), whatever the font's own convention.
#pragma once

#include <string>
#include <vector>

#include "core/vector3.h"

struct TextOutline {
  std::vector<std::vector<Vector3>> contours;  // x, y in em units (1 = the font's em), z = 0
};

// Lays the glyphs of `text` side by side with the font's advances and kerning; characters the
// font lacks are left out. False (with a line on stderr) when the font cannot be opened.
bool loadTextOutline(const std::string& fontFile, const std::string& text, TextOutline* outline);
