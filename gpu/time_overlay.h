// The small overlay F1 shows: the presentation time, the frame rate, the drawing surfaces' size and
// "paused" in the window's top left corner, in the bitmap font. It leaves the GL state as it found it.
#pragma once

#include "core/picture_shape.h"

void drawTimeOverlay(float timeSeconds, float framesPerSecond, bool paused, SurfaceSize surfaceSize);
