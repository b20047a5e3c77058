// Reads drawn frames back for an encoder without stalling the drawing: where the driver has pixel
// buffer objects, two of them take turns, so a frame is copied out while the next one is drawn.
// Frames come out as RGBA rows, bottom row first, as the GL keeps them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Points GL reads at the frame just drawn: the window's draw buffer (its back buffer, or the one
// buffer of a surface drawn off-screen), or the frame that stands for the window.
void readFromDrawnFrame();

class FrameReadback {
 public:
  FrameReadback() = default;
  FrameReadback(const FrameReadback&) = delete;
  FrameReadback& operator=(const FrameReadback&) = delete;
  ~FrameReadback();  // release()

  // Frames of width × height; pixel buffers where the driver has them.
  void create(int width, int height);
  // Starts reading the frame just drawn, from the framebuffer that stands for the window. Returns
  // the frame started one call before (with pixel buffers), this frame (without), or null when
  // there is none yet. The pixels stay valid until the next call.
  const uint8_t* readNext();
  // The frame still being read, or null when none is; valid until the next call.
  const uint8_t* readLast();
  void release();

  bool usesPixelBuffers() const { return buffers_[0] != 0; }
  size_t frameBytes() const { return static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4; }

 private:
  void readInto(void* target);
  // The pixels of a buffer read into, valid until unmap() (frame_readback_map_desktop.cpp and
  // frame_readback_map_web.cpp: mapped on the desktop, copied out on the web).
  const uint8_t* map(int index);
  void unmap();

  int width_ = 0;
  int height_ = 0;
  unsigned int buffers_[2] = {0, 0};
  int inFlight_ = -1;  // the buffer holding a frame not handed out yet
  int mapped_ = -1;    // the buffer whose pixels were handed out last
  std::vector<uint8_t> pixels_;
};
