#include "platform/step_loop.h"

#include <emscripten.h>

namespace platform {
namespace {

// The run the page's loop steps; the page keeps it for as long as it is open.
SteppedRun gRun;
bool gTimingSet = false;

void stepOnce() {
  if (!gTimingSet) {
    gTimingSet = true;
    // Live play keeps to the display's frames; a run that needs no pacing (fixed steps) draws as
    // often as the browser lets a page.
    if (gRun.shortestFrameSeconds() <= 0.0) {
      emscripten_set_main_loop_timing(EM_TIMING_SETTIMEOUT, 0);
    }
  }
  if (gRun.step() != StepOutcome::Finished) {
    return;
  }
  emscripten_cancel_main_loop();
  const int status = gRun.end();
  // The page hears how the run ended, to show its last frame and what comes next.
  EM_ASM({ if (Module.onRunEnded) Module.onRunEnded($0); }, status);
}

}  // namespace

int runSteps(const SteppedRun& run) {
  gRun = run;
  if (!gRun.begin()) {
    const int status = gRun.end();
    EM_ASM({ if (Module.onRunEnded) Module.onRunEnded($0); }, status);
    return status;
  }
  // The page's own loop calls the steps from here on; this call does not return, so the run
  // that main holds stays where it is.
  emscripten_set_main_loop(stepOnce, 0, 1);
  return 0;
}

}  // namespace platform
