// The program's run as steps that return: a beginning, one step a frame, an end. The desktop loops
// over the steps and owns the waiting between them; a browser calls one step a display frame.
#pragma once

#include <functional>

namespace platform {

// What a step did, for whoever drives the steps.
enum class StepOutcome {
  Drew,      // a frame was drawn: the next one is due a frame period later
  Idle,      // nothing to draw (the window is minimised): wait a while, or for a message
  Finished,  // the run is over: end it
};

// The frame the last drawing step showed, for a host that reports it (the page shows its time).
struct ShownFrame {
  double seconds = 0.0;  // presentation time of the frame
  bool paused = false;   // the presentation stood still on it
};

struct SteppedRun {
  std::function<bool()> begin;  // false: the run cannot start; it goes straight to its end
  std::function<StepOutcome()> step;
  // The shortest time between two drawn frames, read once after the beginning; 0 for as fast as
  // the machine goes (fixed steps, the benchmark, a video).
  std::function<double()> shortestFrameSeconds;
  std::function<ShownFrame()> shownFrame;  // read after each step that drew
  std::function<int()> end;  // the process's exit status
};

// Runs the steps to their end and returns the status, on a target where the program's loop is
// its own; where the host calls the steps (a page), it hands them over and does not return, so the
// run main holds stays where it is for as long as the host calls it.
int runSteps(const SteppedRun& run);

}  // namespace platform
