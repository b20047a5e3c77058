#include "platform/font_source.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// ---- Flattening outlines

struct Flattener {
  std::vector<std::vector<OutlinePoint>>* contours = nullptr;
  float toleranceUnits = 1.0f;  // the allowed deviation, in font units
  float unitsPerEm = 1.0f;
  FT_Vector current = {0, 0};
};

void addPoint(Flattener& flat, double x, double y) {
  std::vector<OutlinePoint>& contour = flat.contours->back();
  const OutlinePoint point{static_cast<float>(x / flat.unitsPerEm), static_cast<float>(y / flat.unitsPerEm)};
  if (!contour.empty() && contour.back().x == point.x && contour.back().y == point.y) {
    return;
  }
  contour.push_back(point);
}

// Segments for a curve whose second difference is `bend` (font units) so that no chord strays
// further than the tolerance; `factor` is 1/4 for quadratic and 3/4 for cubic curves.
int segmentsFor(double bend, double factor, float toleranceUnits) {
  const double segments = std::ceil(std::sqrt(factor * bend / toleranceUnits));
  return std::clamp(static_cast<int>(segments), 1, 64);
}

double distance(double x, double y) { return std::sqrt(x * x + y * y); }

int moveTo(const FT_Vector* to, void* user) {
  Flattener& flat = *static_cast<Flattener*>(user);
  flat.contours->emplace_back();
  addPoint(flat, to->x, to->y);
  flat.current = *to;
  return 0;
}

int lineTo(const FT_Vector* to, void* user) {
  Flattener& flat = *static_cast<Flattener*>(user);
  addPoint(flat, to->x, to->y);
  flat.current = *to;
  return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  Flattener& flat = *static_cast<Flattener*>(user);
  const FT_Vector from = flat.current;
  const double bend = distance(from.x - 2.0 * control->x + to->x, from.y - 2.0 * control->y + to->y);
  const int segments = segmentsFor(bend, 0.25, flat.toleranceUnits);
  for (int k = 1; k <= segments; ++k) {
    const double t = static_cast<double>(k) / segments;
    const double a = (1 - t) * (1 - t);
    const double b = 2 * (1 - t) * t;
    const double c = t * t;
    addPoint(flat, a * from.x + b * control->x + c * to->x, a * from.y + b * control->y + c * to->y);
  }
  flat.current = *to;
  return 0;
}

int cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
  Flattener& flat = *static_cast<Flattener*>(user);
  const FT_Vector from = flat.current;
  const double bend = std::max(
      distance(from.x - 2.0 * control1->x + control2->x, from.y - 2.0 * control1->y + control2->y),
      distance(control1->x - 2.0 * control2->x + to->x, control1->y - 2.0 * control2->y + to->y));
  const int segments = segmentsFor(bend, 0.75, flat.toleranceUnits);
  for (int k = 1; k <= segments; ++k) {
    const double t = static_cast<double>(k) / segments;
    const double a = (1 - t) * (1 - t) * (1 - t);
    const double b = 3 * (1 - t) * (1 - t) * t;
    const double c = 3 * (1 - t) * t * t;
    const double d = t * t * t;
    addPoint(flat, a * from.x + b * control1->x + c * control2->x + d * to->x,
             a * from.y + b * control1->y + c * control2->y + d * to->y);
  }
  flat.current = *to;
  return 0;
}

// Drops each contour's closing point (a repeat of its first) and contours with no area left.
void tidyContours(std::vector<std::vector<OutlinePoint>>& contours) {
  for (std::vector<OutlinePoint>& contour : contours) {
    if (contour.size() > 1 && contour.front().x == contour.back().x && contour.front().y == contour.back().y) {
      contour.pop_back();
    }
  }
  contours.erase(std::remove_if(contours.begin(), contours.end(),
                                [](const std::vector<OutlinePoint>& contour) { return contour.size() < 3; }),
                 contours.end());
}

