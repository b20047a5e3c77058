// The main loop's step, a flat sequence of named parts (messages, scripted keys, size changes,
// requests, the frame, its outputs, the end), and the video's step beside it.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "app/gl_window.h"
#include "app/main_loop.h"
#include "app/program.h"
#include "app/program_run.h"
#include "app/video_output.h"
#include "audio/sound_player.h"
#include "core/input_state.h"
#include "gpu/draw_layer.h"
#include "gpu/texture_manager.h"
#include "gpu/time_overlay.h"
#include "platform/stop_signals.h"

namespace {

enum class MessageStep { NoneWaiting, Dispatched, Quit };

// One waiting message goes to the window procedure: a frame is drawn only while none waits.
MessageStep dispatchWaitingMessage() {
  platform::WindowMessage message;
  if (!platform::peekMessage(message)) {
    return MessageStep::NoneWaiting;
  }
  if (message.type == platform::MessageType::Quit) {
    return MessageStep::Quit;
  }
  platform::dispatchMessage(message);
  return MessageStep::Dispatched;
}

// Keys the script presses before this frame, sent through the window procedure as the window
// would send them.
void playScriptedKeys(long framesDrawn) {
  KeyChange change;
  while (programRun().scriptedKeys.nextChange(framesDrawn, change)) {
    platform::WindowMessage message;
    message.type = change.down ? platform::MessageType::KeyDown : platform::MessageType::KeyUp;
    message.wParam = change.virtualKey;
    windowProcedure(message);
  }
}

// The scenes make their surfaces again when the drawable or the size chosen for them has changed.
void followDrawableSize(Presentation& show) {
  const GLWindow& window = programRun().window;
  if (programRun().surfaces.follow(window.drawableWidth(), window.drawableHeight(), steadySeconds())) {
    show.scenes.resizeSurfacesAll(frameOf(show.clock.elapsed, 0.0f, currentDrawable()));
  }
}

// The keys' playback changes in the order they came, then the start again at the end of a loop.
void carryOutRequests(Presentation& show) {
  ProgramRun& run = programRun();
  if (!run.pendingRequests.empty() || (run.loop && show.pastEnd())) {
    // A jump's frames and a pause say nothing of what drawing a frame costs.
    run.surfaces.restartMeasuring(steadySeconds());
  }
  while (!run.pendingRequests.empty()) {
    show.apply(run.pendingRequests.front(), currentDrawable());
    run.pendingRequests.pop_front();
  }
  if (run.loop && show.pastEnd()) {
    show.seek(0.0f, currentDrawable());
  }
  endJumpProgress();
}

bool stopAsked() { return inputState().keyState[kKeyEscape] == 1 || platform::stopSignal() != 0; }

// Minimised, nothing is drawn and the loop waits between steps. Following the clock, time goes on
// with the music and the run still ends at its end; with a fixed step the presentation waits, so
// that a capture loses no frame and every screenshot is taken at its time.
void idleWhileMinimised(Presentation& show) {
  if (show.pastEnd()) {
    platform::postQuitMessage();
    return;
  }
  if (show.fixedStepSeconds <= 0.0f) {
    show.moveClockOn();
  }
}

// The music's gap to the frame's time, and the benchmark's frame, for a frame that moves on.
void beginFrameRecords(const Presentation& show) {
  if (show.paused()) {
    return;
  }
  ProgramRun& run = programRun();
  double heard = 0.0;
  if (show.fixedStepSeconds <= 0.0f && soundPlayer().musicPosition(heard)) {
    const double gap = std::fabs(heard - static_cast<double>(show.clock.elapsed));
    run.largestMusicGap = std::max(gap, run.largestMusicGap);
  }
  if (run.benchmark != nullptr) {
    run.benchmark->beginFrame(show.scenes.sceneDrawingAt(show.clock.elapsed));
  }
}

// The frame due, with the overlay over it when F1 has shown it.
void drawFrame(Presentation& show, const Drawable& drawable, FrameRateMeter& meter) {
  show.playDueFrame(drawable);
  meter.countFrame(std::chrono::steady_clock::now());
  if (programRun().overlayShown) {
    drawTimeOverlay(drawable, show.pictureSeconds(), meter.framesPerSecond, show.paused());
  }
}

// The GL's errors of the frame, for a --gl-debug run.
void checkGLAfterFrame() {
  if (programRun().debugReport != nullptr) {
    programRun().debugReport->checkAfterFrame();
  }
}

// The frame onto the window (from off the window, where a capture keeps its size), then the
// benchmark's end of the frame and the GL's errors.
void showFrame() {
  ProgramRun& run = programRun();
  run.offWindowFrame.showIn(run.windowWidth, run.windowHeight);
  platform::swapBuffers(programRun().window.window);
  if (run.benchmark != nullptr) {
    // A threaded driver may still be drawing: the frame's cost ends when the GL is done.
    drawLayer().finish();
    run.benchmark->endFrame();
  }
  checkGLAfterFrame();
}

// The texture a loader left for after the frame.
void uploadDeferredTexture() {
  if (textureManager().deferredUpload) {
    textureManager().processPendingUpload();
  }
}

}  // namespace

