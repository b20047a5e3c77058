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

  // The size frames are drawn at, in pixels: the window's drawable as its size messages and the
  // query after it is made report it, or a capture's size while the window differs from it. The
  // height is never 0 once known: a zero height (a window rolled up to its title bar) counts as 1,
  // so that no aspect ratio divides by zero. 0 × 0 until the window has been measured.
  int drawableWidth() const { return drawableWidth_; }
  int drawableHeight() const { return drawableHeight_; }
  // A size message: the drawable is now width × height.
  void takeDrawableSize(int width, int height);
  // Asks the platform for the drawable's size, once the window is made; the size message that
  // follows says the same.
  void measureDrawable();

  platform::NativeWindow* window = nullptr;
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

  int drawableWidth_ = 0;
  int drawableHeight_ = 0;
};

// The drawable's height for a reported height: a zero height counts as 1.
int drawableHeightOf(int reportedHeight);
