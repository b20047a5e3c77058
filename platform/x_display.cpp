#include "platform/x_display.h"

#include <X11/Xlib.h>

#include <atomic>
#include <cstdio>

#include "core/debug_log.h"
#include "core/program_name.h"

namespace platform {
namespace {

std::atomic<int> gXErrors(0);

int noteXError(Display* display, XErrorEvent* event) {
  char text[256] = {};
  XGetErrorText(display, event->error_code, text, sizeof text);
  std::fprintf(stderr, "%s: X error: %s (request %d.%d)\n", programName(), text, event->request_code,
               event->minor_code);
  DebugLog::append(kLogFileName, "X error: %s (request %d.%d)\r\n", text, event->request_code, event->minor_code);
  ++gXErrors;
  return 0;
}

}  // namespace

bool xDisplayOpens(const char* name) {
  Display* display = XOpenDisplay(name);
  if (display == nullptr) {
    return false;
  }
  XCloseDisplay(display);
  return true;
}

void reportXErrors() { XSetErrorHandler(&noteXError); }

int xErrorCount() { return gXErrors.load(); }

}  // namespace platform