// Copies a rendered monochrome bitmap into bottom-up rows, whichever way FreeType stored it.
void copyBottomUp(const FT_Bitmap& bitmap, GlyphBitmap& out) {
  const size_t rowBytes = (bitmap.width + 7) / 8;
  const int pitch = bitmap.pitch;
  const size_t stride = static_cast<size_t>(pitch < 0 ? -pitch : pitch);
  out.bits.assign(rowBytes * bitmap.rows, 0);
  if (bitmap.buffer == nullptr || rowBytes > stride) {
    return;
  }
  const unsigned char* topRow = pitch >= 0 ? bitmap.buffer : bitmap.buffer + (bitmap.rows - 1) * stride;
  for (unsigned int row = 0; row < bitmap.rows; ++row) {
    const unsigned char* source = topRow + static_cast<ptrdiff_t>(row) * pitch;
    std::copy(source, source + rowBytes, out.bits.begin() + (bitmap.rows - 1 - row) * rowBytes);
  }
}

}  // namespace

FontSource::~FontSource() { close(); }

void FontSource::close() {
  if (face_ != nullptr) {
    FT_Done_Face(static_cast<FT_Face>(face_));
    face_ = nullptr;
  }
  if (library_ != nullptr) {
    FT_Done_FreeType(static_cast<FT_Library>(library_));
    library_ = nullptr;
  }
}

bool FontSource::open(const FontMatch& match) {
  close();
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    return false;
  }
  library_ = library;
  FT_Face face = nullptr;
  if (FT_New_Face(library, match.path.c_str(), match.faceIndex, &face) != 0) {
    close();
    return false;
  }
  face_ = face;
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
    close();
    return false;
  }
  return true;
}

bool FontSource::hasGlyph(unsigned int code) const {
  FT_Face face = static_cast<FT_Face>(face_);
  // Glyph index 0 is the face's missing-glyph shape.
  return face != nullptr && FT_Get_Char_Index(face, code) != 0;
}

bool FontSource::glyphBitmap(unsigned int code, int pixelHeight, GlyphBitmap& out) {
  FT_Face face = static_cast<FT_Face>(face_);
  if (face == nullptr || pixelHeight <= 0 || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight)) != 0) {
    return false;
  }
  if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) {
    return false;
  }
  const FT_GlyphSlot slot = face->glyph;
  if (slot->bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
    return false;
  }
  out.width = static_cast<int>(slot->bitmap.width);
  out.height = static_cast<int>(slot->bitmap.rows);
  out.left = slot->bitmap_left;
  out.top = slot->bitmap_top;
  out.advanceX = std::round(static_cast<float>(slot->advance.x) / 64.0f);
  copyBottomUp(slot->bitmap, out);
  return true;
}

bool FontSource::glyphOutline(unsigned int code, float deviationEm, GlyphOutline& out) {
  FT_Face face = static_cast<FT_Face>(face_);
  // Unscaled, unhinted: the outline in the face's own design units.
  if (face == nullptr || FT_Load_Char(face, code, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0) {
    return false;
  }
  const FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) {
    return false;
  }
  const float unitsPerEm = static_cast<float>(face->units_per_EM);
  out.contours.clear();
  Flattener flat;
  flat.contours = &out.contours;
  flat.unitsPerEm = unitsPerEm;
  flat.toleranceUnits = std::max(deviationEm * unitsPerEm, 0.01f);
  FT_Outline_Funcs funcs = {};
  funcs.move_to = &moveTo;
  funcs.line_to = &lineTo;
  funcs.conic_to = &conicTo;
  funcs.cubic_to = &cubicTo;
  if (FT_Outline_Decompose(&slot->outline, &funcs, &flat) != 0) {
    out.contours.clear();
    return false;
  }
  tidyContours(out.contours);
  out.filledOnRight = FT_Outline_Get_Orientation(&slot->outline) != FT_ORIENTATION_POSTSCRIPT;
  const FT_Glyph_Metrics& metrics = slot->metrics;
  out.blackBoxX = static_cast<float>(metrics.width) / unitsPerEm;
  out.blackBoxY = static_cast<float>(metrics.height) / unitsPerEm;
  out.originX = static_cast<float>(metrics.horiBearingX) / unitsPerEm;
  out.originY = static_cast<float>(metrics.horiBearingY) / unitsPerEm;
  out.advanceX = static_cast<float>(metrics.horiAdvance) / unitsPerEm;
  out.advanceY = 0.0f;
  return true;
}

}  // namespace platform
