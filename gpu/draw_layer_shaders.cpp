#include "gpu/draw_layer.h"

std::unique_ptr<DrawLayer> createShaderLayer(const platform::GLCapabilities&) { return nullptr; }
