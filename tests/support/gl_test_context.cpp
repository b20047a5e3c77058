#include "tests/support/gl_test_context.h"

#include <GL/glew.h>

#include <cstdlib>
#include <string>

#include "gpu/draw_layer.h"
#include "platform/gl_capabilities.h"
#include "platform/gl_entry_points.h"
#include "platform/native_window.h"

namespace {

long ignoreMessages(const platform::WindowMessage&) { return 0; }

struct SharedContext {
  bool tried = false;
  bool ready = false;
  platform::NativeWindow* window = nullptr;
  platform::GLContextHandle context = nullptr;
  std::string failure;
};

SharedContext& shared() {
  static SharedContext state;
  return state;
}

}  // namespace

const std::string& glContextFailure() { return shared().failure; }

bool ensureGLContext() {
  SharedContext& state = shared();
  if (state.tried) {
    if (state.ready) {
      platform::makeCurrent(state.window, state.context);
    }
    return state.ready;
  }
  state.tried = true;
  if (std::getenv("DISPLAY") == nullptr) {
    return false;
  }
  std::string& error = state.failure;
  if (!platform::registerWindowClass(&ignoreMessages, error)) {
    error = "video: " + error;
    return false;
  }
  state.window = platform::createWindow("tests", 256, 256, 32, false, error);
  if (state.window == nullptr) {
    error = "window: " + error;
    return false;
  }
  state.context = platform::createGLContext(state.window, false, error);
  if (state.context == nullptr || !platform::makeCurrent(state.window, state.context)) {
    error = "context: " + error;
    return false;
  }
  state.ready = platform::loadGLEntryPoints(error);
  if (state.ready) {
    // The context lives until the test program ends, and its drawing layer with it.
    platform::setGLCapabilities(platform::readGLCapabilities(platform::GLContextKind::Compatibility));
    state.ready = createDrawLayer(platform::contextCapabilities());
  }
  return state.ready;
}

bool noProgramRuns() {
  GLint current = -1;
  glGetIntegerv(GL_CURRENT_PROGRAM, &current);
  GLint pipeline = 0;
  if (GLEW_VERSION_4_1 || GLEW_ARB_separate_shader_objects) {
    glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &pipeline);
  }
  return current == 0 && pipeline == 0;
}

unsigned int programHoldingValues(unsigned int stageProgram) {
  GLint current = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &current);
  return current != 0 ? static_cast<unsigned int>(current) : stageProgram;
}
