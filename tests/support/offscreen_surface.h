// A small off-screen picture for drawing tests: draw between begin() and end(), then read pixels.
#pragma once

#include <vector>

#include "gpu/draw_layer.h"
#include "gpu/render_target.h"

struct Pixel {
  unsigned char r = 0;
  unsigned char g = 0;
  unsigned char b = 0;
  unsigned char a = 0;
};

class OffscreenSurface {
 public:
  // Needs a current GL context (REQUIRE_GL_CONTEXT first).
  explicit OffscreenSurface(int size = 64);

  bool ready() const { return !target_.surfaces.empty(); }
  int size() const { return size_; }
  // Binds the surface, sets its viewport and clears it to transparent black; the matrices are
  // left to the test.
  void begin();
  // Binds the window's framebuffer again and restores the viewport.
  void end();
  Pixel pixel(int x, int y) const;       // (0, 0) is the bottom left
  int countPixels(bool (*match)(const Pixel&)) const;

 private:
  std::vector<Pixel> readBack() const;

  RenderTarget target_;
  int size_ = 0;
  // What begin() found and end() puts back: the window's viewport and clear colour.
  Viewport windowViewport_;
  float windowClearColor_[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

// A 2 × 2 nearest-filtered texture: red and green on the bottom row, blue and white on the top.
unsigned int createQuadrantTexture();
// A 2 × 2 nearest-filtered texture of these RGBA texels, bottom row first.
unsigned int createTwoByTwoTexture(const unsigned char texels[16]);
