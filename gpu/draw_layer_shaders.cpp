// The shader back end's state: the pass state, the matrices, the light and material, textures and
// the generated programs; its draws and recordings are in draw_layer_shaders_draws.cpp.
//
// Sections: pass state; matrices; light, material, textures; viewport, scissor, clearing; the
// project's programs; programs and their values.
#include "gpu/draw_layer_shaders.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstring>

#include "core/debug_log.h"
#include "core/draw_counts.h"
#include "gpu/gl_kind_names.h"
#include "platform/gl_binding_record.h"
#include "platform/glsl_runtime.h"
#include "platform/glsl_translation.h"

namespace {

void enableIf(GLenum capability, bool enabled) {
  if (enabled) {
    glEnable(capability);
  } else {
    glDisable(capability);
  }
}

bool isIdentityMatrix(const Matrix4& matrix) {
  static const Matrix4 kIdentity;
  return std::memcmp(matrix.m, kIdentity.m, sizeof(matrix.m)) == 0;
}

// The compiler's or linker's log of an object, for the log line of a program that failed.
std::string objectLog(GLuint object, bool isProgram) {
  GLint length = 0;
  if (isProgram) {
    countQueries(1);
    glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
  } else {
    countQueries(1);
    glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
  }
  std::string text(static_cast<size_t>(std::max(length, 1)), '\0');
  if (isProgram) {
    countQueries(1);
    glGetProgramInfoLog(object, length, nullptr, &text[0]);
  } else {
    countQueries(1);
    glGetShaderInfoLog(object, length, nullptr, &text[0]);
  }
  text.resize(std::strlen(text.c_str()));
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

GLuint compileStage(GLenum type, const std::string& source, std::string& problem) {
  const GLuint shader = glCreateShader(type);
  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint compiled = GL_FALSE;
  countQueries(1);
  glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled != GL_TRUE) {
    problem = objectLog(shader, false);
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

GLuint linkStages(const std::string& vertexSource, const std::string& fragmentSource, std::string& problem) {
  const GLuint vertex = compileStage(GL_VERTEX_SHADER, vertexSource, problem);
  const GLuint fragment = vertex != 0 ? compileStage(GL_FRAGMENT_SHADER, fragmentSource, problem) : 0;
  if (fragment == 0) {
    glDeleteShader(vertex);
    return 0;
  }
  GLuint program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  countProgramLink();
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  GLint linked = GL_FALSE;
  countQueries(1);
  glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) {
    problem = objectLog(program, true);
    glDeleteProgram(program);
    program = 0;
  }
  return program;
}

void logStackRefused(const char* what) {
  DebugLog::append(kLogFileName, "Drawing layer: %s refused, the matrix stack is %s; the matrix stays\r\n", what,
                   std::strcmp(what, "push") == 0 ? "full" : "at its last matrix");
}

}  // namespace

ShaderLayer::ShaderLayer(const platform::GLCapabilities& capabilities) : capabilities_(capabilities) {
  GLint box[4] = {0, 0, 0, 0};
  countQueries(1);
  glGetIntegerv(GL_VIEWPORT, box);
  viewport_ = Viewport{box[0], box[1], box[2], box[3]};
  // The context may come from another layer or another user: the default pass is sent whole once,
  // and from here on every binding goes through the record.
  sendPass(pass_, nullptr);
  glCullFace(GL_BACK);
  platform::resetBindingRecord();
  createStreamArrays();
}

ShaderLayer::~ShaderLayer() {
  for (const auto& [handle, mesh] : meshes_) {
    deleteMesh(mesh);
  }
  for (auto& [name, recording] : recordings_) {
    for (const RecordedBatch& batch : recording.batches) {
      glDeleteVertexArrays(1, &batch.vertexArray);
      glDeleteBuffers(1, &batch.buffer);
    }
  }
  releaseStreamArrays();
  // Nothing of the layer stays in use: the context draws as before it was made.
  platform::useProgram(0);
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    platform::bindTexture2D(unit, 0);
  }
  for (auto& [bits, program] : programs_) {
    glDeleteProgram(program->object);
  }
}

