// The desktop loader: GLEW finds the entry points the driver offers.
#include "platform/gl_entry_points.h"

#include <GL/glew.h>

#include <cstdlib>

namespace platform {

namespace {

// A driver that offers only the EXT framebuffer objects gets them under the core names; the calls
// we make take the same arguments and mean the same in both.
void useExtFramebufferObjectsAsCore() {
  if (glGenFramebuffers != nullptr || !GLEW_EXT_framebuffer_object) {
    return;
  }
  __glewGenFramebuffers = __glewGenFramebuffersEXT;
  __glewBindFramebuffer = __glewBindFramebufferEXT;
  __glewDeleteFramebuffers = __glewDeleteFramebuffersEXT;
  __glewCheckFramebufferStatus = __glewCheckFramebufferStatusEXT;
  __glewFramebufferTexture2D = __glewFramebufferTexture2DEXT;
  __glewFramebufferRenderbuffer = __glewFramebufferRenderbufferEXT;
  __glewGenRenderbuffers = __glewGenRenderbuffersEXT;
  __glewBindRenderbuffer = __glewBindRenderbufferEXT;
  __glewDeleteRenderbuffers = __glewDeleteRenderbuffersEXT;
  __glewIsRenderbuffer = __glewIsRenderbufferEXT;
  __glewRenderbufferStorage = __glewRenderbufferStorageEXT;
  __glewGetRenderbufferParameteriv = __glewGetRenderbufferParameterivEXT;
}

}  // namespace

bool loadGLEntryPoints(std::string& problem) {
  // A core profile has no extension string for GLEW to look entry points up in, and ES names its
  // own extensions, not the desktop ones GLEW loads vertex arrays and framebuffers under: there
  // GLEW loads every entry point the driver gives. A compatibility context keeps to the extensions
  // named, so that what a driver leaves out (or is told to) stays out.
  const std::string version = driverText(GL_VERSION);
  const bool es = version.compare(0, 9, "OpenGL ES") == 0;
  // Profiles exist from GL 3.2 on; asking an older context would only leave an error.
  GLint profile = 0;
  if (!es && std::atof(version.c_str()) >= 3.2) {
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
  }
  glewExperimental = es || (profile & GL_CONTEXT_CORE_PROFILE_BIT) != 0 ? GL_TRUE : GL_FALSE;
  const GLenum status = glewInit();
  // On a core or ES context GLEW's own queries of that string leave GL_INVALID_ENUM behind; it is
  // not the program's.
  while (glGetError() != GL_NO_ERROR) {
  }
  // GLEW 2.2 loads every GL entry point first and then asks GLX for its own; on a context made
  // through EGL (drawing off-screen, with no X display) that last step fails with this code
  // although the GL is ready. The context's version string tells that it is.
  const bool eglContextReady = status == GLEW_ERROR_NO_GLX_DISPLAY && !driverText(GL_VERSION).empty();
  if (status != GLEW_OK && !eglContextReady) {
    problem = reinterpret_cast<const char*>(glewGetErrorString(status));
    return false;
  }
  useExtFramebufferObjectsAsCore();
  return true;
}

bool hasFramebufferObjects() {
  return glGenFramebuffers != nullptr && glBindFramebuffer != nullptr && glCheckFramebufferStatus != nullptr &&
         glFramebufferTexture2D != nullptr && glGenRenderbuffers != nullptr;
}

bool hasMultitexture() {
  return glActiveTexture != nullptr && glClientActiveTexture != nullptr && glMultiTexCoord2f != nullptr &&
         glMultiTexCoord3f != nullptr && glMultiTexCoord4f != nullptr;
}

std::string loaderVersion() { return reinterpret_cast<const char*>(glewGetString(GLEW_VERSION)); }

}  // namespace platform
