// The small overlay F1 shows: the presentation time, the frame rate, the drawing surfaces' size and
// "paused" in the window's top left corner, in the bitmap font. It draws in a pass of its own, and
// leaves the current colour its text's.
#pragma once

#include "core/picture_shape.h"

void drawTimeOverlay(float timeSeconds, float framesPerSecond, bool paused, SurfaceSize surfaceSize);