bool ShaderLayer::ready() {
  if (streamArrays_[0] == 0 || streamBuffer_ == 0) {
    DebugLog::append(kLogFileName, "Drawing layer: the shader back end got no vertex array or buffer\r\n");
    return false;
  }
  return programFor(ShadingKey()).object != 0;
}

// ---- Pass state ----

// The whole value is the pass in force, whatever an earlier pass set; the fields that reach the
// driver go when they change, and those that shape the shading choose the program at the next draw.
void ShaderLayer::applyPass(const PassState& state) {
  countStateChanges(static_cast<uint64_t>(changedFields(pass_, state)));
  sendPass(state, &pass_);
  pass_ = state;
  followColor();
  if (projectProgramRuns_) {
    handAlphaTestToPrograms();
  }
}

// While colour material is on, the material's ambient and diffuse colours are the current colour,
// and they stay what it was last when it goes off, as the fixed function's material does.
void ShaderLayer::followColor() {
  if (!pass_.colorMaterial || recording_ != nullptr) {
    return;
  }
  std::copy(current_.color, current_.color + 4, material_);
  std::copy(current_.color, current_.color + 4, material_ + 4);
  ++materialVersion_;
}

// Only what differs from the pass in force reaches the driver: nothing but the layer sets these
// (a clear puts back what it sets aside), so the pass in force is what the GL has.
void ShaderLayer::sendPass(const PassState& state, const PassState* inForce) {
  const bool all = inForce == nullptr;
  if (all || state.blend != inForce->blend) {
    enableIf(GL_BLEND, state.blend);
  }
  if (all || state.blendSource != inForce->blendSource || state.blendDestination != inForce->blendDestination) {
    glBlendFunc(glBlendFactor(state.blendSource), glBlendFactor(state.blendDestination));
  }
  if (all || state.depthTest != inForce->depthTest) {
    enableIf(GL_DEPTH_TEST, state.depthTest);
  }
  if (all || state.depthWrite != inForce->depthWrite) {
    glDepthMask(state.depthWrite ? GL_TRUE : GL_FALSE);
  }
  if (all || state.cullBackFaces != inForce->cullBackFaces) {
    enableIf(GL_CULL_FACE, state.cullBackFaces);
  }
  if (all || state.scissorTest != inForce->scissorTest) {
    enableIf(GL_SCISSOR_TEST, state.scissorTest);
  }
}

// ---- Matrices ----

void ShaderLayer::recordMatrixStep(std::function<void(MatrixStacks&)> step) {
  if (recording_ != nullptr) {
    RecordedCommand command;
    command.kind = RecordedCommand::Kind::Matrix;
    command.matrixStep = std::move(step);
    recording_->commands.push_back(std::move(command));
    return;
  }
  step(stacks_);
  if (projectProgramRuns_) {
    handMatricesToPrograms();
  }
}

// The project's fragment stages end with the pass's alpha test, which the fixed function did
// after any program.
void ShaderLayer::handAlphaTestToPrograms() const { platform::setAlphaTest(pass_.alphaTest, clampedAlphaAbove()); }

// The GL holds the reference clamped to [0, 1].
float ShaderLayer::clampedAlphaAbove() const { return std::min(std::max(pass_.alphaAbove, 0.0f), 1.0f); }

// The project's programs read the model-view and projection matrices as the GL's own; here the
// layer's stacks stand for those.
void ShaderLayer::handMatricesToPrograms() const {
  platform::setStateMatrices(stacks_.top(MatrixStack::ModelView).m, stacks_.top(MatrixStack::Projection).m);
}

void ShaderLayer::matrixMode(MatrixStack stack) {
  recordMatrixStep([stack](MatrixStacks& stacks) { stacks.select(stack); });
}

