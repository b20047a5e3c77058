// The program's spine: start-up, the frames a step at a time, and shutdown. The sections live in
// program_start_up.cpp, program_window_input.cpp, program_main_loop.cpp and program.cpp.
#pragma once

#include <chrono>
#include <memory>

#include "app/benchmark.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "gpu/gl_debug_report.h"
#include "platform/native_window.h"
#include "platform/step_loop.h"

class VideoOutput;

// One run of the presentation in the parts the platform's loop drives: the beginning (start-up and
// the jump to --start-at), a step a frame (plain play's or a video's), the end (shutdown, the
// reports and the process exit status). The benchmark reports the allocations the counter sees,
// when one is given.
class PresentationRun {
 public:
  PresentationRun(const AppOptions& options, AllocationCounter countAllocations);
  ~PresentationRun();
  PresentationRun(const PresentationRun&) = delete;
  PresentationRun& operator=(const PresentationRun&) = delete;

  bool begin();
  platform::StepOutcome step();
  double shortestFrameSeconds() const;
  int end();
  // The four parts, for platform::runSteps; the run must outlive them.
  platform::SteppedRun steps();

 private:
  enum class Stage {
    NotBegun,
    Refused,      // a video that cannot be made: nothing was started
    StartFailed,  // start-up failed: what was made is released
    NoFrames,     // started, but the video's encoder was not: straight to the end
    Playing,
  };

  AppOptions options_;
  AllocationCounter countAllocations_ = nullptr;
  Stage stage_ = Stage::NotBegun;
  std::chrono::steady_clock::time_point loadStart_;
  std::chrono::steady_clock::time_point loopStart_;
  double loadSeconds_ = 0.0;
  double seekSeconds_ = 0.0;
  GLDebugReport debugReport_;
  std::unique_ptr<BenchmarkRecord> record_;
  MainLoop mainLoop_;
  std::unique_ptr<VideoOutput> video_;
  std::unique_ptr<VideoLoop> videoLoop_;
  int videoStatus_ = 0;  // 3 when the video was asked for and not made whole
};

bool startUp(const AppOptions& options);
void shutDown();

// Records input, size and activity from the window's messages.
long windowProcedure(const platform::WindowMessage& message);

// A jump that takes a while shows in the window's title how far it has come, since the window
// shows no new frame meanwhile; the title goes back once the jump is over.
void showJumpProgress(float doneShare);
void endJumpProgress();

// Seconds of a steady clock, for measuring frames.
double steadySeconds();
// The display's frame period, or that of 60 Hz where its rate is not known.
double displayFramePeriod();
