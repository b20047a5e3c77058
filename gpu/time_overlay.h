// The small overlay F1 shows: the presentation time, the frame rate, the drawing surfaces' size and
// "paused" in the drawable's top left corner, in the bitmap font. It draws in a pass of its own, over
// the whole drawable, and leaves the current colour its text's.
#pragma once

#include "gpu/frame_context.h"

// timeSeconds is the picture's, which a pause holds while frames go on.
void drawTimeOverlay(const Drawable& drawable, float timeSeconds, float framesPerSecond, bool paused);
