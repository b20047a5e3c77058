// The program's top-level window, its GL context and its events, over SDL2. Events come out as
// the window messages the application's window procedure handles.
#pragma once

#include <cstdint>
#include <string>

#include "core/frame_timer.h"
#include "platform/gl_capabilities.h"

namespace platform {

enum class MessageType {
  Quit,        // the loop should end (posted, or the system asked the program to stop)
  Size,        // lParam: width in the low 16 bits, height in the high 16 bits, drawable pixels
  Activate,    // wParam: high 16 bits non-zero when the window is minimised
  Close,       // the user closed the window
  KeyDown,     // wParam: virtual-key code
  KeyUp,       // wParam: virtual-key code
  MouseMove,   // lParam: x in the low 16 bits, y in the high 16 bits, drawable pixels
  LButtonDown,
  LButtonUp,
  RButtonDown,
  RButtonUp,
};

struct WindowMessage {
  MessageType type = MessageType::Quit;
  uint32_t wParam = 0;
  uint32_t lParam = 0;
};

using WindowProcedure = long (*)(const WindowMessage& message);

struct NativeWindow;
using GLContextHandle = void*;

// Whether there is a display (X11 or Wayland) to open windows on: the environment names one and,
// for X11, it opens. A display named that cannot be opened is named in `unopened`.
bool displayAvailable(std::string& unopened);
// Windows made from now on are drawn off-screen, with no display and no visible window: for runs
// that only make files. Call before registerWindowClass.
void drawOffScreen();
// Starts the video subsystem and remembers the procedure that dispatched messages go to.
bool registerWindowClass(WindowProcedure procedure, std::string& error);
// True when the display offers exactly width × height (any refresh rate).
bool hasDisplayMode(int width, int height);
// Creates the window hidden, with a double-buffered GL pixel format of the given colour depth
// and a 16-bit depth buffer. Full screen switches the display to width × height when shown.
NativeWindow* createWindow(const char* title, int width, int height, int colourBits, bool fullScreen,
                           std::string& error);
void destroyWindow(NativeWindow* window);
// Leaves full-screen mode; SDL puts the desktop's own display mode back.
void restoreDisplayMode(NativeWindow* window);
// Makes the window cover its display at the display's own size; the mode is not switched. Where
// no window manager carries the request out, a borderless window is laid over the display.
bool setDesktopFullScreen(NativeWindow* window, std::string& error);
// Makes a window that covers its display a plain window again.
bool leaveDesktopFullScreen(NativeWindow* window, std::string& error);
void showCursor(bool visible);

// A compatibility-profile context for the window, else (where the driver refuses that version)
// any context it offers, which the log names; null on failure. A debug context reports the GL's
// own messages (where the driver has them).
GLContextHandle createGLContext(NativeWindow* window, bool debugContext, std::string& error);
// A context of the kind asked for: compatibility as above, a 3.3 core profile, or OpenGL ES 3.0;
// null, with the driver's reason, when it refuses that kind.
GLContextHandle createGLContextOfKind(NativeWindow* window, GLContextKind kind, bool debugContext,
                                      std::string& error);
// The presentation's default: a compatibility context as createGLContext makes it, and where the
// driver refuses every one a 3.3 core context, then ES 3.0. `got` names the kind made.
GLContextHandle createPreferredGLContext(NativeWindow* window, bool debugContext, GLContextKind& got,
                                         std::string& error);
bool makeCurrent(NativeWindow* window, GLContextHandle context);
bool releaseCurrent();
void deleteGLContext(GLContextHandle context);

// Shows the window, raises it and gives it the keyboard focus; a Size message follows.
void showWindow(NativeWindow* window);
void swapBuffers(NativeWindow* window);
// How buffer swaps wait for the display: 0 never, 1 every refresh, -1 adaptive (late frames do
// not wait). False when the driver refused it.
bool setSwapInterval(int interval);
void drawableSize(NativeWindow* window, int& width, int& height);

// Takes the next waiting message off the queue; false when none is waiting.
bool peekMessage(WindowMessage& message);
// Hands the message to the registered window procedure.
long dispatchMessage(const WindowMessage& message);
void postQuitMessage();

// Maps an SDL key code to a Windows virtual-key code; -1 for keys without one.
int virtualKeyFromSdl(int32_t sdlKey);

// Shuts SDL's video down again (after the window is gone).
void shutDownVideo();

TickSource performanceTicks();
// Sleeps until a message arrives or timeoutMs has passed; the message stays for peekMessage.
void waitForMessage(int timeoutMs);
void setWindowTitle(NativeWindow* window, const char* title);
// The refresh rate of the display the window is on, in hertz; 0 when it is not known.
int displayRefreshRate(NativeWindow* window);

}  // namespace platform
