#include "app/gl_window.h"


#include <string>

#include "core/debug_log.h"
#include "gpu/draw_layer.h"
#include "platform/gl_capabilities.h"
#include "platform/gl_entry_points.h"
#include "platform/message_box.h"

namespace {

void errorBox(const char* text) {
  platform::showMessageBox(text, "ERROR", platform::BoxButtons::Ok, platform::BoxIcon::Exclamation);
}

void shutdownErrorBox(const char* text) {
  platform::showMessageBox(text, "SHUTDOWN ERROR", platform::BoxButtons::Ok, platform::BoxIcon::Information);
}

// Asks whether to run in a window when the display has no mode of the wanted size.
bool userAcceptsWindowedMode() {
  const platform::BoxAnswer answer = platform::showMessageBox(
      "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
      "Orvo GL", platform::BoxButtons::YesNo, platform::BoxIcon::Exclamation);
  return answer == platform::BoxAnswer::Yes;
}

}  // namespace

GLWindow& presentationWindow() {
  static GLWindow window;
  return window;
}

bool GLWindow::fail(const char* text) {
  kill();
  failureText = text;
  errorBox(text);
  return false;
}

bool GLWindow::create(const char* title, int requestedWidth, int requestedHeight, int bits,
                      platform::WindowProcedure procedure) {
  std::string& error = failureDetail;
  error.clear();
  if (!platform::registerWindowClass(procedure, error)) {
    failureText = "Failed To Register The Window Class.";
    errorBox(failureText);
    return false;
  }
  if (fullScreen && !platform::hasDisplayMode(requestedWidth, requestedHeight)) {
    if (!userAcceptsWindowedMode()) {
      failureText = "Program Will Now Close.";
      platform::showMessageBox(failureText, "ERROR", platform::BoxButtons::Ok, platform::BoxIcon::Stop);
      return false;
    }
    fullScreen = false;
  }
  if (fullScreen) {
    platform::showCursor(false);
  }
  window = platform::createWindow(title, requestedWidth, requestedHeight, bits, fullScreen, error);
  if (window == nullptr) {
    return fail("Window Creation Error.");
  }
  renderContext = contextKindGiven ? platform::createGLContextOfKind(window, contextKind, debugContext, error)
                                   : platform::createPreferredGLContext(window, debugContext, contextKind, error);
  if (renderContext == nullptr) {
    return fail("Can't Create A GL Rendering Context.");
  }
  if (!platform::makeCurrent(window, renderContext)) {
    return fail("Can't Activate The GL Rendering Context.");
  }
  platform::showWindow(window);
  if (desktop) {
    platform::showCursor(false);
    if (!platform::setDesktopFullScreen(window, error)) {
      DebugLog::append(kLogFileName, "Could not cover the display (%s), staying in a window\r\n", error.c_str());
    }
  }

  std::string problem;
  if (!platform::loadGLEntryPoints(problem)) {
    errorBox("OpenGL extensions Init Failed.");
    DebugLog::append(kLogFileName, "Initializing GLEW failed!");
  }
  DebugLog::append(kLogFileName, "Status: Using GLEW %s\n", platform::loaderVersion().c_str());
  const platform::GLCapabilities capabilities = platform::readGLCapabilities(contextKind);
  platform::setGLCapabilities(capabilities);
  if (!createDrawLayer(capabilities)) {
    return fail("No drawing layer for this GL.");
  }
  return true;
}

void GLWindow::toggleFullScreen() {
  std::string error;
  if (fullScreen) {
    platform::restoreDisplayMode(window);
  } else if (desktop ? !platform::leaveDesktopFullScreen(window, error)
                     : !platform::setDesktopFullScreen(window, error)) {
    DebugLog::append(kLogFileName, "Could not switch between window and full screen (%s)\r\n", error.c_str());
    return;
  }
  desktop = !fullScreen && !desktop;
  fullScreen = false;
  platform::showCursor(!desktop);
}

void GLWindow::kill() {
  if (fullScreen) {
    platform::restoreDisplayMode(window);
  }
  if (fullScreen || desktop) {
    platform::showCursor(true);
  }
  if (renderContext != nullptr) {
    releaseDrawLayer();
    if (!platform::releaseCurrent()) {
      shutdownErrorBox("Release Of DC And RC Failed.");
    }
    platform::deleteGLContext(renderContext);
    renderContext = nullptr;
  }
  if (window != nullptr) {
    platform::destroyWindow(window);
    window = nullptr;
  }
}
