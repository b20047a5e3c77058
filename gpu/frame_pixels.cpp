#include "gpu/frame_pixels.h"

#include <GL/glew.h>

#include "gpu/frame_readback.h"

void readDrawnFrameRgb(int width, int height, uint8_t* pixels) {
  // Rows of three-byte pixels are packed tight, whatever their width.
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  readFromDrawnFrame();
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
}
