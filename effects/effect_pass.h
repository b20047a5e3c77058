// The pass state the glowing effects (sprites, explosion fragments, volume lines) share.
#pragma once

#include "gpu/draw_layer.h"

// Blended by the factors onto the picture, depth-tested without depth writes, unlit in the
// vertex colour (colour material on), textured on unit 0 in the mode; no culling, no alpha test.
PassState blendedEffectPass(BlendFactor source, BlendFactor destination, TextureMode mode);
