#include "gpu/distortion_grid.h"
#include "core/draw_counts.h"

#include "core/random.h"
#include "gpu/draw_layer.h"
#include "gpu/matrix_helpers.h"

namespace {

// Grid steps of 0.25 put rows and columns 0 to 4 on the unit screen square; the rest lie beyond it.
constexpr float kGridSpacing = 0.25f;
constexpr float kDriftRange = 0.01f;

float scaleOf(int region, int whole) {
  return whole > 0 ? static_cast<float>(region) / static_cast<float>(whole) : 0.0f;
}

// A speed of up to half the scale per unit of time, either way round.
float randomSpeed(float scale) {
  float speed = static_cast<float>(nextRandom() % 1000) * 0.001f * scale * 0.5f;
  if (static_cast<float>(nextRandom() % 1000) * 0.001f > 0.5f) {
    speed = -speed;
  }
  return speed;
}

void advanceCoordinate(float& value, float minimum, float maximum, float& speed, float step) {
  const float moved = value + step * speed;
  // A value equal to a bound does not bounce; one past it stays where it was and turns round.
  if (moved > maximum || moved < minimum) {
    speed = -speed;
    return;
  }
  value = moved;
}

// A point's own x and y are those of its column and row.
void emitCorner(DrawLayer& layer, const GridPoint& point) {
  layer.texCoord(point.u, point.v);
  layer.vertex(point.x, point.y);
}

}  // namespace

void DistortionGrid::buildGrid() {
  const float su = scaleOf(regionWidth, textureWidth);
  const float sv = scaleOf(regionHeight, textureHeight);
  for (int i = 0; i < kGridPointsPerSide; ++i) {
    for (int j = 0; j < kGridPointsPerSide; ++j) {
      const float fi = static_cast<float>(i) * kGridSpacing;
      const float fj = static_cast<float>(j) * kGridSpacing;
      GridPoint& point = points[i][j];
      point.u = fj * su;
      point.uMin = (fj - kDriftRange) * su;
      point.uMax = (fj + kDriftRange) * su;
      point.x = fj;
      point.uSpeed = randomSpeed(su);
      point.v = fi * sv;
      point.vMin = (fi - kDriftRange) * sv;
      point.vMax = (fi + kDriftRange) * sv;
      point.y = fi;
      point.vSpeed = randomSpeed(sv);
    }
  }
}

void DistortionGrid::advanceGrid(float step) {
  for (auto& row : points) {
    for (GridPoint& point : row) {
      advanceCoordinate(point.u, point.uMin, point.uMax, point.uSpeed, step);
      advanceCoordinate(point.v, point.vMin, point.vMax, point.vSpeed, step);
    }
  }
}

void DistortionGrid::drawGrid(float dtSeconds) {
  advanceGrid(dtSeconds * (1.0f / 3.0f));
  drawCurrentGrid();
}

void DistortionGrid::drawCurrentGrid() const {
  DrawLayer& layer = drawLayer();
  pushMatrices();
  setOrtho2D(0.0f, 1.0f, 0.0f, 1.0f);
  layer.bindTexture(0, texture == kNoGridTexture ? 0u : texture);
  for (int i = 0; i + 1 < kGridPointsPerSide; ++i) {
    for (int j = 0; j + 1 < kGridPointsPerSide; ++j) {
      // Each cell is two triangles split along the diagonal from its second corner to its fourth,
      // the split the fixed function's quads had here; the shape changes every frame and feeds
      // back into the next, so another split would drift the picture.
      countDraw(2);
      layer.begin(Primitive::Triangles);
      emitCorner(layer, points[i][j]);
      emitCorner(layer, points[i + 1][j]);
      emitCorner(layer, points[i][j + 1]);
      emitCorner(layer, points[i + 1][j]);
      emitCorner(layer, points[i + 1][j + 1]);
      emitCorner(layer, points[i][j + 1]);
      layer.end();
    }
  }
  // The picture is a drawing surface: the next draw into it must not sample it.
  layer.bindTexture(0, 0);
  popMatrices();
}
