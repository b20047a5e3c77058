// What the window's files share: the window record and the one window system with its message
// queue. native_window.cpp holds what every target does alike over SDL; the desktop and the web
// each have their own file for what differs (native_window_desktop.cpp, native_window_web.cpp).
#pragma once

#include <SDL.h>

#include <deque>

#include "platform/native_window.h"
#include "platform/native_window_cover.h"

namespace platform {

struct NativeWindow {
  SDL_Window* sdlWindow = nullptr;
  bool fullScreen = false;
  DisplayCover cover;  // how the window covers its display at the display's own size
};

struct WindowSystem {
  WindowProcedure procedure = nullptr;
  std::deque<WindowMessage> pending;
  NativeWindow* current = nullptr;
  bool videoStarted = false;
  bool offScreen = false;  // asked for: windows are drawn off-screen, with no display
};

WindowSystem& windowSystem();
// Queues a Size message with the window's drawable size, as a resize does.
void queueSize(SDL_Window* sdlWindow);
// Before the window system starts: on the desktop, X errors become lines of ours and refusals of
// what caused them (platform/x_display.h); a page has no such errors.
void noteDisplayErrors();

}  // namespace platform
