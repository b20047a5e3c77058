#include "app/gl_window.h"


#include <string>

#include "core/debug_log.h"
#include "gpu/draw_layer.h"
#include "platform/failure_report.h"
#include "platform/gl_capabilities.h"
#include "platform/gl_entry_points.h"

namespace {

// Every failure of create(): its box, the program's log line, and on stderr the box's text with
// what the platform said about it.
void reportNoWindow(const char* text, platform::BoxIcon icon, const std::string& detail) {
  platform::FailureReport report = platform::boxReport(text, "ERROR", icon);
  report.logLine = "Could not create window\r\n";
  report.stderrLine = std::string("could not create the window: ") + text + (detail.empty() ? "" : " (" + detail + ")");
  platform::reportFailure(report);
}

// Asks whether to run in a window when the display has no mode of the wanted size.
bool userAcceptsWindowedMode() {
  platform::FailureReport question = platform::boxReport(
      "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?", "Orvo GL",
      platform::BoxIcon::Exclamation);
  question.boxButtons = platform::BoxButtons::YesNo;
  return platform::reportFailure(question) == platform::BoxAnswer::Yes;
}

}  // namespace

int drawableHeightOf(int reportedHeight) { return reportedHeight < 1 ? 1 : reportedHeight; }

void GLWindow::takeDrawableSize(int width, int height) {
  drawableWidth_ = width;
  drawableHeight_ = drawableHeightOf(height);
}

void GLWindow::measureDrawable() {
  int width = 0;
  int height = 0;
  platform::drawableSize(window, width, height);
  takeDrawableSize(width, height);
}

bool GLWindow::fail(const char* text, const std::string& detail) {
  kill();
  reportNoWindow(text, platform::BoxIcon::Exclamation, detail);
  return false;
}

bool GLWindow::create(const char* title, int requestedWidth, int requestedHeight, int bits,
                      platform::WindowProcedure procedure) {
  std::string error;
  if (!platform::registerWindowClass(procedure, error)) {
    reportNoWindow("Failed To Register The Window Class.", platform::BoxIcon::Exclamation, error);
    return false;
  }
  if (fullScreen && !platform::hasDisplayMode(requestedWidth, requestedHeight)) {
    if (!userAcceptsWindowedMode()) {
      reportNoWindow("Program Will Now Close.", platform::BoxIcon::Stop, error);
      return false;
    }
    fullScreen = false;
  }
  if (fullScreen) {
    platform::showCursor(false);
  }
  window = platform::createWindow(title, requestedWidth, requestedHeight, bits, fullScreen, error);
  if (window == nullptr) {
    return fail("Window Creation Error.", error);
  }
  renderContext = contextKindGiven ? platform::createGLContextOfKind(window, contextKind, debugContext, error)
                                   : platform::createPreferredGLContext(window, debugContext, contextKind, error);
  if (renderContext == nullptr) {
    return fail("Can't Create A GL Rendering Context.", error);
  }
  if (!platform::makeCurrent(window, renderContext)) {
    return fail("Can't Activate The GL Rendering Context.", error);
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
    platform::FailureReport report =
        platform::boxReport("OpenGL extensions Init Failed.", "ERROR", platform::BoxIcon::Exclamation);
    report.logLine = "Initializing GLEW failed!";
    platform::reportFailure(report);
  }
  DebugLog::append(kLogFileName, "Status: Using GLEW %s\n", platform::loaderVersion().c_str());
  const platform::GLCapabilities capabilities = platform::readGLCapabilities(contextKind);
  platform::setGLCapabilities(capabilities);
  if (!createDrawLayer(capabilities)) {
    return fail("No drawing layer for this GL.", error);
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
      platform::reportFailure(
          platform::boxReport("Release Of DC And RC Failed.", "SHUTDOWN ERROR", platform::BoxIcon::Information));
    }
    platform::deleteGLContext(renderContext);
    renderContext = nullptr;
  }
  if (window != nullptr) {
    platform::destroyWindow(window);
    window = nullptr;
  }
}
