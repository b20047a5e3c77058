#include "platform/step_loop.h"

#include <emscripten.h>

namespace platform {
namespace {

// The run the page's loop steps; the page keeps it for as long as it is open.
SteppedRun gRun;
bool gTimingSet = false;

// The page hears of each frame shown, and of the run's end: it keeps its state, the time and the
// last still from these. Each hook is the page's own and may be missing (a page with no display).
void tellFrameShown(const ShownFrame& frame) {
  EM_ASM({ if (Module.onFrameShown) Module.onFrameShown($0, $1 !== 0); }, frame.seconds, frame.paused ? 1 : 0);
}

// Before the end releases the canvas's context: its last frame is still on it.
void tellRunFinishing() {
  EM_ASM({ if (Module.onRunFinishing) Module.onRunFinishing(); });
}

void tellRunEnded(int status) {
  EM_ASM({ if (Module.onRunEnded) Module.onRunEnded($0); }, status);
}

void stepOnce() {
  if (!gTimingSet) {
    gTimingSet = true;
    // Live play keeps to the display's frames; a run that needs no pacing (fixed steps) draws as
    // often as the browser lets a page.
    if (gRun.shortestFrameSeconds() <= 0.0) {
      emscripten_set_main_loop_timing(EM_TIMING_SETTIMEOUT, 0);
    }
  }
  const StepOutcome outcome = gRun.step();
  if (outcome == StepOutcome::Drew) {
    tellFrameShown(gRun.shownFrame());
  }
  if (outcome != StepOutcome::Finished) {
    return;
  }
  emscripten_cancel_main_loop();
  tellRunFinishing();
  tellRunEnded(gRun.end());
}

}  // namespace

int runSteps(const SteppedRun& run) {
  gRun = run;
  if (!gRun.begin()) {
    const int status = gRun.end();
    tellRunEnded(status);
    return status;
  }
  // The page's own loop calls the steps from here on; this call does not return, so the run
  // that main holds stays where it is.
  emscripten_set_main_loop(stepOnce, 0, 1);
  return 0;
}

}  // namespace platform
