// The pass state the scenes' own passes start from, and change only where they must.
#pragma once

#include "gpu/draw_layer.h"

// Unit 0's texture modulated by the vertex colour, unlit, not blended. Depth testing and colour
// material are on, as the frame's lighting set-up has them for the world's models; drawn into a
// surface without a depth buffer, the test lets everything through.
PassState scenePass();
