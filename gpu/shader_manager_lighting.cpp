// The per-pixel lighting block of the shader manager: its programs, its values, and the bracket
// around every mesh drawn with it.
#include <algorithm>

#include "gpu/shader_manager.h"

#include "core/effects_register.h"
#include "gpu/draw_layer.h"

namespace {

// A uniform the program does not use has no handle; its value is simply not sent.
void load3(platform::GlslParameter* parameter, const float values[3]) {
  if (parameter != nullptr) {
    platform::setParameter3fv(parameter, values);
  }
}

void load1(platform::GlslParameter* parameter, float value) {
  if (parameter != nullptr) {
    platform::setParameter1f(parameter, value);
  }
}

}  // namespace

void ShaderManager::setupPerPixelLighting() {
  ShaderProgram* fragment = newProgram(kPerPixelFragmentFile, platform::kProfileClassFragment, "PerPixelPS");
  ShaderProgram* vertex =
      fragment != nullptr ? newProgram(kPerPixelVertexFile, platform::kProfileClassVertex, "basic_vs") : nullptr;
  if (vertex == nullptr) {
    effectsRegister().switchOff(Effect::PerPixelLighting, lastFailure());
    return;
  }
  perPixel_.vertexProgram = vertex;
  perPixel_.fragmentProgram = fragment;
  perPixel_.modelViewProj = getParameter(vertex, "modelViewProj");
  perPixel_.lightPosition = getParameter(fragment, "lightPosition");
  perPixel_.eyePosition = getParameter(fragment, "eyePosition");
  perPixel_.Ka = getParameter(fragment, "Ka");
  perPixel_.Kd = getParameter(fragment, "Kd");
  perPixel_.Ks = getParameter(fragment, "Ks");
  perPixel_.shininess = getParameter(fragment, "shininess");
  perPixel_.attenStrength = getParameter(fragment, "attenStrength");
  perPixel_.attenLinear = getParameter(fragment, "attenLinear");
  perPixel_.texmap = getParameter(fragment, "texmap");
  prepareStages(fragment, vertex);
  effectsRegister().switchOn(Effect::PerPixelLighting);
}

void ShaderManager::setMaterialColours(const float colours[9]) {
  std::copy(colours, colours + 9, perPixel_.colours);
}

void ShaderManager::setShininessAndAttenuation(float shininess, float attenStrength, float attenLinear) {
  perPixel_.shininessValue = shininess;
  perPixel_.attenStrengthValue = attenStrength;
  perPixel_.attenLinearValue = attenLinear;
}

void ShaderManager::setEyeAndLight(const Vector3& eye, const Vector3& light) {
  perPixel_.eyePositionValue[0] = eye.x;
  perPixel_.eyePositionValue[1] = eye.y;
  perPixel_.eyePositionValue[2] = eye.z;
  perPixel_.lightPositionValue[0] = light.x;
  perPixel_.lightPositionValue[1] = light.y;
  perPixel_.lightPositionValue[2] = light.z;
}

void ShaderManager::setTexture(unsigned int texture) {
  perPixel_.texture = texture;
  if (perPixel_.texmap != nullptr) {
    platform::setTextureParameter(perPixel_.texmap, texture);
  }
}

void ShaderManager::beginPerPixel() {
  if (!effectsRegister().isOn(Effect::PerPixelLighting)) {
    return;
  }
  // The layer's own shading steps aside while the lighting programs draw.
  drawLayer().programStarted();
  // Fragment stage first, then vertex; a missing program leaves its stage fixed-function.
  if (perPixel_.fragmentProgram != nullptr) {
    bindProgram(perPixel_.fragmentProgram);
  }
  if (perPixel_.vertexProgram != nullptr) {
    bindProgram(perPixel_.vertexProgram);
  }
  if (perPixel_.modelViewProj != nullptr) {
    // The runtime reads the matrices the drawing layer holds where the context has none of its own.
    platform::setStateMatrixParameter(perPixel_.modelViewProj, platform::StateMatrix::ModelViewProjection,
                                      platform::MatrixTransform::Identity);
  }
  // Every value goes out again each time, so a change between two meshes shows on the second.
  load3(perPixel_.eyePosition, perPixel_.eyePositionValue);
  load3(perPixel_.lightPosition, perPixel_.lightPositionValue);
  load3(perPixel_.Ka, perPixel_.colours);
  load3(perPixel_.Kd, perPixel_.colours + 3);
  load3(perPixel_.Ks, perPixel_.colours + 6);
  load1(perPixel_.shininess, perPixel_.shininessValue);
  load1(perPixel_.attenStrength, perPixel_.attenStrengthValue);
  load1(perPixel_.attenLinear, perPixel_.attenLinearValue);
}

void ShaderManager::endPerPixel() {
  if (!effectsRegister().isOn(Effect::PerPixelLighting)) {
    return;
  }
  if (perPixel_.fragmentProgram != nullptr) {
    unbindProgram(perPixel_.fragmentProgram);
  }
  if (perPixel_.vertexProgram != nullptr) {
    unbindProgram(perPixel_.vertexProgram);
  }
  drawLayer().programEnded();
}

void ShaderManager::forgetPerPixelHandles() {
  perPixel_.vertexProgram = nullptr;
  perPixel_.fragmentProgram = nullptr;
  perPixel_.modelViewProj = nullptr;
  perPixel_.lightPosition = nullptr;
  perPixel_.eyePosition = nullptr;
  perPixel_.Ka = nullptr;
  perPixel_.Kd = nullptr;
  perPixel_.Ks = nullptr;
  perPixel_.shininess = nullptr;
  perPixel_.attenStrength = nullptr;
  perPixel_.attenLinear = nullptr;
  perPixel_.texmap = nullptr;
}
