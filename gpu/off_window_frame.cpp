#include "gpu/off_window_frame.h"

#include <GL/glew.h>

#include <algorithm>

#include "core/debug_log.h"
#include "platform/gl_entry_points.h"

namespace {

GLuint gWindowFramebuffer = 0;

}  // namespace

unsigned int windowFramebuffer() { return gWindowFramebuffer; }

OffWindowFrame::~OffWindowFrame() { release(); }

bool OffWindowFrame::create(int width, int height) {
  if (!platform::hasFramebufferObjects() || glBlitFramebuffer == nullptr || width <= 0 || height <= 0) {
    return false;
  }
  // The depth buffer keeps the window's precision, so that the frames do not change with the move.
  GLint windowDepthBits = 0;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glGetIntegerv(GL_DEPTH_BITS, &windowDepthBits);
  glGenRenderbuffers(1, &colour_);
  glBindRenderbuffer(GL_RENDERBUFFER, colour_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  glGenRenderbuffers(1, &depth_);
  glBindRenderbuffer(GL_RENDERBUFFER, depth_);
  glRenderbufferStorage(GL_RENDERBUFFER, windowDepthBits > 16 ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT16, width,
                        height);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
  const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
  glBindFramebuffer(GL_FRAMEBUFFER, gWindowFramebuffer);
  if (status != GL_FRAMEBUFFER_COMPLETE) {
    DebugLog::append(kLogFileName, "FBO: the off-window frame of %d x %d was refused\r\n", width, height);
    release();
    return false;
  }
  width_ = width;
  height_ = height;
  return true;
}

void OffWindowFrame::bind() {
  if (framebuffer_ == 0) {
    return;
  }
  gWindowFramebuffer = framebuffer_;
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

void OffWindowFrame::showIn(int windowWidth, int windowHeight) {
  if (framebuffer_ == 0 || windowWidth <= 0 || windowHeight <= 0) {
    return;
  }
  // The largest picture of the frame's shape that fits, in the middle of the window.
  const double scale = std::min(static_cast<double>(windowWidth) / width_, static_cast<double>(windowHeight) / height_);
  const int shownWidth = static_cast<int>(width_ * scale);
  const int shownHeight = static_cast<int>(height_ * scale);
  const int left = (windowWidth - shownWidth) / 2;
  const int bottom = (windowHeight - shownHeight) / 2;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glPopAttrib();
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
  glBlitFramebuffer(0, 0, width_, height_, left, bottom, left + shownWidth, bottom + shownHeight, GL_COLOR_BUFFER_BIT,
                    GL_LINEAR);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

void OffWindowFrame::release() {
  if (gWindowFramebuffer == framebuffer_ && framebuffer_ != 0) {
    gWindowFramebuffer = 0;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
  }
  if (framebuffer_ != 0) {
    glDeleteFramebuffers(1, &framebuffer_);
  }
  for (GLuint* buffer : {&colour_, &depth_}) {
    if (*buffer != 0) {
      glDeleteRenderbuffers(1, buffer);
    }
  }
  framebuffer_ = colour_ = depth_ = 0;
  width_ = height_ = 0;
}
