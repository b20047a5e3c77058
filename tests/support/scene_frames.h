// Scenes' frames as the program plays them, outside the program: the drawable they are drawn into
// and one shown frame, the advance then the drawing.
#pragma once

#include "gpu/frame_context.h"
#include "gpu/render_target.h"
#include "sequence/scene.h"

// A drawable of width × height with its surfaces at their full size for it, as start-up makes them.
inline Drawable fullSizeDrawable(int width, int height) {
  return Drawable{width, height, drawingSurfaceSize(width, height)};
}

inline void playFrame(Scene& scene, float timeSeconds, float dtSeconds, const Drawable& drawable) {
  const FrameContext frame = frameOf(timeSeconds, dtSeconds, drawable);
  scene.advance(frame);
  scene.draw(frame);
}