void ShaderLayer::pushMatrix() {
  recordMatrixStep([](MatrixStacks& stacks) {
    if (!stacks.push()) {
      logStackRefused("push");
    }
  });
}

void ShaderLayer::popMatrix() {
  recordMatrixStep([](MatrixStacks& stacks) {
    if (!stacks.pop()) {
      logStackRefused("pop");
    }
  });
}

void ShaderLayer::loadIdentity() {
  recordMatrixStep([](MatrixStacks& stacks) { stacks.loadIdentity(); });
}

void ShaderLayer::loadMatrix(const Matrix4& matrix) {
  recordMatrixStep([matrix](MatrixStacks& stacks) { stacks.load(matrix); });
}

void ShaderLayer::multiplyMatrix(const Matrix4& matrix) {
  recordMatrixStep([matrix](MatrixStacks& stacks) { stacks.multiply(matrix); });
}

void ShaderLayer::translate(float x, float y, float z) {
  recordMatrixStep([=](MatrixStacks& stacks) { stacks.translate(x, y, z); });
}

void ShaderLayer::rotate(float angleDegrees, float x, float y, float z) {
  recordMatrixStep([=](MatrixStacks& stacks) { stacks.rotate(angleDegrees, x, y, z); });
}

void ShaderLayer::scale(float x, float y, float z) {
  recordMatrixStep([=](MatrixStacks& stacks) { stacks.scale(x, y, z); });
}

void ShaderLayer::perspective(double fovYDegrees, double aspect, double nearDistance, double farDistance) {
  recordMatrixStep([=](MatrixStacks& stacks) { stacks.perspective(fovYDegrees, aspect, nearDistance, farDistance); });
}

void ShaderLayer::frustum(double left, double right, double bottom, double top, double nearDistance,
                          double farDistance) {
  recordMatrixStep(
      [=](MatrixStacks& stacks) { stacks.frustum(left, right, bottom, top, nearDistance, farDistance); });
}

void ShaderLayer::ortho2D(double left, double right, double bottom, double top) {
  recordMatrixStep([=](MatrixStacks& stacks) { stacks.ortho(left, right, bottom, top, -1.0, 1.0); });
}

void ShaderLayer::lookAt(double eyeX, double eyeY, double eyeZ, double targetX, double targetY, double targetZ,
                         double upX, double upY, double upZ) {
  recordMatrixStep([=](MatrixStacks& stacks) {
    stacks.lookAt(eyeX, eyeY, eyeZ, targetX, targetY, targetZ, upX, upY, upZ);
  });
}

// ---- Light, material, textures ----

void ShaderLayer::setLight(const float position[4], const float ambient[4], const float diffuse[4],
                           const float specular[4]) {
  // Placed with the model-view matrix of this moment, as the GL places a light.
  const Matrix4& modelView = stacks_.top(MatrixStack::ModelView);
  for (int row = 0; row < 4; ++row) {
    light_[row] = modelView.m[row] * position[0] + modelView.m[4 + row] * position[1] +
                  modelView.m[8 + row] * position[2] + modelView.m[12 + row] * position[3];
  }
  std::copy(ambient, ambient + 4, light_ + 4);
  std::copy(diffuse, diffuse + 4, light_ + 8);
  std::copy(specular, specular + 4, light_ + 12);
  ++lightVersion_;
}

void ShaderLayer::setMaterial(const float ambient[4], const float diffuse[4], const float specular[4],
                              const float emission[4]) {
  std::copy(ambient, ambient + 4, material_);
  std::copy(diffuse, diffuse + 4, material_ + 4);
  std::copy(specular, specular + 4, material_ + 8);
  std::copy(emission, emission + 4, material_ + 12);
  ++materialVersion_;
}

void ShaderLayer::bindTexture(int unit, unsigned int texture) {
  if (unit < 0 || unit >= kDrawTextureUnits) {
    DebugLog::append(kLogFileName, "Drawing layer: there is no texture unit %d; texture %u not bound\r\n", unit,
                     texture);
    return;
  }
  platform::bindTexture2D(unit, texture);
}

