// The presentation's one window with its double-buffered GL context and the extension entry points.
#pragma once

#include <string>

#include "platform/native_window.h"

class GLWindow {
 public:
  virtual ~GLWindow() = default;  // releases nothing: kill() does

  // Full screen first when fullScreen is set; a display without the exact mode asks whether to
  // run windowed. Every failure shows its message box, logs that the window could not be made,
  // says why on stderr and returns false.
  bool create(const char* title, int width, int height, int bits, platform::WindowProcedure procedure);
  // Leaves full-screen mode and releases context and window; safe on a partly made window and twice.
  void kill();
  // Between a window and full screen at the display's own size (F11, Alt+Enter); a failure is
  // logged and the window stays as it was.
  void toggleFullScreen();

  platform::NativeWindow* window = nullptr;
  // The size frames are drawn at, in pixels: the window's drawable as its size messages and the
  // query after it is made report it, or a capture's size while the window differs from it. The
  // one place it is kept; the height is never 0 once known.
  int drawableWidth = 0;
  int drawableHeight = 0;
  platform::GLContextHandle renderContext = nullptr;
  bool fullScreen = true;
  // Full screen over the whole display at its own size, without switching its mode; the window
  // takes the display's size and the scenes follow it.
  bool desktop = false;
  // Ask for a context that reports the GL's own messages.
  bool debugContext = false;
  // The kind of context to make; without one asked for, compatibility with core and ES as fallbacks.
  bool contextKindGiven = false;
  platform::GLContextKind contextKind = platform::GLContextKind::Compatibility;

 private:
  // Releases what create() made so far, then reports text with the platform's detail.
  bool fail(const char* text, const std::string& detail);
};

// The presentation's one window.
GLWindow& presentationWindow();
