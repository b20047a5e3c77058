// The GL's names for the drawing layer's kinds, the same for both back ends.
#pragma once

#include "gpu/draw_kinds.h"

unsigned int glPrimitiveMode(Primitive primitive);  // GL_QUADS for quads, which only compatibility has
unsigned int glBlendFactor(BlendFactor factor);