// ---- Viewport, scissor, clearing ----

void ShaderLayer::setViewport(const Viewport& viewport) {
  glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
  viewport_ = viewport;
}

void ShaderLayer::setScissor(const Viewport& box) { glScissor(box.x, box.y, box.width, box.height); }

void ShaderLayer::setClearColor(float red, float green, float blue, float alpha) {
  clearColor_[0] = red;
  clearColor_[1] = green;
  clearColor_[2] = blue;
  clearColor_[3] = alpha;
  glClearColor(red, green, blue, alpha);
}

// The whole viewport: the pass's scissor and depth writes are set aside for the clear and put back.
void ShaderLayer::clear(bool color, bool depth) {
  const GLbitfield mask = (color ? GL_COLOR_BUFFER_BIT : 0u) | (depth ? GL_DEPTH_BUFFER_BIT : 0u);
  if (mask == 0) {
    return;
  }
  const bool unmaskDepth = depth && !pass_.depthWrite;
  enableIf(GL_SCISSOR_TEST, false);
  if (unmaskDepth) {
    glDepthMask(GL_TRUE);
  }
  glClear(mask);
  if (unmaskDepth) {
    glDepthMask(GL_FALSE);
  }
  enableIf(GL_SCISSOR_TEST, pass_.scissorTest);
}

void ShaderLayer::finish() { glFinish(); }

// ---- The project's programs ----

void ShaderLayer::programStarted() {
  // A generated program in use would hide the project's program pipeline; a program the shader
  // runtime put in use stays.
  if (programInUse_ != 0 && platform::programInUse() == programInUse_) {
    platform::useProgram(0);
  }
  programInUse_ = 0;
  projectProgramRuns_ = true;
  handMatricesToPrograms();
  handAlphaTestToPrograms();
}

void ShaderLayer::programEnded() {
  projectProgramRuns_ = false;
  programInUse_ = 0;
}

// ---- Programs and their values ----

ShadingKey ShaderLayer::keyFor(const PassState& pass, bool unitsBound) const {
  ShadingKey key;
  key.lighting = pass.lighting;
  key.colorMaterial = pass.colorMaterial;
  key.positionalLight = light_[3] != 0.0f;
  key.alphaTest = pass.alphaTest;
  key.textureMatrix = textureMatrixUsed_;
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    key.units[unit] = pass.units[unit];
    key.units[unit].enabled = pass.units[unit].enabled && (unitsBound || platform::textureOnUnit(unit) != 0);
  }
  return key;
}

// The program a pass draws with once its units have their textures, made while loading.
void ShaderLayer::preparePass(const PassState& pass) { programFor(keyFor(pass, true)); }

ShaderLayer::Program& ShaderLayer::programFor(const ShadingKey& key) {
  std::unique_ptr<Program>& program = programs_[key.bits()];
  if (program == nullptr) {
    program = std::make_unique<Program>();
    makeProgram(key, *program);
  }
  return *program;
}

void ShaderLayer::makeProgram(const ShadingKey& key, Program& program) {
  const std::string header = platform::modernShaderHeader(capabilities_.kind);
  std::string problem;
  program.object =
      linkStages(fixedFunctionVertexSource(key, header), fixedFunctionFragmentSource(key, header), problem);
  if (program.object == 0) {
    DebugLog::append(kLogFileName, "Drawing layer: the program for shading key %u failed (%s); its draws are skipped\r\n",
                     key.bits(), problem.c_str());
    return;
  }
  const GLuint object = program.object;
  countQueries(7);
  program.modelViewProjection = glGetUniformLocation(object, shading::kModelViewProjection);
  program.modelView = glGetUniformLocation(object, shading::kModelView);
  program.normalMatrix = glGetUniformLocation(object, shading::kNormalMatrix);
  program.textureMatrix = glGetUniformLocation(object, shading::kTextureMatrix);
  program.light = glGetUniformLocation(object, shading::kLight);
  program.material = glGetUniformLocation(object, shading::kMaterial);
  program.alphaAbove = glGetUniformLocation(object, shading::kAlphaAbove);
  // Each unit's sampler reads its own texture unit, for good.
  platform::useProgram(object);
  programInUse_ = object;
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    const std::string name = shading::kUnitSamplerPrefix + std::to_string(unit);
    countQueries(1);
    const GLint location = glGetUniformLocation(object, name.c_str());
    if (location >= 0) {
      glUniform1i(location, unit);
    }
  }
}

