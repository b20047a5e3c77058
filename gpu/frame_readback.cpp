#include "gpu/frame_readback.h"

#include <GL/glew.h>

#include "gpu/off_window_frame.h"
#include "platform/gl_capabilities.h"

void readFromDrawnFrame() {
  const platform::GLCapabilities& driver = platform::contextCapabilities();
  // A driver without framebuffer objects has only the drawable's own buffers, and those are bound;
  // one without separate read and draw bindings has no frame standing for the window either.
  const unsigned int framebuffer = driver.framebufferBlit ? windowFramebuffer() : 0u;
  if (driver.framebufferBlit) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  } else if (driver.framebufferObjects) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
  }
  // The frame that stands for the window draws into its one colour attachment; the drawable's own
  // draw buffer was read with the context's record, so nothing is asked of the driver here.
  glReadBuffer(framebuffer != 0 ? GL_COLOR_ATTACHMENT0 : driver.windowDrawBuffer);
}

FrameReadback::~FrameReadback() { release(); }

void FrameReadback::create(int width, int height) {
  release();
  width_ = width;
  height_ = height;
  if (!platform::contextCapabilities().pixelBuffers) {
    pixels_.resize(frameBytes());
    return;
  }
  glGenBuffers(2, buffers_);
  for (const GLuint buffer : buffers_) {
    glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
    glBufferData(GL_PIXEL_PACK_BUFFER, static_cast<GLsizeiptr>(frameBytes()), nullptr, GL_STREAM_READ);
  }
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}

void FrameReadback::readInto(void* target) {
  readFromDrawnFrame();
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, target);
}

const uint8_t* FrameReadback::readNext() {
  if (!usesPixelBuffers()) {
    readInto(pixels_.data());
    return pixels_.data();
  }
  unmap();
  const int target = inFlight_ == 0 ? 1 : 0;
  glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers_[target]);
  readInto(nullptr);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  const uint8_t* previous = inFlight_ >= 0 ? map(inFlight_) : nullptr;
  inFlight_ = target;
  return previous;
}

const uint8_t* FrameReadback::readLast() {
  if (!usesPixelBuffers() || inFlight_ < 0) {
    return nullptr;
  }
  unmap();
  const uint8_t* last = map(inFlight_);
  inFlight_ = -1;
  return last;
}

void FrameReadback::release() {
  if (buffers_[0] != 0) {
    unmap();
    glDeleteBuffers(2, buffers_);
    buffers_[0] = buffers_[1] = 0;
  }
  inFlight_ = -1;
  pixels_.clear();
}
