// The frames of a run, one step at a time: plain play's and a video's. The platform's loop drives
// the steps (platform/step_loop.h); nothing in a step waits for the next frame.
#pragma once

#include <chrono>

#include "platform/step_loop.h"

class VideoOutput;

// Frames per second over the last whole second, for the overlay.
struct FrameRateMeter {
  std::chrono::steady_clock::time_point since = std::chrono::steady_clock::now();
  int frames = 0;
  float framesPerSecond = 0.0f;

  void countFrame(std::chrono::steady_clock::time_point now);
};

// Plain play: the window's messages, the scripted keys, size changes and requests, then the frame
// due and its outputs.
class MainLoop {
 public:
  platform::StepOutcome step();
  // No more frames than the display shows in plain play; fixed steps and the benchmark go as fast
  // as they can.
  double shortestFrameSeconds() const;
  long framesDrawn() const { return framesDrawn_; }

 private:
  FrameRateMeter meter_;
  long framesDrawn_ = 0;
};

// A video's frames: one shown frame a step for each of the video's, with the presentation's own
// steps between them played without showing where the video is slower than the presentation's
// longest step. No window messages, keys or pacing: nobody watches.
class VideoLoop {
 public:
  VideoLoop(VideoOutput& video, int stepsPerVideoFrame) : video_(video), stepsPerVideoFrame_(stepsPerVideoFrame) {}
  platform::StepOutcome step();
  long framesDrawn() const { return framesDrawn_; }

 private:
  VideoOutput& video_;
  int stepsPerVideoFrame_ = 1;
  long framesDrawn_ = 0;
};
