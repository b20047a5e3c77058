// The window on the desktop: whether there is a display at all, drawing off-screen, covering
// the display (checked against where the window really is), and the GL contexts a desktop driver
// offers.
#include "platform/native_window.h"

#include <SDL.h>

#include "core/debug_log.h"
#include "platform/native_window_state.h"
#include "platform/x_display.h"

namespace platform {

bool displayAvailable(std::string& unopened) {
  unopened.clear();
  const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
  if (wayland != nullptr && *wayland != '\0') {
    return true;
  }
  const char* x = SDL_getenv("DISPLAY");
  if (x == nullptr || *x == '\0') {
    return false;
  }
  if (!xDisplayOpens(x)) {
    unopened = x;
    return false;
  }
  return true;
}

void noteDisplayErrors() { reportXErrors(); }

void drawOffScreen() {
  windowSystem().offScreen = true;
  // SDL's offscreen driver draws into an EGL surface of the window's size; Mesa gives it a
  // compatibility context as on a display.
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
}

bool setDesktopFullScreen(NativeWindow* window, std::string& error) {
  if (window == nullptr) {
    error = "no window";
    return false;
  }
  const bool covered = coverDisplay(window->sdlWindow, window->cover, error);
  // The window's size has changed, or changed back, whether or not the system reports it.
  queueSize(window->sdlWindow);
  return covered;
}

bool leaveDesktopFullScreen(NativeWindow* window, std::string& error) {
  if (window == nullptr) {
    error = "no window";
    return false;
  }
  const bool left = uncoverDisplay(window->sdlWindow, window->cover, error);
  queueSize(window->sdlWindow);
  return left;
}

namespace {

// The context attributes of a kind; compatibility asks for GL 2.1, what the presentation was made on.
void setContextAttributes(GLContextKind kind, bool debugContext) {
  int flags = debugContext ? SDL_GL_CONTEXT_DEBUG_FLAG : 0;
  switch (kind) {
    case GLContextKind::Compatibility:
      SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
      SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
      SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
      break;
    case GLContextKind::Core:
      // Forward-compatible too, as some drivers give a core profile only that way.
      flags |= SDL_GL_CONTEXT_FORWARD_COMPATIBLE_FLAG;
      SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
      SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
      SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
      break;
    case GLContextKind::ES:
      SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
      SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
      SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
      break;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, flags);
}

// A context with the attributes set; one the driver answered with an X error is refused like any
// other, even when SDL got one.
SDL_GLContext createCheckedContext(NativeWindow* window) {
  const int xErrorsBefore = xErrorCount();
  SDL_GLContext context = SDL_GL_CreateContext(window->sdlWindow);
  if (context != nullptr && xErrorCount() != xErrorsBefore) {
    SDL_GL_DeleteContext(context);
    context = nullptr;
    SDL_SetError("the driver answered with an X error");
  }
  return context;
}

SDL_GLContext contextOfKind(NativeWindow* window, GLContextKind kind, bool debugContext, std::string& error) {
  setContextAttributes(kind, debugContext);
  SDL_GLContext context = createCheckedContext(window);
  if (context == nullptr) {
    error = std::string(contextKindName(kind)) + ": " + SDL_GetError();
  }
  return context;
}

// A driver below GL 2.1 refuses a context of that version outright. Asked for no version and no
// profile, it gives whatever it has, and the presentation plays without what that lacks.
SDL_GLContext anyContext(NativeWindow* window, const std::string& refused, std::string& error) {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, 0);
  SDL_GLContext context = createCheckedContext(window);
  if (context == nullptr) {
    error = refused + "; without a version: " + SDL_GetError();
    return nullptr;
  }
  DebugLog::append(kLogFileName, "GL: the driver refused a GL 2.1 compatibility context (%s); took the context it offers\r\n",
                   refused.c_str());
  return context;
}

}  // namespace

GLContextHandle createGLContext(NativeWindow* window, bool debugContext, std::string& error) {
  if (window == nullptr) {
    error = "no window";
    return nullptr;
  }
  std::string refused;
  SDL_GLContext context = contextOfKind(window, GLContextKind::Compatibility, debugContext, refused);
  return context != nullptr ? context : anyContext(window, refused, error);
}

GLContextHandle createGLContextOfKind(NativeWindow* window, GLContextKind kind, bool debugContext,
                                      std::string& error) {
  if (window == nullptr) {
    error = "no window";
    return nullptr;
  }
  if (kind == GLContextKind::Compatibility) {
    return createGLContext(window, debugContext, error);
  }
  return contextOfKind(window, kind, debugContext, error);
}

GLContextHandle createPreferredGLContext(NativeWindow* window, bool debugContext, GLContextKind& got,
                                         std::string& error) {
  got = GLContextKind::Compatibility;
  SDL_GLContext context = createGLContext(window, debugContext, error);
  if (context != nullptr || window == nullptr) {
    return context;
  }
  std::string refused = error;
  for (const GLContextKind kind : {GLContextKind::Core, GLContextKind::ES}) {
    context = contextOfKind(window, kind, debugContext, error);
    if (context != nullptr) {
      DebugLog::append(kLogFileName, "GL: the driver refused a compatibility context (%s); took a %s context\r\n",
                       refused.c_str(), contextKindName(kind));
      got = kind;
      return context;
    }
    refused += "; " + error;
  }
  error = refused;
  return nullptr;
}

}  // namespace platform
