// Glyph outlines through FreeType, read in font units and flattened with fixed steps per curve,
// so the same font always gives the same polygons.
#include "tools/glyph_outlines.h"

#include <algorithm>
#include <cstdio>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace {

constexpr int kConicSteps = 6;
constexpr int kCubicSteps = 8;

struct OutlineWalk {
  std::vector<std::vector<Vector3>>* contours;
  float scale;    // em units per font unit
  float offsetX;  // pen position of the glyph, in em units
  Vector3 pen;    // last point, in font units
};

Vector3 toVector(const FT_Vector* p) { return Vector3(static_cast<float>(p->x), static_cast<float>(p->y), 0.0f); }

void appendPoint(OutlineWalk* walk, const Vector3& fontPoint) {
  walk->pen = fontPoint;
  std::vector<Vector3>& contour = walk->contours->back();
  const Vector3 point(walk->offsetX + fontPoint.x * walk->scale, fontPoint.y * walk->scale, 0.0f);
  if (!contour.empty() && (contour.back() - point).length() < 1e-6f) {
    return;
  }
  contour.push_back(point);
}

int moveTo(const FT_Vector* to, void* user) {
  OutlineWalk* walk = static_cast<OutlineWalk*>(user);
  walk->contours->emplace_back();
  appendPoint(walk, toVector(to));
  return 0;
}

int lineTo(const FT_Vector* to, void* user) {
  appendPoint(static_cast<OutlineWalk*>(user), toVector(to));
  return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  OutlineWalk* walk = static_cast<OutlineWalk*>(user);
  const Vector3 p0 = walk->pen;
  const Vector3 p1 = toVector(control);
  const Vector3 p2 = toVector(to);
  for (int i = 1; i <= kConicSteps; ++i) {
    const float t = static_cast<float>(i) / kConicSteps;
    const float s = 1.0f - t;
    appendPoint(walk, p0 * (s * s) + p1 * (2.0f * s * t) + p2 * (t * t));
  }
  return 0;
}

int cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
  OutlineWalk* walk = static_cast<OutlineWalk*>(user);
  const Vector3 p0 = walk->pen;
  const Vector3 p1 = toVector(control1);
  const Vector3 p2 = toVector(control2);
  const Vector3 p3 = toVector(to);
  for (int i = 1; i <= kCubicSteps; ++i) {
    const float t = static_cast<float>(i) / kCubicSteps;
    const float s = 1.0f - t;
    appendPoint(walk, p0 * (s * s * s) + p1 * (3.0f * s * s * t) + p2 * (3.0f * s * t * t) + p3 * (t * t * t));
  }
  return 0;
}

// Drops the closing point that repeats the first, and contours too small to hold area.
void tidyContours(std::vector<std::vector<Vector3>>* contours, size_t from) {
  std::vector<std::vector<Vector3>> kept(contours->begin(), contours->begin() + static_cast<long>(from));
  for (size_t i = from; i < contours->size(); ++i) {
    std::vector<Vector3> contour = (*contours)[i];
    if (contour.size() > 1 && (contour.front() - contour.back()).length() < 1e-6f) {
      contour.pop_back();
    }
    if (contour.size() >= 3) {
      kept.push_back(contour);
    }
  }
  *contours = kept;
}

void reverseContours(std::vector<std::vector<Vector3>>* contours, size_t from) {
  for (size_t i = from; i < contours->size(); ++i) {
    std::reverse((*contours)[i].begin(), (*contours)[i].end());
  }
}

}  // namespace

bool loadTextOutline(const std::string& fontFile, const std::string& text, TextOutline* outline) {
  outline->contours.clear();
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    std::fprintf(stderr, "glyph outlines: FreeType does not start\n");
    return false;
  }
  FT_Face face = nullptr;
  if (FT_New_Face(library, fontFile.c_str(), 0, &face) != 0) {
    std::fprintf(stderr, "glyph outlines: cannot open the font %s\n", fontFile.c_str());
    FT_Done_FreeType(library);
    return false;
  }
  const float scale = 1.0f / static_cast<float>(face->units_per_EM);
  FT_Outline_Funcs funcs{};
  funcs.move_to = &moveTo;
  funcs.line_to = &lineTo;
  funcs.conic_to = &conicTo;
  funcs.cubic_to = &cubicTo;
  float penX = 0.0f;
  FT_UInt previous = 0;
  for (unsigned char c : text) {
    const FT_UInt glyph = FT_Get_Char_Index(face, c);
    if (glyph == 0 || FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0) {
      continue;
    }
    if (previous != 0 && FT_HAS_KERNING(face)) {
      FT_Vector kerning{};
      FT_Get_Kerning(face, previous, glyph, FT_KERNING_UNSCALED, &kerning);
      penX += static_cast<float>(kerning.x) * scale;
    }
    previous = glyph;
    if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
      const size_t first = outline->contours.size();
      OutlineWalk walk{&outline->contours, scale, penX, Vector3()};
      FT_Outline_Decompose(&face->glyph->outline, &funcs, &walk);
      tidyContours(&outline->contours, first);
      // TrueType fonts fill to the right of their contours; turn them to fill on the left.
      if (FT_Outline_Get_Orientation(&face->glyph->outline) == FT_ORIENTATION_TRUETYPE) {
        reverseContours(&outline->contours, first);
      }
    }
    penX += static_cast<float>(face->glyph->advance.x) * scale;
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return true;
}
