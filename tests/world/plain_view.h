// The view the world drawing tests start from: identity matrices, so x and y from -1 to 1 fill
// the off-screen surface, and a pass with lighting, texturing, depth test and culling off.
#pragma once

#include "core/matrix4.h"
#include "gpu/draw_layer.h"
#include "tests/support/offscreen_surface.h"

// Binds the surface and tells the layer its viewport, which the surface sets on the driver itself.
inline void beginSurface(OffscreenSurface& surface) {
  surface.begin();
  drawLayer().setViewport(Viewport{0, 0, surface.size(), surface.size()});
}

inline void beginPlainView(OffscreenSurface& surface) {
  beginSurface(surface);
  DrawLayer& layer = drawLayer();
  layer.matrixMode(MatrixStack::Projection);
  layer.loadIdentity();
  layer.matrixMode(MatrixStack::ModelView);
  layer.loadIdentity();
  layer.applyPass(PassState{});
}

// The plain view's pass with unit 0 texturing, as every scene that draws meshes has it.
inline PassState texturedPass() {
  PassState pass;
  pass.units[0].enabled = true;
  return pass;
}

// A parallel projection of the box ±halfExtent across and up, depth nearDistance to farDistance.
inline Matrix4 parallelProjection(double halfExtent, double nearDistance, double farDistance) {
  Matrix4 projection;
  projection.m[0] = static_cast<float>(1.0 / halfExtent);
  projection.m[5] = static_cast<float>(1.0 / halfExtent);
  projection.m[10] = static_cast<float>(-2.0 / (farDistance - nearDistance));
  projection.m[14] = static_cast<float>(-(farDistance + nearDistance) / (farDistance - nearDistance));
  projection.isIdentity = false;
  return projection;
}

inline bool anyDrawn(const Pixel& pixel) { return pixel.a != 0; }
