// The shader programs that stand in for the fixed function on contexts without it: GLSL generated
// from the parts of the pass state that change what the shading computes.
// Two pass states with the same key draw the same, so programs are made once per key.
#pragma once

#include <cstdint>
#include <string>

#include "gpu/draw_layer.h"

// What a generated program computes. A unit counts as enabled only with a texture bound, as the
// fixed function skips a unit whose texture is missing.
struct ShadingKey {
  bool lighting = false;
  bool colorMaterial = false;
  bool positionalLight = false;  // the light is a point (w != 0), not a direction
  bool alphaTest = false;
  bool textureMatrix = false;    // unit 0's coordinates go through the texture matrix
  TextureUnitState units[kDrawTextureUnits];

  uint32_t bits() const;  // equal for equal keys, different for different ones
};

// The uniforms the generated programs read, by name.
namespace shading {
constexpr const char* kModelViewProjection = "modelViewProjection";
constexpr const char* kModelView = "modelView";
constexpr const char* kNormalMatrix = "normalMatrix";
constexpr const char* kTextureMatrix = "textureMatrix";
// Eye-space position, then ambient, diffuse, specular: vec4[4].
constexpr const char* kLight = "light";
// Ambient, diffuse, specular, emission: vec4[4].
constexpr const char* kMaterial = "material";
constexpr const char* kAlphaAbove = "alphaAbove";
// Unit N samples from "unitN".
constexpr const char* kUnitSamplerPrefix = "unit";
}  // namespace shading

// The sources for the key, opening with `header` (the #version line and any precisions).
std::string fixedFunctionVertexSource(const ShadingKey& key, const std::string& header);
std::string fixedFunctionFragmentSource(const ShadingKey& key, const std::string& header);
