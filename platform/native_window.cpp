#include "platform/native_window.h"

#include <SDL.h>

#include <deque>
#include <chrono>
#include <thread>

#include "core/debug_log.h"
#include "core/input_state.h"
#include "platform/native_window_cover.h"
#include "platform/x_display.h"

namespace platform {

struct NativeWindow {
  SDL_Window* sdlWindow = nullptr;
  bool fullScreen = false;
  DisplayCover cover;  // how the window covers its display at the display's own size
};

namespace {

struct WindowSystem {
  WindowProcedure procedure = nullptr;
  std::deque<WindowMessage> pending;
  NativeWindow* current = nullptr;
  bool videoStarted = false;
  bool offScreen = false;  // asked for: windows are drawn off-screen, with no display
};

WindowSystem& system() {
  static WindowSystem state;
  return state;
}

uint32_t packWords(int low, int high) {
  return (static_cast<uint32_t>(low) & 0xffffu) | ((static_cast<uint32_t>(high) & 0xffffu) << 16);
}

void queue(MessageType type, uint32_t wParam = 0, uint32_t lParam = 0) {
  system().pending.push_back(WindowMessage{type, wParam, lParam});
}

void queueSize(SDL_Window* sdlWindow) {
  int width = 0;
  int height = 0;
  SDL_GL_GetDrawableSize(sdlWindow, &width, &height);
  queue(MessageType::Size, 0, packWords(width, height));
}

// Mouse positions arrive in window coordinates; the viewport is in drawable pixels.
void toDrawablePixels(int x, int y, int& outX, int& outY) {
  outX = x;
  outY = y;
  NativeWindow* window = system().current;
  if (window == nullptr) {
    return;
  }
  int windowWidth = 0;
  int windowHeight = 0;
  int drawWidth = 0;
  int drawHeight = 0;
  SDL_GetWindowSize(window->sdlWindow, &windowWidth, &windowHeight);
  SDL_GL_GetDrawableSize(window->sdlWindow, &drawWidth, &drawHeight);
  if (windowWidth > 0 && windowHeight > 0) {
    outX = static_cast<int>(static_cast<int64_t>(x) * drawWidth / windowWidth);
    outY = static_cast<int>(static_cast<int64_t>(y) * drawHeight / windowHeight);
  }
}

void translateWindowEvent(const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
      SDL_Window* sdlWindow = SDL_GetWindowFromID(event.windowID);
      if (sdlWindow != nullptr) {
        queueSize(sdlWindow);
      }
      break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
      queue(MessageType::Activate, packWords(0, 1));
      break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_MAXIMIZED:
      queue(MessageType::Activate, packWords(0, 0));
      break;
    case SDL_WINDOWEVENT_CLOSE:
      queue(MessageType::Close);
      break;
    default:
      break;
  }
}

void translateEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      queue(MessageType::Quit);
      break;
    case SDL_WINDOWEVENT:
      translateWindowEvent(event.window);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const int code = virtualKeyFromSdl(event.key.keysym.sym);
      if (code >= 0) {
        queue(event.type == SDL_KEYDOWN ? MessageType::KeyDown : MessageType::KeyUp, static_cast<uint32_t>(code));
      }
      break;
    }
    case SDL_MOUSEMOTION: {
      int x = 0;
      int y = 0;
      toDrawablePixels(event.motion.x, event.motion.y, x, y);
      queue(MessageType::MouseMove, 0, packWords(x, y));
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      if (event.button.button == SDL_BUTTON_LEFT) {
        queue(down ? MessageType::LButtonDown : MessageType::LButtonUp);
      } else if (event.button.button == SDL_BUTTON_RIGHT) {
        queue(down ? MessageType::RButtonDown : MessageType::RButtonUp);
      }
      break;
    }
    default:
      break;
  }
}

int64_t sdlCounter() { return static_cast<int64_t>(SDL_GetPerformanceCounter()); }

