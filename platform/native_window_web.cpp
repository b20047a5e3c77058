// The window on the web: the page's canvas, which is always there, and a WebGL 2 context, which
// is OpenGL ES 3.0. Browsers refuse debug contexts, so none is asked for.
#include "platform/native_window.h"

#include <SDL.h>

#include "platform/native_window_state.h"

namespace platform {

namespace {

const char* const kOnlyWebGl2 = "a browser offers WebGL 2 (OpenGL ES 3.0) contexts only";

SDL_GLContext webGl2Context(NativeWindow* window, std::string& error) {
  if (window == nullptr) {
    error = "no window";
    return nullptr;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, 0);
  SDL_GLContext context = SDL_GL_CreateContext(window->sdlWindow);
  if (context == nullptr) {
    error = std::string("es: ") + SDL_GetError();
  }
  return context;
}

// The browser's full screen (flags SDL_WINDOW_FULLSCREEN_DESKTOP) or the page (0); the browser
// grants full screen only from a user's key press or click.
bool switchFullScreen(NativeWindow* window, Uint32 flags, std::string& error) {
  if (window == nullptr) {
    error = "no window";
    return false;
  }
  const bool switched = SDL_SetWindowFullscreen(window->sdlWindow, flags) == 0;
  if (!switched) {
    error = SDL_GetError();
  }
  queueSize(window->sdlWindow);
  return switched;
}

}  // namespace

bool displayAvailable(std::string& unopened) {
  unopened.clear();
  return true;
}

void noteDisplayErrors() {}

// The canvas is the display; a page has no other place to draw.
void drawOffScreen() {}

bool setDesktopFullScreen(NativeWindow* window, std::string& error) {
  return switchFullScreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP, error);
}

bool leaveDesktopFullScreen(NativeWindow* window, std::string& error) { return switchFullScreen(window, 0, error); }

GLContextHandle createGLContext(NativeWindow* /*window*/, bool /*debugContext*/, std::string& error) {
  error = std::string("compat: ") + kOnlyWebGl2;
  return nullptr;
}

GLContextHandle createGLContextOfKind(NativeWindow* window, GLContextKind kind, bool /*debugContext*/,
                                      std::string& error) {
  if (kind != GLContextKind::ES) {
    error = std::string(contextKindName(kind)) + ": " + kOnlyWebGl2;
    return nullptr;
  }
  return webGl2Context(window, error);
}

GLContextHandle createPreferredGLContext(NativeWindow* window, bool /*debugContext*/, GLContextKind& got,
                                         std::string& error) {
  got = GLContextKind::ES;
  return webGl2Context(window, error);
}

}  // namespace platform
