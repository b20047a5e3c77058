#include "gpu/frame_context.h"

FrameContext frameOf(float timeSeconds, float dtSeconds, const Drawable& drawable) {
  return FrameContext{timeSeconds, dtSeconds, drawable, platform::contextCapabilities()};
}