int64_t sdlFrequency() { return static_cast<int64_t>(SDL_GetPerformanceFrequency()); }

}  // namespace

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
  return xDisplayOpens(unopened);
}

void drawOffScreen() {
  system().offScreen = true;
  // SDL's offscreen driver draws into an EGL surface of the window's size; Mesa gives it a
  // compatibility context as on a display.
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
}

bool registerWindowClass(WindowProcedure procedure, std::string& error) {
  WindowSystem& state = system();
  state.procedure = procedure;
  if (state.videoStarted) {
    return true;
  }
  // Closing the last window is a message for the window procedure, not a quit of its own.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  reportXErrors();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    error = SDL_GetError();
    return false;
  }
  // Without a display SDL falls back to drivers that show nothing; a presentation nobody can see
  // or stop is a failure unless someone asked for such a driver by name.
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool invisible = driver != nullptr && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
  if (invisible && SDL_getenv("SDL_VIDEODRIVER") == nullptr && !state.offScreen) {
    std::string unopened;
    error = displayAvailable(unopened) || unopened.empty() ? "no display to open a window on"
                                                           : "no display to open a window on: cannot open the display " + unopened;
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    return false;
  }
  // The presentation runs unattended: no screen saver and no monitor power-down while it plays.
  SDL_DisableScreenSaver();
  state.videoStarted = true;
  return true;
}

bool hasDisplayMode(int width, int height) {
  const int modeCount = SDL_GetNumDisplayModes(0);
  for (int index = 0; index < modeCount; ++index) {
    SDL_DisplayMode mode = {};
    if (SDL_GetDisplayMode(0, index, &mode) == 0 && mode.w == width && mode.h == height) {
      return true;
    }
  }
  return false;
}

NativeWindow* createWindow(const char* title, int width, int height, int colourBits, bool fullScreen,
                           std::string& error) {
  const int channelBits = colourBits >= 24 ? 8 : 5;
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channelBits);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channelBits);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channelBits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);

  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
  flags |= fullScreen ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_RESIZABLE;
  const int position = fullScreen ? 0 : SDL_WINDOWPOS_CENTERED;
  SDL_Window* sdlWindow = SDL_CreateWindow(title, position, position, width, height, flags);
  if (sdlWindow == nullptr) {
    error = SDL_GetError();
    return nullptr;
  }
  if (fullScreen) {
    SDL_DisplayMode mode = {};
    mode.w = width;
    mode.h = height;
    SDL_DisplayMode closest = {};
    if (SDL_GetClosestDisplayMode(0, &mode, &closest) == nullptr || SDL_SetWindowDisplayMode(sdlWindow, &closest) != 0) {
      error = SDL_GetError();
      SDL_DestroyWindow(sdlWindow);
      return nullptr;
    }
  }
  NativeWindow* window = new NativeWindow{sdlWindow, fullScreen, DisplayCover{}};
  system().current = window;
  return window;
}

void destroyWindow(NativeWindow* window) {
  if (window == nullptr) {
    return;
  }
  if (system().current == window) {
    system().current = nullptr;
  }
  SDL_DestroyWindow(window->sdlWindow);
  delete window;
}

void restoreDisplayMode(NativeWindow* window) {
  if (window != nullptr && window->fullScreen) {
    SDL_SetWindowFullscreen(window->sdlWindow, 0);
    window->fullScreen = false;
  }
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

void showCursor(bool visible) {
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
  }
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

bool makeCurrent(NativeWindow* window, GLContextHandle context) {
  return window != nullptr && SDL_GL_MakeCurrent(window->sdlWindow, context) == 0;
}

bool releaseCurrent() {
  if (SDL_GL_GetCurrentContext() == nullptr) {
    return true;
  }
  return SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr) == 0;
}

void deleteGLContext(GLContextHandle context) {
  if (context != nullptr) {
    SDL_GL_DeleteContext(context);
  }
}

