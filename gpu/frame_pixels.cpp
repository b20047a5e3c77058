#include "gpu/frame_pixels.h"

#include <GL/glew.h>

#include <vector>

#include "gpu/frame_readback.h"
#include "platform/gl_capabilities.h"

void readDrawnFrameRgb(int width, int height, uint8_t* pixels) {
  readFromDrawnFrame();
  if (!platform::contextCapabilities().isES()) {
    // Rows of three-byte pixels are packed tight, whatever their width.
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    return;
  }
  // ES reads back RGBA only: the frame comes as RGBA into a buffer kept from frame to frame, and
  // its pixels are packed into three bytes here.
  static std::vector<uint8_t> rgba;
  const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
  rgba.resize(pixelCount * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  for (size_t pixel = 0; pixel < pixelCount; ++pixel) {
    pixels[3 * pixel] = rgba[4 * pixel];
    pixels[3 * pixel + 1] = rgba[4 * pixel + 1];
    pixels[3 * pixel + 2] = rgba[4 * pixel + 2];
  }
}
