// The web's back end: WebGL 2 has no fixed function, so shaders draw everything.
#include "gpu/draw_layer.h"

std::unique_ptr<DrawLayer> createBackEnd(const platform::GLCapabilities& capabilities) {
  return createShaderLayer(capabilities);
}
