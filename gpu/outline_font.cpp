#include "gpu/outline_font.h"

#include <GL/glew.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gpu/contour_tessellator.h"
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

void emitVertex(const OutlinePoint& point, float z) { glVertex3f(point.x, point.y, z); }

// The cutter gives each triangle counter-clockwise seen from +z; the back face turns them round.
void emitFace(const FlatTriangles& faces, float z, bool facingFront) {
  glNormal3f(0.0f, 0.0f, facingFront ? 1.0f : -1.0f);
  glBegin(GL_TRIANGLES);
  for (const std::array<std::uint32_t, 3>& triangle : faces.triangles) {
    const Vector3& a = faces.points[triangle[0]];
    const Vector3& b = faces.points[triangle[facingFront ? 1 : 2]];
    const Vector3& c = faces.points[triangle[facingFront ? 2 : 1]];
    glVertex3f(a.x, a.y, z);
    glVertex3f(b.x, b.y, z);
    glVertex3f(c.x, c.y, z);
  }
  glEnd();
}

// One flat quad per contour edge, facing away from the glyph's inside.
void emitSides(const std::vector<Contour>& contours, bool filledOnRight, float extrusion) {
  glBegin(GL_QUADS);
  for (const Contour& contour : contours) {
    for (size_t i = 0; i < contour.size(); ++i) {
      const OutlinePoint& from = filledOnRight ? contour[i] : contour[(i + 1) % contour.size()];
      const OutlinePoint& to = filledOnRight ? contour[(i + 1) % contour.size()] : contour[i];
      // With the inside on the right of from -> to, the outside is on the left.
      const float dx = to.x - from.x;
      const float dy = to.y - from.y;
      const float length = std::sqrt(dx * dx + dy * dy);
      if (length > 0.0f) {
        glNormal3f(-dy / length, dx / length, 0.0f);
      }
      emitVertex(from, 0.0f);
      emitVertex(to, 0.0f);
      emitVertex(to, -extrusion);
      emitVertex(from, -extrusion);
    }
  }
  glEnd();
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

void compileGlyph(const GlyphOutline& glyph, float extrusion) {
  FlatTriangles faces;
  if (!glyph.contours.empty() && tessellateContours(flatContours(glyph.contours), &faces)) {
    emitFace(faces, 0.0f, true);
    emitFace(faces, -extrusion, false);
    emitSides(glyph.contours, glyph.filledOnRight, extrusion);
  }
  glTranslatef(glyph.advanceX, glyph.advanceY, 0.0f);
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
  listBase = reserveFontLists();
  if (listBase == -1) {
    return false;
  }
  const GLuint base = static_cast<GLuint>(listBase);
  platform::FontSource source;
  const bool opened = openTypeface(face, source);
  for (int i = 0; i < kFontCharacterCount; ++i) {
    GlyphOutline glyph;
    const bool haveGlyph = opened && source.glyphOutline(static_cast<unsigned int>(kFontFirstCharacter + i),
                                                         kDeviationEm, glyph);
    glyphMetrics[i] = haveGlyph ? metricsOf(glyph) : GlyphMetrics();
    glNewList(base + static_cast<GLuint>(i), GL_COMPILE);
    if (haveGlyph) {
      compileGlyph(glyph, extrusion);
    }
    glEndList();
  }
  return opened;
}

void OutlineFont::releaseFont() { deleteFontLists(listBase); }
