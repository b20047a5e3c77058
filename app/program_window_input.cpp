// The window's messages: keys, mouse, size and activity as the window reports them.
#include <cstdint>

#include "app/gl_window.h"
#include "app/program.h"
#include "app/program_run.h"
#include "core/debug_log.h"
#include "core/input_state.h"

namespace {

uint16_t lowWord(uint32_t value) { return static_cast<uint16_t>(value & 0xffffu); }

uint16_t highWord(uint32_t value) { return static_cast<uint16_t>(value >> 16); }

void setKey(uint32_t code, uint8_t down) {
  if (code < 256) {
    inputState().keyState[code] = down;
  }
}

// True when the capture keeps the presentation at its size; the window is then only shown into.
bool keepCaptureSize(int windowWidth, int windowHeight) {
  ProgramRun& run = programRun();
  const GLWindow& window = programRun().window;
  if (!run.capture.capturing() || (!run.offWindowFrame.made() && windowWidth == window.drawableWidth() &&
                                   windowHeight == window.drawableHeight())) {
    return false;
  }
  run.windowWidth = windowWidth;
  run.windowHeight = windowHeight;
  if (run.offWindowFrame.made()) {
    return true;
  }
  if (!run.offWindowFrame.create(window.drawableWidth(), window.drawableHeight())) {
    run.capture.abandon("the window's size changed and the driver cannot draw frames off the window");
    return false;
  }
  run.offWindowFrame.bind();
  DebugLog::append(kLogFileName,
                   "Capture: the window is now %d x %d and no longer matches the capture; its frames stay %d x %d, "
                   "drawn off the window\r\n",
                   windowWidth, windowHeight, window.drawableWidth(), window.drawableHeight());
  return true;
}

}  // namespace

long windowProcedure(const platform::WindowMessage& message) {
  InputState& input = inputState();
  switch (message.type) {
    case platform::MessageType::Size: {
      const int width = lowWord(message.lParam);
      const int height = drawableHeightOf(highWord(message.lParam));
      if (keepCaptureSize(width, height)) {
        return 0;
      }
      // The passes that draw set the viewport from the drawable, each frame.
      programRun().window.takeDrawableSize(width, height);
      return 0;
    }
    case platform::MessageType::Activate:
      input.appActive = highWord(message.wParam) == 0 ? 1 : 0;
      return 0;
    case platform::MessageType::Close:
      platform::postQuitMessage();
      return 0;
    case platform::MessageType::KeyDown:
      setKey(message.wParam, 1);
      if (message.wParam == kKeyEscape) {
        platform::postQuitMessage();
      } else if (message.wParam == kKeyF11 || (message.wParam == kKeyReturn && input.keyState[kKeyAlt] == 1)) {
        programRun().window.toggleFullScreen();
      } else if (message.wParam == kKeyF1) {
        programRun().overlayShown = !programRun().overlayShown;
      } else if (requestForKey(message.wParam) != PlaybackRequest::None) {
        programRun().pendingRequests.push_back(requestForKey(message.wParam));
      }
      return 0;
    case platform::MessageType::KeyUp:
      setKey(message.wParam, 0);
      return 0;
    case platform::MessageType::MouseMove:
      // Positions are signed: a drag past the window's left or top edge goes below 0.
      input.mouseX = static_cast<int16_t>(lowWord(message.lParam));
      input.mouseY = static_cast<int16_t>(highWord(message.lParam));
      return 0;
    case platform::MessageType::LButtonDown:
      input.leftButton = 1;
      return 0;
    case platform::MessageType::LButtonUp:
      input.leftButton = 0;
      return 0;
    case platform::MessageType::RButtonDown:
      input.rightButton = 1;
      return 0;
    case platform::MessageType::RButtonUp:
      input.rightButton = 0;
      return 0;
    case platform::MessageType::Quit:
      return 0;
  }
  return 0;
}
