#include "gpu/fixed_function_shaders.h"

#include "platform/glsl_translation.h"

namespace {

std::string unitName(int unit) { return shading::kUnitSamplerPrefix + std::to_string(unit); }

std::string texCoordName(int unit) { return "texCoord" + std::to_string(unit); }

std::string attributeDeclarations() {
  std::string text = "layout(location = " + std::to_string(platform::kAttributePosition) +
                     ") in vec4 vertexPosition;\n"
                     "layout(location = " + std::to_string(platform::kAttributeNormal) + ") in vec3 vertexNormal;\n"
                     "layout(location = " + std::to_string(platform::kAttributeColor) + ") in vec4 vertexColor;\n";
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    text += "layout(location = " + std::to_string(platform::kAttributeTexCoord0 + unit) + ") in vec4 vertexTexCoord" +
            std::to_string(unit) + ";\n";
  }
  return text;
}

// The fixed function's lighting for one light, per vertex: the default light model (scene ambient
// 0.2, viewer at infinity, one-sided), no attenuation (the constant factor 1) and shininess 0, so
// the specular term is the full product wherever the light reaches the surface. Normals are carried
// by the inverse transpose and not made unit length again, as without GL_NORMALIZE.
std::string lightingCode(const ShadingKey& key) {
  std::string text;
  text += std::string("  vec4 ambient = ") + (key.colorMaterial ? "vertexColor" : "material[0]") + ";\n";
  text += std::string("  vec4 diffuse = ") + (key.colorMaterial ? "vertexColor" : "material[1]") + ";\n";
  text += "  vec3 normal = normalMatrix * vertexNormal;\n";
  if (key.positionalLight) {
    text += "  vec4 eyePosition = modelView * vertexPosition;\n"
            "  vec3 toLight = normalize(light[0].xyz / light[0].w - eyePosition.xyz / eyePosition.w);\n";
  } else {
    text += "  vec3 toLight = normalize(light[0].xyz);\n";
  }
  text += "  float facing = dot(normal, toLight);\n"
          "  float specular = facing > 0.0 ? 1.0 : 0.0;\n"
          "  vec3 lit = material[3].rgb + ambient.rgb * 0.2 + ambient.rgb * light[1].rgb\n"
          "      + max(facing, 0.0) * diffuse.rgb * light[2].rgb + specular * material[2].rgb * light[3].rgb;\n"
          "  primaryColor = clamp(vec4(lit, diffuse.a), 0.0, 1.0);\n";
  return text;
}

// One texture unit's step: the colour so far and the unit's texel make the colour going on; every
// step ends in [0, 1] as the texture environment's does.
std::string unitCode(int unit, TextureMode mode) {
  std::string text = "  texel = textureProj(" + unitName(unit) + ", " + texCoordName(unit) + ");\n";
  switch (mode) {
    case TextureMode::Modulate:
      return text + "  color *= texel;\n";
    case TextureMode::Replace:
      return text + "  color = texel;\n";
    case TextureMode::SquareTexel:
      return text + "  color = vec4(texel.rgb * texel.rgb, primaryColor.a);\n";
    case TextureMode::AddTexel:
      return text + "  color = vec4(min(color.rgb + texel.rgb, 1.0), primaryColor.a);\n";
  }
  return text;
}

}  // namespace

uint32_t ShadingKey::bits() const {
  uint32_t value = 0;
  if (lighting) {
    value |= 1u | (colorMaterial ? 2u : 0u) | (positionalLight ? 4u : 0u);
  }
  value |= (alphaTest ? 8u : 0u) | (textureMatrix ? 16u : 0u);
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    if (units[unit].enabled) {
      const uint32_t unitBits = 4u | static_cast<uint32_t>(units[unit].mode);
      value |= unitBits << (5 + 3 * unit);
    }
  }
  return value;
}

std::string fixedFunctionVertexSource(const ShadingKey& key, const std::string& header) {
  std::string text = header + attributeDeclarations();
  text += std::string("uniform mat4 ") + shading::kModelViewProjection + ";\n";
  if (key.lighting) {
    text += std::string("uniform mat4 ") + shading::kModelView + ";\n";
    text += std::string("uniform mat3 ") + shading::kNormalMatrix + ";\n";
    text += std::string("uniform vec4 ") + shading::kLight + "[4];\n";
    text += std::string("uniform vec4 ") + shading::kMaterial + "[4];\n";
  }
  if (key.textureMatrix) {
    text += std::string("uniform mat4 ") + shading::kTextureMatrix + ";\n";
  }
  text += "out vec4 primaryColor;\n";
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    if (key.units[unit].enabled) {
      text += "out vec4 " + texCoordName(unit) + ";\n";
    }
  }
  text += "void main() {\n";
  text += std::string("  gl_Position = ") + shading::kModelViewProjection + " * vertexPosition;\n";
  // ES leaves the size of a point undefined unless the vertex stage writes it.
  text += "  gl_PointSize = 1.0;\n";
  text += key.lighting ? lightingCode(key) : "  primaryColor = clamp(vertexColor, 0.0, 1.0);\n";
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    if (key.units[unit].enabled) {
      const std::string input = "vertexTexCoord" + std::to_string(unit);
      const bool transformed = unit == 0 && key.textureMatrix;
      text += "  " + texCoordName(unit) + " = " +
              (transformed ? std::string(shading::kTextureMatrix) + " * " + input : input) + ";\n";
    }
  }
  return text + "}\n";
}

std::string fixedFunctionFragmentSource(const ShadingKey& key, const std::string& header) {
  std::string text = header + "in vec4 primaryColor;\n";
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    if (key.units[unit].enabled) {
      text += "in vec4 " + texCoordName(unit) + ";\n";
      text += "uniform sampler2D " + unitName(unit) + ";\n";
    }
  }
  if (key.alphaTest) {
    text += std::string("uniform float ") + shading::kAlphaAbove + ";\n";
  }
  text += "layout(location = 0) out vec4 fragmentColor;\n";
  if (key.alphaTest) {
    text += platform::alphaTestFunction();
  }
  text += "void main() {\n  vec4 color = primaryColor;\n  vec4 texel;\n";
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    if (key.units[unit].enabled) {
      text += unitCode(unit, key.units[unit].mode);
    }
  }
  if (key.alphaTest) {
    text += std::string("  if (!") + platform::kAlphaTestPasses + "(color.a, " + shading::kAlphaAbove + ")) {\n    discard;\n  }\n";
  }
  return text + "  fragmentColor = color;\n}\n";
}
