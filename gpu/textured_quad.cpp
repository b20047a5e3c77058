#include "gpu/textured_quad.h"
#include "core/draw_counts.h"

#include <GL/glew.h>

void drawTexturedQuad(float uLeft, float vBottom, float uRight, float vTop, float xLeft, float yBottom, float xRight,
                      float yTop) {
  countDraw(2);
  glBegin(GL_QUADS);
  glTexCoord2f(uLeft, vBottom);
  glVertex2f(xLeft, yBottom);
  glTexCoord2f(uLeft, vTop);
  glVertex2f(xLeft, yTop);
  glTexCoord2f(uRight, vTop);
  glVertex2f(xRight, yTop);
  glTexCoord2f(uRight, vBottom);
  glVertex2f(xRight, yBottom);
  glEnd();
}

void drawUnitSquareOnUnits(int unitCount) {
  const float corners[4][2] = {{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}};
  countDraw(2);
  glBegin(GL_QUADS);
  for (const auto& corner : corners) {
    for (int unit = 0; unit < unitCount; ++unit) {
      glMultiTexCoord2f(static_cast<GLenum>(GL_TEXTURE0 + unit), corner[0], corner[1]);
    }
    glVertex2f(corner[0], corner[1]);
  }
  glEnd();
}
