#include "gpu/off_window_frame.h"

#include <GL/glew.h>

#include <algorithm>

#include "core/debug_log.h"
#include "core/draw_counts.h"
#include "gpu/draw_layer.h"

namespace {

GLuint gWindowFramebuffer = 0;

// Depth bits of the window's own framebuffer, which is bound: core and ES contexts ask the
// attachment, having no GL_DEPTH_BITS.
int windowDepthBits(const platform::GLCapabilities& driver) {
  GLint bits = 0;
  if (driver.hasFixedFunction()) {
    countQueries(1);
    glGetIntegerv(GL_DEPTH_BITS, &bits);
  } else {
    countQueries(1);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &bits);
  }
  return bits;
}

// The black bars' pass: the context's defaults. Of the pass state only the scissor test reaches a
// clear and a copy, and it is off: neither may be cut.
PassState windowCopyPass() { return PassState(); }

}  // namespace

unsigned int windowFramebuffer() { return gWindowFramebuffer; }

OffWindowFrame::~OffWindowFrame() { release(); }

bool OffWindowFrame::create(int width, int height) {
  const platform::GLCapabilities& driver = platform::contextCapabilities();
  if (!driver.framebufferBlit || width <= 0 || height <= 0) {
    return false;
  }
  // The depth buffer keeps the window's precision, so that the frames do not change with the move.
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  const int depthBits = windowDepthBits(driver);
  glGenRenderbuffers(1, &colour_);
  glBindRenderbuffer(GL_RENDERBUFFER, colour_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  glGenRenderbuffers(1, &depth_);
  glBindRenderbuffer(GL_RENDERBUFFER, depth_);
  glRenderbufferStorage(GL_RENDERBUFFER, depthBits > 16 ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT16, width,
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
  DrawLayer& layer = drawLayer();
  layer.applyPass(windowCopyPass());
  // The scenes' clear colour is theirs: it comes back after the bars.
  const float* clearColor = layer.clearColor();
  const float sceneClear[4] = {clearColor[0], clearColor[1], clearColor[2], clearColor[3]};
  layer.setClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  layer.clear(true, false);
  layer.setClearColor(sceneClear[0], sceneClear[1], sceneClear[2], sceneClear[3]);
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
