#include "gpu/outline_font.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <array>
#include <cmath>
#include <deque>
#include <vector>

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

// ---- Tessellating the face

struct Tessellation {
  std::vector<OutlinePoint> corners;  // three per triangle
  std::deque<std::array<GLdouble, 3>> made;  // vertices the tessellator adds where edges cross
  bool failed = false;
};

void GLAPIENTRY onBegin(GLenum, void*) {}

// Asking for edge flags makes the tessellator hand out separate triangles only.
void GLAPIENTRY onEdgeFlag(GLboolean, void*) {}

void GLAPIENTRY onVertex(void* vertex, void* data) {
  const GLdouble* xyz = static_cast<const GLdouble*>(vertex);
  static_cast<Tessellation*>(data)->corners.push_back(
      OutlinePoint{static_cast<float>(xyz[0]), static_cast<float>(xyz[1])});
}

void GLAPIENTRY onCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* data) {
  Tessellation& tessellation = *static_cast<Tessellation*>(data);
  tessellation.made.push_back({coords[0], coords[1], coords[2]});
  *out = tessellation.made.back().data();
}

void GLAPIENTRY onError(GLenum, void* data) { static_cast<Tessellation*>(data)->failed = true; }

template <typename Callback>
void setCallback(GLUtesselator* tess, GLenum which, Callback callback) {
  gluTessCallback(tess, which, reinterpret_cast<_GLUfuncptr>(callback));
}

// Triangles covering the glyph's inside by the non-zero rule, which both TrueType and PostScript
// outlines follow.
bool tessellate(const std::vector<Contour>& contours, Tessellation& out) {
  std::vector<std::array<GLdouble, 3>> vertices;
  for (const Contour& contour : contours) {
    for (const OutlinePoint& point : contour) {
      vertices.push_back({point.x, point.y, 0.0});
    }
  }
  GLUtesselator* tess = gluNewTess();
  if (tess == nullptr) {
    return false;
  }
  setCallback(tess, GLU_TESS_BEGIN_DATA, &onBegin);
  setCallback(tess, GLU_TESS_EDGE_FLAG_DATA, &onEdgeFlag);
  setCallback(tess, GLU_TESS_VERTEX_DATA, &onVertex);
  setCallback(tess, GLU_TESS_COMBINE_DATA, &onCombine);
  setCallback(tess, GLU_TESS_ERROR_DATA, &onError);
  gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
  gluTessNormal(tess, 0.0, 0.0, 1.0);
  gluTessBeginPolygon(tess, &out);
  size_t next = 0;
  for (const Contour& contour : contours) {
    gluTessBeginContour(tess);
    for (size_t i = 0; i < contour.size(); ++i, ++next) {
      gluTessVertex(tess, vertices[next].data(), vertices[next].data());
    }
    gluTessEndContour(tess);
  }
  gluTessEndPolygon(tess);
  gluDeleteTess(tess);
  return !out.failed && out.corners.size() % 3 == 0;
}

// ---- Emitting the solid letter

void emitVertex(const OutlinePoint& point, float z) { glVertex3f(point.x, point.y, z); }

// Each triangle counter-clockwise as seen from the side the face looks to.
void emitFace(const std::vector<OutlinePoint>& corners, float z, bool facingFront) {
  glNormal3f(0.0f, 0.0f, facingFront ? 1.0f : -1.0f);
  glBegin(GL_TRIANGLES);
  for (size_t i = 0; i + 2 < corners.size(); i += 3) {
    const OutlinePoint& a = corners[i];
    const OutlinePoint& b = corners[i + 1];
    const OutlinePoint& c = corners[i + 2];
    const float area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
    const bool counterClockwise = area >= 0.0f;
    emitVertex(a, z);
    emitVertex(counterClockwise == facingFront ? b : c, z);
    emitVertex(counterClockwise == facingFront ? c : b, z);
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

void compileGlyph(const GlyphOutline& glyph, float extrusion) {
  Tessellation faces;
  if (!glyph.contours.empty() && tessellate(glyph.contours, faces)) {
    emitFace(faces.corners, 0.0f, true);
    emitFace(faces.corners, -extrusion, false);
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
