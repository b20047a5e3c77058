// The title scene's extruded texts: capital letters from a font outline, with tessellated caps
// and side walls, centred on the origin and facing +z, one mesh for each letter.
#pragma once

#include <string>
#include <vector>

#include "tools/baked_model.h"
#include "tools/baked_models.h"

namespace baker {

constexpr float kTextMaxWidth = 14.0f;
constexpr float kTextMaxHeight = 3.0f;
constexpr float kTextDepth = 1.5f;

// The UTF-8 line in capitals, in "Arial Black" or, where that is not installed, a bold sans
// face, scaled to fit kTextMaxWidth x kTextMaxHeight. Each character with an outline becomes one
// mesh, "letter1", "letter2", ... from the left; a line without any such character gives one
// empty mesh, "text". False (with a line on stderr) when the line is not UTF-8, no font can be
// read, the font lacks one of its characters or an outline cannot be cut into triangles.
bool buildTextModel(const std::string& line, BakedModel* model);

std::vector<ModelPicture> paintTextPictures();

// The first character of a line, in capitals, that the text font has no glyph for.
struct MissingCharacter {
  bool found = false;
  char32_t character = 0;
  std::string fontName;  // family and style, e.g. "DejaVu Sans Bold"
};
// Nothing is found when the font has every character, or when no font can be read (buildTextModel
// then says so).
MissingCharacter findMissingCharacter(const std::u32string& line);

// Letters to capitals: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic; everything else
// unchanged. No locale is consulted, so every machine bakes the same letters.
char32_t capitalOf(char32_t character);
std::u32string toCapitals(const std::u32string& text);

}  // namespace baker