void showWindow(NativeWindow* window) {
  if (window == nullptr) {
    return;
  }
  SDL_ShowWindow(window->sdlWindow);
  SDL_RaiseWindow(window->sdlWindow);
  SDL_SetWindowInputFocus(window->sdlWindow);
  queueSize(window->sdlWindow);
}

void swapBuffers(NativeWindow* window) {
  if (window != nullptr) {
    SDL_GL_SwapWindow(window->sdlWindow);
  }
}

bool setSwapInterval(int interval) { return SDL_GL_SetSwapInterval(interval) == 0; }

void drawableSize(NativeWindow* window, int& width, int& height) {
  width = 0;
  height = 0;
  if (window != nullptr) {
    SDL_GL_GetDrawableSize(window->sdlWindow, &width, &height);
  }
}

bool peekMessage(WindowMessage& message) {
  WindowSystem& state = system();
  if (state.pending.empty() && state.videoStarted) {
    SDL_Event event;
    while (state.pending.empty() && SDL_PollEvent(&event) != 0) {
      translateEvent(event);
    }
  }
  if (state.pending.empty()) {
    return false;
  }
  message = state.pending.front();
  state.pending.pop_front();
  return true;
}

long dispatchMessage(const WindowMessage& message) {
  WindowProcedure procedure = system().procedure;
  return procedure != nullptr ? procedure(message) : 0;
}

void postQuitMessage() { queue(MessageType::Quit); }

int virtualKeyFromSdl(int32_t sdlKey) {
  if (sdlKey >= SDLK_a && sdlKey <= SDLK_z) {
    return kKeyA + (sdlKey - SDLK_a);
  }
  if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9) {
    return kKey0 + (sdlKey - SDLK_0);
  }
  if (sdlKey >= SDLK_F1 && sdlKey <= SDLK_F12) {
    return kKeyF1 + (sdlKey - SDLK_F1);
  }
  switch (sdlKey) {
    case SDLK_BACKSPACE:
      return kKeyBackspace;
    case SDLK_TAB:
      return kKeyTab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return kKeyReturn;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return kKeyShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return kKeyControl;
    case SDLK_LALT:
    case SDLK_RALT:
      return kKeyAlt;
    case SDLK_ESCAPE:
      return kKeyEscape;
    case SDLK_SPACE:
      return kKeySpace;
    case SDLK_PAGEUP:
      return kKeyPageUp;
    case SDLK_PAGEDOWN:
      return kKeyPageDown;
    case SDLK_END:
      return kKeyEnd;
    case SDLK_HOME:
      return kKeyHome;
    case SDLK_LEFT:
      return kKeyLeft;
    case SDLK_UP:
      return kKeyUp;
    case SDLK_RIGHT:
      return kKeyRight;
    case SDLK_DOWN:
      return kKeyDown;
    default:
      return -1;
  }
}

void shutDownVideo() {
  WindowSystem& state = system();
  state.pending.clear();
  if (state.videoStarted) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    state.videoStarted = false;
  }
}

TickSource performanceTicks() {
  TickSource source;
  source.counter = &sdlCounter;
  source.frequency = &sdlFrequency;
  return source;
}

void waitForMessage(int timeoutMs) {
  WindowSystem& state = system();
  if (!state.pending.empty()) {
    return;
  }
  if (!state.videoStarted) {
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    return;
  }
  SDL_Event event;
  if (SDL_WaitEventTimeout(&event, timeoutMs) != 0) {
    translateEvent(event);
  }
}

void setWindowTitle(NativeWindow* window, const char* title) {
  if (window != nullptr && window->sdlWindow != nullptr) {
    SDL_SetWindowTitle(window->sdlWindow, title);
  }
}

int displayRefreshRate(NativeWindow* window) {
  SDL_DisplayMode mode;
  if (window == nullptr || window->sdlWindow == nullptr || SDL_GetWindowDisplayMode(window->sdlWindow, &mode) != 0) {
    return 0;
  }
  return mode.refresh_rate;
}

}  // namespace platform
