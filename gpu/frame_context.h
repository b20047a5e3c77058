// What one frame is played with: its time and step, the drawable it is drawn into, the size the
// drawing surfaces are made at, and what the driver offers. The main loop hands it to every scene,
// camera and overlay, so that none of them reaches for a global to learn the window's size.
#pragma once

#include "core/picture_shape.h"
#include "gpu/draw_layer.h"
#include "platform/gl_capabilities.h"

// The pixels frames are drawn into, as the window last reported them, and the size the drawing
// surfaces are made at for them.
struct Drawable {
  int width = 0;  // 0 until the window has been measured
  int height = 0;  // never 0 once measured: a zero height counts as 1
  SurfaceSize surfaceSize;

  // The whole drawable, where every pass that draws onto the window starts.
  Viewport viewport() const { return Viewport{0, 0, width, height}; }
};

struct FrameContext {
  float timeSeconds;  // presentation time, not clamped
  float dtSeconds;  // the frame's step, at most the presentation's longest
  Drawable drawable;
  // The record the context was made with; it outlives every frame.
  const platform::GLCapabilities& capabilities;
};

// A frame at timeSeconds, dtSeconds long, drawn into drawable by the current context.
FrameContext frameOf(float timeSeconds, float dtSeconds, const Drawable& drawable);
