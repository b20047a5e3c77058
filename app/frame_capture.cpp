#include "app/frame_capture.h"

#include <GL/glew.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/debug_log.h"
#include "image/png_writer.h"

FrameCapture::~FrameCapture() { closeCapture(); }

bool FrameCapture::begin(const AppOptions& options) {
  pending_ = options.screenshots;
  std::stable_sort(pending_.begin(), pending_.end(),
                   [](const ScreenshotRequest& a, const ScreenshotRequest& b) { return a.timeSeconds < b.timeSeconds; });
  if (options.capturePath.empty()) {
    return true;
  }
  captureIsStdout_ = options.capturePath == "-";
  capture_ = captureIsStdout_ ? stdout : std::fopen(options.capturePath.c_str(), "wb");
  if (capture_ == nullptr) {
    std::fprintf(stderr, "demo: cannot write the frame capture to %s: %s\n", options.capturePath.c_str(),
                 std::strerror(errno));
    outputLost_ = true;
    return false;
  }
  return true;
}

void FrameCapture::readFrame(int width, int height) {
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  pixels_.resize(rowBytes * static_cast<size_t>(height));
  flipped_.resize(pixels_.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());
  // GL gives the bottom row first; pictures and video frames start at the top.
  for (int y = 0; y < height; ++y) {
    std::memcpy(&flipped_[static_cast<size_t>(y) * rowBytes],
                &pixels_[static_cast<size_t>(height - 1 - y) * rowBytes], rowBytes);
  }
}

void FrameCapture::afterFrame(float timeSeconds, int width, int height) {
  const bool screenshotDue = !pending_.empty() && timeSeconds >= pending_.front().timeSeconds;
  if ((!screenshotDue && capture_ == nullptr) || width <= 0 || height <= 0) {
    return;
  }
  readFrame(width, height);
  while (!pending_.empty() && timeSeconds >= pending_.front().timeSeconds) {
    std::string error;
    if (writePng(pending_.front().path, width, height, flipped_.data(), error)) {
      DebugLog::append(kLogFileName, "Screenshot %s at %.3f s\r\n", pending_.front().path.c_str(), timeSeconds);
    } else {
      std::fprintf(stderr, "demo: screenshot not saved: %s\n", error.c_str());
      outputLost_ = true;
    }
    pending_.erase(pending_.begin());
  }
  if (capture_ != nullptr && std::fwrite(flipped_.data(), 1, flipped_.size(), capture_) != flipped_.size()) {
    std::fprintf(stderr, "demo: the frame capture could not be written; capture stopped\n");
    outputLost_ = true;
    closeCapture();
  }
}

void FrameCapture::finish(float endSeconds) {
  for (const ScreenshotRequest& request : pending_) {
    std::fprintf(stderr, "demo: screenshot %s not saved: the run ended at %.2f s, before %.2f s\n",
                 request.path.c_str(), endSeconds, request.timeSeconds);
    outputLost_ = true;
  }
  pending_.clear();
  if (capture_ != nullptr) {
    // Buffered frames reach the disk only here, so a full disk may show itself only now.
    const bool flushed = captureIsStdout_ ? std::fflush(capture_) == 0 : std::fclose(capture_) == 0;
    capture_ = nullptr;
    if (!flushed) {
      std::fprintf(stderr, "demo: the frame capture could not be written to its end\n");
      outputLost_ = true;
    }
  }
}

void FrameCapture::closeCapture() {
  if (capture_ != nullptr) {
    if (captureIsStdout_) {
      std::fflush(capture_);
    } else {
      std::fclose(capture_);
    }
    capture_ = nullptr;
  }
}
