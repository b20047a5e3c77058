// The pass state the scenes' own passes start from, and change only where they must.
#pragma once

#include "gpu/draw_layer.h"

// Unit 0's texture modulated by the vertex colour, unlit, not blended. Depth testing and colour
// material are on, as the world's models have them; drawn into a
// surface without a depth buffer, the test lets everything through.
PassState scenePass();
// The same, lit by the one light: the world's models.
PassState litScenePass();
