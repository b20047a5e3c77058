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