void ShaderLayer::refreshTransform() {
  bool changed = false;
  for (const MatrixStack stack : {MatrixStack::ModelView, MatrixStack::Projection, MatrixStack::Texture}) {
    const unsigned int version = stacks_.version(stack);
    changed = changed || version != seenStackVersions_[static_cast<int>(stack)];
    seenStackVersions_[static_cast<int>(stack)] = version;
  }
  if (!changed) {
    return;
  }
  const Matrix4& modelView = stacks_.top(MatrixStack::ModelView);
  modelViewProjection_ = stacks_.top(MatrixStack::Projection);
  modelViewProjection_.multiply(modelView);
  normalMatrixOf(modelView, normalMatrix_);
  textureMatrixUsed_ = !isIdentityMatrix(stacks_.top(MatrixStack::Texture));
  ++transformVersion_;
}

void ShaderLayer::sendUniforms(Program& program) {
  if (program.transformVersion != transformVersion_) {
    glUniformMatrix4fv(program.modelViewProjection, 1, GL_FALSE, modelViewProjection_.m);
    if (program.modelView >= 0) {
      glUniformMatrix4fv(program.modelView, 1, GL_FALSE, stacks_.top(MatrixStack::ModelView).m);
    }
    if (program.normalMatrix >= 0) {
      glUniformMatrix3fv(program.normalMatrix, 1, GL_FALSE, normalMatrix_);
    }
    if (program.textureMatrix >= 0) {
      glUniformMatrix4fv(program.textureMatrix, 1, GL_FALSE, stacks_.top(MatrixStack::Texture).m);
    }
    program.transformVersion = transformVersion_;
  }
  if (program.light >= 0 && program.lightVersion != lightVersion_) {
    glUniform4fv(program.light, 4, light_);
    program.lightVersion = lightVersion_;
  }
  if (program.material >= 0 && program.materialVersion != materialVersion_) {
    glUniform4fv(program.material, 4, material_);
    program.materialVersion = materialVersion_;
  }
  const float alphaAbove = clampedAlphaAbove();
  if (program.alphaAbove >= 0 && program.sentAlphaAbove != alphaAbove) {
    glUniform1f(program.alphaAbove, alphaAbove);
    program.sentAlphaAbove = alphaAbove;
  }
}

bool ShaderLayer::prepareDraw() {
  if (projectProgramRuns_) {
    return true;
  }
  refreshTransform();
  Program& program = programFor(keyFor(pass_, false));
  if (program.object == 0) {
    return false;
  }
  platform::useProgram(program.object);
  programInUse_ = program.object;
  sendUniforms(program);
  return true;
}

std::unique_ptr<DrawLayer> createShaderLayer(const platform::GLCapabilities& capabilities) {
  const int needed = capabilities.isES() ? 300 : 330;
  if (capabilities.shadingLanguageVersion < needed || glGenVertexArrays == nullptr) {
    DebugLog::append(kLogFileName,
                     "Drawing layer: the shader back end needs GLSL %s and vertex arrays; this context has GLSL %d\r\n",
                     capabilities.isES() ? "ES 3.00" : "3.30", capabilities.shadingLanguageVersion);
    return nullptr;
  }
  auto layer = std::make_unique<ShaderLayer>(capabilities);
  if (!layer->ready()) {
    return nullptr;
  }
  return layer;
}
