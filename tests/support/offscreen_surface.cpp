#include "tests/support/offscreen_surface.h"

#include <GL/glew.h>

#include <vector>

#include "platform/gl_binding_record.h"
#include "tests/support/private_working_folder.h"

static_assert(sizeof(Pixel) == 4, "pixels are read back as packed RGBA bytes");

OffscreenSurface::OffscreenSurface(int size) : size_(size) {
  // The target's log lines go to a log of their own, away from tests that read the shared one.
  const PrivateWorkingFolder working;
  if (target_.createFramebuffer()) {
    target_.addTarget(size, size, GL_RGBA, true);
  }
}

void OffscreenSurface::begin() {
  DrawLayer& layer = drawLayer();
  windowViewport_ = layer.viewport();
  for (int channel = 0; channel < 4; ++channel) {
    windowClearColor_[channel] = layer.clearColor()[channel];
  }
  target_.bindFramebuffer();
  target_.attachTarget(0, 0);
  target_.setTargetViewport(0);
  layer.setClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  layer.clear(true, true);
}

void OffscreenSurface::end() {
  target_.unbindFramebuffer();
  DrawLayer& layer = drawLayer();
  layer.setViewport(windowViewport_);
  layer.setClearColor(windowClearColor_[0], windowClearColor_[1], windowClearColor_[2], windowClearColor_[3]);
}

std::vector<Pixel> OffscreenSurface::readBack() const {
  std::vector<Pixel> pixels(static_cast<size_t>(size_) * size_);
  platform::bindTexture2D(0, target_.surfaces[0].texture);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

Pixel OffscreenSurface::pixel(int x, int y) const { return readBack()[static_cast<size_t>(y) * size_ + x]; }

int OffscreenSurface::countPixels(bool (*match)(const Pixel&)) const {
  int count = 0;
  for (const Pixel& pixel : readBack()) {
    count += match(pixel) ? 1 : 0;
  }
  return count;
}

unsigned int createQuadrantTexture() {
  const unsigned char texels[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
  return createTwoByTwoTexture(texels);
}

unsigned int createTwoByTwoTexture(const unsigned char texels[16]) {
  GLuint name = 0;
  glGenTextures(1, &name);
  platform::bindTexture2D(0, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  return name;
}
