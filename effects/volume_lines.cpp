#include "effects/volume_lines.h"

#include "core/debug_log.h"
#include "core/draw_counts.h"
#include "core/effects_register.h"
#include "effects/effect_pass.h"
#include "platform/gl_capabilities.h"
#include "gpu/shader_manager.h"
#include "gpu/texture_manager.h"
#include "platform/failure_report.h"

const char* const kVolumeLinePictures[kVolumeLinePictureCount] = {
    "linevol_contours.jpg", "linevol_enamels.jpg", "linevol_redlaser.jpg", "linevol_blueglow.jpg",
    "linevol_bluethunder.jpg", "linevol_glass.jpg", "linevol_firespiral.jpg",
};

namespace {

constexpr const char* kBoxCaption = "ERROR";
constexpr const char* kNoMultitextureText = "One or more GL_ARB_multitexture functions were not found";
constexpr const char* kNoVertexStageText =
    "Failed to initialize vertex shader! Hardware doesn't support any of the required vertex shading extensions!";
constexpr const char* kNoFragmentStageText =
    "Failed to initialize fragment shader! Hardware doesn't support any of the required fragment shading "
    "extensions!";
// Pictures whose brightness below 1 % becomes transparent, so only the glow is blended.
constexpr int kAlphaFromBrightness = 2;
constexpr float kTransparentBelow = 0.01f;
// The faintest part of a tube the lines' pass lets through.
constexpr float kFaintestShown = 0.1f;

// The lines stay off: the user is told in a box, as the lines always told, and on the way out.
void warn(const char* text) {
  effectsRegister().switchOff(Effect::VolumeLines, text);
  platform::reportFailure(platform::boxReport(text, kBoxCaption, platform::BoxIcon::Exclamation));
}

}  // namespace

PassState volumeLinePass() {
  PassState pass = blendedEffectPass(BlendFactor::SourceAlpha, BlendFactor::DestinationColor, TextureMode::Modulate);
  pass.alphaTest = true;
  pass.alphaAbove = kFaintestShown;
  return pass;
}

bool VolumeLines::initialize() { return initialize(platform::contextCapabilities()); }

bool VolumeLines::initialize(const platform::GLCapabilities& capabilities) {
  if (!capabilities.multitexture) {
    warn(kNoMultitextureText);
    return false;
  }
  if (!vertexStageSupported()) {
    warn(kNoVertexStageText);
    return false;
  }
  if (!fragmentStageSupported()) {
    warn(kNoFragmentStageText);
    return false;
  }
  // The shader manager logs why a program could not be made; the lines simply stay off.
  ShaderManager& shaders = shaderManager();
  vertexProgram = shaders.newProgram(kVolumeLinesVertexFile, platform::kProfileClassVertex, "main");
  fragmentProgram = shaders.newProgram(kVolumeLinesFragmentFile, platform::kProfileClassFragment, "main");
  if (vertexProgram == nullptr || fragmentProgram == nullptr) {
    effectsRegister().switchOff(Effect::VolumeLines, shaders.lastFailure());
    return false;
  }
  modelViewProjParameter = shaders.getParameter(vertexProgram, "ModelViewProj");
  modelViewParameter = shaders.getParameter(vertexProgram, "ModelView");
  textureParameter = shaders.getParameter(fragmentProgram, "volumeLineTexure");
  shaders.prepareStages(vertexProgram, fragmentProgram);
  effectsRegister().switchOn(Effect::VolumeLines);
  return enabled();
}

bool VolumeLines::enabled() const { return effectsRegister().isOn(Effect::VolumeLines); }

bool VolumeLines::vertexStageSupported() const {
  return profileSupported(platform::ShaderProfile::Arbvp1) || profileSupported(platform::ShaderProfile::Vp40);
}

bool VolumeLines::fragmentStageSupported() const {
  return profileSupported(platform::ShaderProfile::Arbfp1) || profileSupported(platform::ShaderProfile::Fp30) ||
         profileSupported(platform::ShaderProfile::Fp20);
}

int VolumeLines::addTexture(int index) {
  if (index < 0 || index >= kVolumeLinePictureCount) {
    DebugLog::append(kLogFileName, "VolumeLines: there is no line picture %d, nothing added\r\n", index);
    return -1;
  }
  if (textureCount >= kVolumeLineTextureCapacity) {
    DebugLog::append(kLogFileName, "VolumeLines: the list holds %d textures already, %s not added\r\n",
                     kVolumeLineTextureCapacity, kVolumeLinePictures[index]);
    return -1;
  }
  textures[textureCount] = textureManager().loadTexture(kVolumeLinePictures[index], kAlphaFromBrightness,
                                                        kTransparentBelow);
  return textureCount++;
}

bool VolumeLines::beginLines() {
  if (!enabled()) {
    return false;
  }
  DrawLayer& layer = drawLayer();
  layer.applyPass(volumeLinePass());
  ShaderManager& shaders = shaderManager();
  shaders.bindProgram(vertexProgram);
  shaders.bindProgram(fragmentProgram);
  layer.programStarted();
  platform::setStateMatrixParameter(modelViewProjParameter, platform::StateMatrix::ModelViewProjection,
                                    platform::MatrixTransform::Identity);
  platform::setStateMatrixParameter(modelViewParameter, platform::StateMatrix::ModelView,
                                    platform::MatrixTransform::Identity);
  // The texture is set before the sampler is enabled, since enabling binds the texture it holds.
  platform::setTextureParameter(textureParameter, textureCount > 0 ? textures[0] : 0);
  platform::enableTextureParameter(textureParameter);
  layer.begin(Primitive::Quads);
  countDraw(0);
  return true;
}

void VolumeLines::drawLine(float x0, float y0, float z0, float x1, float y1, float z1, float width) {
  if (!enabled()) {
    return;
  }
  drawCounts().triangles += 2;
  const float p0[3] = {x0, y0, z0};
  const float p1[3] = {x1, y1, z1};
  // Corners in quad order: first end, last end, last end, first end; the tile corner goes round
  // the square and the side sign alternates.
  emitCorner(0.0f, 0.0f, -width, width, p0, p1);
  emitCorner(0.25f, 0.0f, width, width, p1, p0);
  emitCorner(0.25f, 0.25f, -width, width, p1, p0);
  emitCorner(0.0f, 0.25f, width, width, p0, p1);
}

// The unused coordinates take the values the fixed function gives them: r 0 and q 1.
void VolumeLines::emitCorner(float s, float t, float side, float width, const float here[3], const float there[3]) {
  DrawLayer& layer = drawLayer();
  layer.unitTexCoord(0, s, t, width, 1.0f);
  layer.unitTexCoord(1, side, 0.5f * width, 0.0f, 1.0f);
  layer.unitTexCoord(2, there[0], there[1], there[2], 1.0f);
  layer.vertex(here[0], here[1], here[2]);
}

void VolumeLines::endLines() {
  if (!enabled()) {
    return;
  }
  DrawLayer& layer = drawLayer();
  layer.end();
  platform::disableTextureParameter(textureParameter);
  ShaderManager& shaders = shaderManager();
  shaders.unbindProgram(vertexProgram);
  shaders.unbindProgram(fragmentProgram);
  layer.programEnded();
}
