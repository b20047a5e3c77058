#include "gpu/outline_font.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gpu/contour_tessellator.h"
#include "gpu/draw_layer.h"
#include "gpu/typeface.h"

OutlineFont& outlineFont() {
  static OutlineFont font;
  return font;
}

namespace {

constexpr float kDeviationEm = 0.02f;

using platform::GlyphOutline;
using platform::OutlinePoint;
using Contour = std::vector<OutlinePoint>;

// ---- Emitting the solid letter

void emitVertex(DrawLayer& layer, const OutlinePoint& point, float z) { layer.vertex(point.x, point.y, z); }

// The cutter gives each triangle counter-clockwise seen from +z; the back face turns them round.
void emitFace(DrawLayer& layer, const FlatTriangles& faces, float z, bool facingFront) {
  layer.normal(0.0f, 0.0f, facingFront ? 1.0f : -1.0f);
  layer.begin(Primitive::Triangles);
  for (const std::array<std::uint32_t, 3>& triangle : faces.triangles) {
    const Vector3& a = faces.points[triangle[0]];
    const Vector3& b = faces.points[triangle[facingFront ? 1 : 2]];
    const Vector3& c = faces.points[triangle[facingFront ? 2 : 1]];
    layer.vertex(a.x, a.y, z);
    layer.vertex(b.x, b.y, z);
    layer.vertex(c.x, c.y, z);
  }
  layer.end();
}

// One flat quad per contour edge, facing away from the glyph's inside.
void emitSides(DrawLayer& layer, const std::vector<Contour>& contours, bool filledOnRight, float extrusion) {
  layer.begin(Primitive::Quads);
  for (const Contour& contour : contours) {
    for (size_t i = 0; i < contour.size(); ++i) {
      const OutlinePoint& from = filledOnRight ? contour[i] : contour[(i + 1) % contour.size()];
      const OutlinePoint& to = filledOnRight ? contour[(i + 1) % contour.size()] : contour[i];
      // With the inside on the right of from -> to, the outside is on the left.
      const float dx = to.x - from.x;
      const float dy = to.y - from.y;
      const float length = std::sqrt(dx * dx + dy * dy);
      if (length > 0.0f) {
        layer.normal(-dy / length, dx / length, 0.0f);
      }
      emitVertex(layer, from, 0.0f);
      emitVertex(layer, to, 0.0f);
      emitVertex(layer, to, -extrusion);
      emitVertex(layer, from, -extrusion);
    }
  }
  layer.end();
}

// The glyph's contours in the cutter's terms; the inside follows the non-zero rule, which both
// TrueType and PostScript outlines keep.
std::vector<std::vector<Vector3>> flatContours(const std::vector<Contour>& contours) {
  std::vector<std::vector<Vector3>> flat;
  flat.reserve(contours.size());
  for (const Contour& contour : contours) {
    std::vector<Vector3>& points = flat.emplace_back();
    points.reserve(contour.size());
    for (const OutlinePoint& point : contour) {
      points.emplace_back(point.x, point.y, 0.0f);
    }
  }
  return flat;
}

void recordGlyph(DrawLayer& layer, const GlyphOutline& glyph, float extrusion) {
  FlatTriangles faces;
  if (!glyph.contours.empty() && tessellateContours(flatContours(glyph.contours), &faces)) {
    emitFace(layer, faces, 0.0f, true);
    emitFace(layer, faces, -extrusion, false);
    emitSides(layer, glyph.contours, glyph.filledOnRight, extrusion);
  }
  layer.translate(glyph.advanceX, glyph.advanceY, 0.0f);
}

GlyphMetrics metricsOf(const GlyphOutline& glyph) {
  GlyphMetrics metrics;
  metrics.blackBoxX = glyph.blackBoxX;
  metrics.blackBoxY = glyph.blackBoxY;
  metrics.glyphOriginX = glyph.originX;
  metrics.glyphOriginY = glyph.originY;
  metrics.cellIncX = glyph.advanceX;
  metrics.cellIncY = glyph.advanceY;
  return metrics;
}

}  // namespace

OutlineFont::~OutlineFont() { releaseFont(); }

bool OutlineFont::createOutlineFont(const char* face, [[maybe_unused]] int size, float extrusion) {
  releaseFont();
  DrawLayer& layer = drawLayer();
  firstRecording = layer.createRecordings(kFontCharacterCount);
  if (firstRecording == 0) {
    return false;
  }
  platform::FontSource source;
  const bool opened = openTypeface(face, source);
  for (int i = 0; i < kFontCharacterCount; ++i) {
    GlyphOutline glyph;
    const bool haveGlyph = opened && source.glyphOutline(static_cast<unsigned int>(kFontFirstCharacter + i),
                                                         kDeviationEm, glyph);
    glyphMetrics[i] = haveGlyph ? metricsOf(glyph) : GlyphMetrics();
    layer.beginRecording(firstRecording + static_cast<unsigned int>(i));
    if (haveGlyph) {
      recordGlyph(layer, glyph, extrusion);
    }
    layer.endRecording();
  }
  return opened;
}

void OutlineFont::releaseFont() {
  // Once the layer is gone (it goes just before its context) nothing can release them, and the
  // context's end takes them.
  if (firstRecording == 0 || !hasDrawLayer()) {
    firstRecording = 0;
    return;
  }
  drawLayer().releaseRecordings(firstRecording, kFontCharacterCount);
  firstRecording = 0;
}

void OutlineFont::drawCharacter(unsigned char code) const {
  if (firstRecording == 0 || code < kFontFirstCharacter || code >= kFontFirstCharacter + kFontCharacterCount) {
    return;
  }
  drawLayer().replay(firstRecording + (code - kFontFirstCharacter));
}
