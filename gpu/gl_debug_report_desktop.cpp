// The GL's own messages on the desktop: a debug context hands them to a callback (KHR_debug, or
// the older ARB_debug_output).
#include "gpu/gl_debug_report.h"

#include <GL/glew.h>

#include "core/debug_log.h"
#include "platform/gl_capabilities.h"

namespace {

void GLAPIENTRY receiveMessage(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei /*length*/,
                               const GLchar* message, const void* report) {
  const_cast<GLDebugReport*>(static_cast<const GLDebugReport*>(report))
      ->takeMessage(source, type, id, severity, message);
}

}  // namespace

GLDebugReport::Listening GLDebugReport::startListening() {
  // Messages arrive on this thread, inside the call that caused them, so the counts need no lock.
  // A driver that names GL 4.3 but hides KHR_debug hands out no entry points for it: the
  // capabilities say whether either set of entry points was found, and only a set found is called.
  const bool messages = platform::contextCapabilities().debugOutput;
  if (messages && glDebugMessageCallback != nullptr && glDebugMessageControl != nullptr) {
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageControl(GL_DONT_CARE, GL_DONT_CARE, GL_DONT_CARE, 0, nullptr, GL_TRUE);
    glDebugMessageCallback(&receiveMessage, this);
    DebugLog::append(kLogFileName, "GL debug: listening to the driver's messages (KHR_debug)\r\n");
    return Listening::KhrDebug;
  } else if (messages && glDebugMessageCallbackARB != nullptr && glDebugMessageControlARB != nullptr) {
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS_ARB);
    glDebugMessageControlARB(GL_DONT_CARE, GL_DONT_CARE, GL_DONT_CARE, 0, nullptr, GL_TRUE);
    glDebugMessageCallbackARB(&receiveMessage, this);
    DebugLog::append(kLogFileName, "GL debug: listening to the driver's messages (ARB_debug_output)\r\n");
    return Listening::ArbDebugOutput;
  }
  return Listening::None;
}

void GLDebugReport::stopListening() {
  if (listening_ == Listening::KhrDebug) {
    glDebugMessageCallback(nullptr, nullptr);
    glDisable(GL_DEBUG_OUTPUT);
  } else if (listening_ == Listening::ArbDebugOutput) {
    glDebugMessageCallbackARB(nullptr, nullptr);
  }
}
