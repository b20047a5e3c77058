// Saves drawn frames: PNG screenshots at chosen times and a raw RGB stream for video encoders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/options.h"

class FrameCapture {
 public:
  FrameCapture() = default;
  FrameCapture(const FrameCapture&) = delete;
  FrameCapture& operator=(const FrameCapture&) = delete;
  ~FrameCapture();

  // False when the capture file cannot be opened, or a stop signal came while a named pipe waited
  // for its reader: stderr names it and why, and the output counts as not produced.
  bool begin(const AppOptions& options);
  // Reads the frame just drawn (before the swap) when a screenshot is due or a capture runs. A
  // stop signal ends a write that waits on its reader, and the capture with it.
  void afterFrame(float timeSeconds, int width, int height);
  // Closes the capture; screenshots still pending at endSeconds are reported on stderr as lost.
  void finish(float endSeconds);
  // Every requested screenshot was saved and every frame of a capture written.
  bool producedAll() const { return !outputLost_; }
  // A capture runs: its frames keep the size they started with.
  bool capturing() const { return capture_ >= 0; }
  // Ends a capture that cannot go on at its size, with the reason on stderr; the output counts as
  // not produced.
  void abandon(const char* reason);

 private:
  void readFrame(int width, int height);
  // False when closing the capture file reported an error.
  bool closeCapture();

  std::vector<ScreenshotRequest> pending_;
  std::string capturePath_;
  int capture_ = -1;  // the capture's file descriptor, -1 when none is open
  bool captureIsStdout_ = false;
  bool outputLost_ = false;
  std::vector<uint8_t> pixels_;
  std::vector<uint8_t> flipped_;
};
