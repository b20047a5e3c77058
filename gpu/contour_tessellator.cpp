// GLU tessellation with an edge-flag callback, so that only separate triangles come out.
#include "gpu/contour_tessellator.h"

#include <cstdio>
#include <deque>

#include <GL/glu.h>

#include "core/program_name.h"

namespace {

struct TessVertex {
  GLdouble xyz[3];
  std::uint32_t index;
};

struct TessState {
  FlatTriangles* result;
  std::deque<TessVertex> vertices;  // stable addresses for the tessellator's vertex data
  std::vector<std::uint32_t> pending;
  bool failed = false;
};

void GLAPIENTRY onBegin(GLenum, void*) {}

void GLAPIENTRY onEdgeFlag(GLboolean, void*) {}

void GLAPIENTRY onVertex(void* vertexData, void* user) {
  TessState* state = static_cast<TessState*>(user);
  state->pending.push_back(static_cast<TessVertex*>(vertexData)->index);
  if (state->pending.size() < 3) {
    return;
  }
  std::array<std::uint32_t, 3> triangle{state->pending[0], state->pending[1], state->pending[2]};
  state->pending.clear();
  const Vector3& a = state->result->points[triangle[0]];
  const Vector3& b = state->result->points[triangle[1]];
  const Vector3& c = state->result->points[triangle[2]];
  const float twiceArea = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
  // Slivers along straight edges add nothing to draw and no direction to the normals.
  if (twiceArea == 0.0f) {
    return;
  }
  if (twiceArea < 0.0f) {
    std::swap(triangle[1], triangle[2]);
  }
  state->result->triangles.push_back(triangle);
}

void GLAPIENTRY onEnd(void* user) { static_cast<TessState*>(user)->pending.clear(); }

void GLAPIENTRY onCombine(GLdouble coords[3], void*[4], GLfloat[4], void** outData, void* user) {
  TessState* state = static_cast<TessState*>(user);
  TessVertex vertex{{coords[0], coords[1], coords[2]}, static_cast<std::uint32_t>(state->result->points.size())};
  state->result->points.emplace_back(static_cast<float>(coords[0]), static_cast<float>(coords[1]), 0.0f);
  state->vertices.push_back(vertex);
  *outData = &state->vertices.back();
}

void GLAPIENTRY onError(GLenum error, void* user) {
  std::fprintf(stderr, "%s: tessellator: %s\n", programName(), reinterpret_cast<const char*>(gluErrorString(error)));
  static_cast<TessState*>(user)->failed = true;
}

template <typename Callback>
void setCallback(GLUtesselator* tess, GLenum which, Callback callback) {
  gluTessCallback(tess, which, reinterpret_cast<_GLUfuncptr>(callback));
}

}  // namespace

bool tessellateContours(const std::vector<std::vector<Vector3>>& contours, FlatTriangles* result) {
  result->points.clear();
  result->triangles.clear();
  GLUtesselator* tess = gluNewTess();
  if (tess == nullptr) {
    return false;
  }
  TessState state;
  state.result = result;
  setCallback(tess, GLU_TESS_BEGIN_DATA, &onBegin);
  setCallback(tess, GLU_TESS_EDGE_FLAG_DATA, &onEdgeFlag);
  setCallback(tess, GLU_TESS_VERTEX_DATA, &onVertex);
  setCallback(tess, GLU_TESS_END_DATA, &onEnd);
  setCallback(tess, GLU_TESS_COMBINE_DATA, &onCombine);
  setCallback(tess, GLU_TESS_ERROR_DATA, &onError);
  gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
  gluTessNormal(tess, 0.0, 0.0, 1.0);

  for (const std::vector<Vector3>& contour : contours) {
    for (const Vector3& p : contour) {
      TessVertex vertex{{p.x, p.y, 0.0}, static_cast<std::uint32_t>(result->points.size())};
      result->points.push_back(Vector3(p.x, p.y, 0.0f));
      state.vertices.push_back(vertex);
    }
  }
  gluTessBeginPolygon(tess, &state);
  size_t next = 0;
  for (const std::vector<Vector3>& contour : contours) {
    gluTessBeginContour(tess);
    for (size_t i = 0; i < contour.size(); ++i) {
      TessVertex& vertex = state.vertices[next++];
      gluTessVertex(tess, vertex.xyz, &vertex);
    }
    gluTessEndContour(tess);
  }
  gluTessEndPolygon(tess);
  gluDeleteTess(tess);
  return !state.failed;
}
