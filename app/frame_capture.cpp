#include "app/frame_capture.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/program_name.h"
#include "core/debug_log.h"
#include "gpu/frame_pixels.h"
#include "image/png_writer.h"
#include "platform/stop_signals.h"

FrameCapture::~FrameCapture() { closeCapture(); }

bool FrameCapture::begin(const AppOptions& options) {
  pending_ = options.screenshots;
  std::stable_sort(pending_.begin(), pending_.end(),
                   [](const ScreenshotRequest& a, const ScreenshotRequest& b) { return a.timeSeconds < b.timeSeconds; });
  if (options.capturePath.empty()) {
    return true;
  }
  capturePath_ = options.capturePath;
  captureIsStdout_ = capturePath_ == "-";
  if (captureIsStdout_) {
    capture_ = STDOUT_FILENO;
    return true;
  }
  const platform::WriteOutcome opened = platform::openForWritingUnlessStopped(capturePath_.c_str(), capture_);
  if (opened == platform::WriteOutcome::Stopped) {
    std::fprintf(stderr, "%s: the capture's reader never came: nothing opened %s for reading before the stop\n", kPresentationName,
                 capturePath_.c_str());
    outputLost_ = true;
    return false;
  }
  if (opened == platform::WriteOutcome::Failed) {
    std::fprintf(stderr, "%s: cannot write the frame capture to %s: %s\n", kPresentationName, capturePath_.c_str(), std::strerror(errno));
    outputLost_ = true;
    return false;
  }
  return true;
}

void FrameCapture::readFrame(int width, int height) {
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  pixels_.resize(rowBytes * static_cast<size_t>(height));
  flipped_.resize(pixels_.size());
  readDrawnFrameRgb(width, height, pixels_.data());
  // GL gives the bottom row first; pictures and video frames start at the top.
  for (int y = 0; y < height; ++y) {
    std::memcpy(&flipped_[static_cast<size_t>(y) * rowBytes],
                &pixels_[static_cast<size_t>(height - 1 - y) * rowBytes], rowBytes);
  }
}

void FrameCapture::afterFrame(float timeSeconds, int width, int height) {
  const bool screenshotDue = !pending_.empty() && timeSeconds >= pending_.front().timeSeconds;
  if ((!screenshotDue && capture_ < 0) || width <= 0 || height <= 0) {
    return;
  }
  readFrame(width, height);
  while (!pending_.empty() && timeSeconds >= pending_.front().timeSeconds) {
    std::string error;
    if (writePng(pending_.front().path, width, height, flipped_.data(), error)) {
      DebugLog::append(kLogFileName, "Screenshot %s at %.3f s\r\n", pending_.front().path.c_str(), timeSeconds);
    } else {
      std::fprintf(stderr, "%s: screenshot not saved: %s\n", kPresentationName, error.c_str());
      outputLost_ = true;
    }
    pending_.erase(pending_.begin());
  }
  if (capture_ < 0) {
    return;
  }
  const platform::WriteOutcome written = platform::writeUnlessStopped(capture_, flipped_.data(), flipped_.size());
  if (written == platform::WriteOutcome::Failed) {
    std::fprintf(stderr, "%s: cannot write the frame capture to %s: %s; capture stopped\n", kPresentationName, capturePath_.c_str(),
                 std::strerror(errno));
    outputLost_ = true;
    closeCapture();
  } else if (written == platform::WriteOutcome::Stopped) {
    // The run ends with the signal's status; whatever reads the capture gets a frame cut short.
    DebugLog::append(kLogFileName, "Capture: stopped by a signal in the middle of a frame at %.3f s\r\n", timeSeconds);
    closeCapture();
  }
}

void FrameCapture::abandon(const char* reason) {
  std::fprintf(stderr, "%s: the frame capture to %s stops: %s\n", kPresentationName, capturePath_.c_str(), reason);
  outputLost_ = true;
  closeCapture();
}

void FrameCapture::finish(float endSeconds) {
  for (const ScreenshotRequest& request : pending_) {
    std::fprintf(stderr, "%s: screenshot %s not saved: the run ended at %.2f s, before %.2f s\n", kPresentationName,
                 request.path.c_str(), endSeconds, request.timeSeconds);
    outputLost_ = true;
  }
  pending_.clear();
  // Some file systems report a failed write only when the file is closed.
  if (!closeCapture()) {
    std::fprintf(stderr, "%s: the frame capture could not be written to its end\n", kPresentationName);
    outputLost_ = true;
  }
}

bool FrameCapture::closeCapture() {
  // Standard output stays open: the process's other writers still hold it.
  const bool closed = capture_ < 0 || captureIsStdout_ || close(capture_) == 0;
  capture_ = -1;
  return closed;
}