// A jump that takes a while shows in the window's title how far it has come, since the window
// shows no new frame meanwhile.
void showJumpProgress(float doneShare) {
  char title[64];
  std::snprintf(title, sizeof title, "%s (jumping: %d %%)", kWindowTitle, static_cast<int>(doneShare * 100.0f));
  platform::setWindowTitle(programRun().window.window, title);
  programRun().titleShowsJump = true;
}

void endJumpProgress() {
  if (programRun().titleShowsJump) {
    platform::setWindowTitle(programRun().window.window, kWindowTitle);
    programRun().titleShowsJump = false;
  }
}

void FrameRateMeter::countFrame(std::chrono::steady_clock::time_point now) {
  ++frames;
  const double seconds = std::chrono::duration<double>(now - since).count();
  if (seconds >= 1.0) {
    framesPerSecond = static_cast<float>(frames / seconds);
    frames = 0;
    since = now;
  }
}

double MainLoop::shortestFrameSeconds() const {
  if (programRun().benchmark != nullptr || programRun().presentation.fixedStepSeconds > 0.0f) {
    return 0.0;
  }
  return displayFramePeriod();
}

platform::StepOutcome MainLoop::step() {
  Presentation& show = programRun().presentation;
  // A frame is drawn only once no message waits.
  for (MessageStep message = dispatchWaitingMessage(); message != MessageStep::NoneWaiting;
       message = dispatchWaitingMessage()) {
    if (message == MessageStep::Quit) {
      return platform::StepOutcome::Finished;
    }
  }
  playScriptedKeys(framesDrawn_);
  followDrawableSize(show);
  carryOutRequests(show);
  if (stopAsked()) {
    return platform::StepOutcome::Finished;
  }
  if (inputState().appActive != 1) {
    idleWhileMinimised(show);
    return platform::StepOutcome::Idle;
  }
  beginFrameRecords(show);
  // The frame past the end is still drawn; the run ends after it.
  if (show.pastEnd()) {
    platform::postQuitMessage();
  }
  const auto frameStart = std::chrono::steady_clock::now();
  const bool framePaused = show.paused();
  const Drawable drawable = currentDrawable();
  drawFrame(show, drawable, meter_);
  ++framesDrawn_;
  programRun().capture.afterFrame(show.pictureSeconds(), drawable.width, drawable.height);
  if (platform::stopSignal() != 0) {
    return platform::StepOutcome::Finished;
  }
  showFrame();
  if (!framePaused) {
    const double frameSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - frameStart).count();
    programRun().surfaces.frameDone(steadySeconds(), frameSeconds, show.pictureSeconds());
  }
  show.moveClockOn();
  uploadDeferredTexture();
  return platform::StepOutcome::Drew;
}

platform::StepOutcome VideoLoop::step() {
  if (video_.complete() || platform::stopSignal() != 0) {
    return platform::StepOutcome::Finished;
  }
  Presentation& show = programRun().presentation;
  const Drawable drawable = currentDrawable();
  show.playDueFrame(drawable);
  ++framesDrawn_;
  programRun().capture.afterFrame(show.pictureSeconds(), drawable.width, drawable.height);
  if (!video_.afterFrame()) {
    return platform::StepOutcome::Finished;
  }
  platform::swapBuffers(programRun().window.window);
  checkGLAfterFrame();
  show.moveClockOn();
  for (int step = 1; step < stepsPerVideoFrame_; ++step) {
    show.frame(FrameKind::LayersOnly, show.clock.elapsed, show.frameDelta(), drawable);
    show.clock.update();
  }
  uploadDeferredTexture();
  return platform::StepOutcome::Drew;
}
