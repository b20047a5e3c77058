#include "gpu/textured_quad.h"
#include "core/draw_counts.h"

#include "gpu/draw_layer.h"

void drawTexturedQuad(float uLeft, float vBottom, float uRight, float vTop, float xLeft, float yBottom, float xRight,
                      float yTop) {
  countDraw(2);
  DrawLayer& layer = drawLayer();
  layer.begin(Primitive::Quads);
  layer.texCoord(uLeft, vBottom);
  layer.vertex(xLeft, yBottom);
  layer.texCoord(uLeft, vTop);
  layer.vertex(xLeft, yTop);
  layer.texCoord(uRight, vTop);
  layer.vertex(xRight, yTop);
  layer.texCoord(uRight, vBottom);
  layer.vertex(xRight, yBottom);
  layer.end();
}

void drawUnitSquareOnUnits(int unitCount) {
  const float corners[4][2] = {{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}};
  countDraw(2);
  DrawLayer& layer = drawLayer();
  layer.begin(Primitive::Quads);
  for (const auto& corner : corners) {
    for (int unit = 0; unit < unitCount; ++unit) {
      layer.unitTexCoord(unit, corner[0], corner[1], 0.0f, 1.0f);
    }
    layer.vertex(corner[0], corner[1]);
  }
  layer.end();
}
