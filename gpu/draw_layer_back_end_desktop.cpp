// The desktop's back ends: fixed function on a compatibility context, shaders on core and ES.
#include "gpu/draw_layer.h"

std::unique_ptr<DrawLayer> createBackEnd(const platform::GLCapabilities& capabilities) {
  return capabilities.hasFixedFunction() ? createFixedFunctionLayer(capabilities) : createShaderLayer(capabilities);
}
