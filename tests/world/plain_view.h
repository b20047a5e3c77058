// The view the world drawing tests start from: identity matrices, so x and y from -1 to 1 fill
// the off-screen surface, with lighting, texturing, depth test and culling off.
#pragma once

#include <GL/glew.h>

#include "tests/support/offscreen_surface.h"

inline void beginPlainView(OffscreenSurface& surface) {
  surface.begin();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_CULL_FACE);
}

inline bool anyDrawn(const Pixel& pixel) { return pixel.a != 0; }
