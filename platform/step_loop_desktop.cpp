#include "platform/step_loop.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/native_window.h"

namespace platform {
namespace {

// How long the loop waits for a message at a time while nothing is drawn.
constexpr int kIdleWaitMs = 50;

// Plain play shows no more frames than the display can: where the driver does not wait for the
// display (or a frozen last picture costs nothing to draw), the loop sleeps out the rest of the
// display's frame.
class FramePacer {
 public:
  explicit FramePacer(double shortestFrameSeconds) : shortest_(shortestFrameSeconds) {}
  void waitForNextFrame() {
    if (shortest_ <= 0.0) {
      return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (due_ > now) {
      std::this_thread::sleep_until(due_);
    }
    due_ = std::max(now, due_) + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                      std::chrono::duration<double>(shortest_));
  }

 private:
  double shortest_ = 0.0;
  std::chrono::steady_clock::time_point due_ = std::chrono::steady_clock::now();
};

}  // namespace

int runSteps(const SteppedRun& run) {
  if (run.begin()) {
    FramePacer pacer(run.shortestFrameSeconds());
    for (StepOutcome outcome = run.step(); outcome != StepOutcome::Finished; outcome = run.step()) {
      if (outcome == StepOutcome::Idle) {
        waitForMessage(kIdleWaitMs);
      } else {
        pacer.waitForNextFrame();
      }
    }
  }
  return run.end();
}

}  // namespace platform
