// Clearing the framebuffer that stands for the window, for tests of what reads or shows it.
#pragma once

#include "gpu/draw_layer.h"

// Clears to the opaque colour with no pass state in the way; the clear colour stays that colour.
inline void clearWindowTo(float red, float green, float blue) {
  DrawLayer& layer = drawLayer();
  layer.applyPass(PassState());
  layer.setClearColor(red, green, blue, 1.0f);
  layer.clear(true, false);
}
