// A small off-screen framebuffer with depth for drawing tests, and helpers to read it back.
// Needs a current GL context (REQUIRE_GL_CONTEXT first).
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <vector>

class DrawCanvas {
 public:
  static constexpr int kSize = 64;

  DrawCanvas() {
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(1, &colour_);
    glGenRenderbuffers(1, &depth_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kSize, kSize);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, kSize, kSize);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    complete_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glViewport(0, 0, kSize, kSize);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }

  ~DrawCanvas() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteRenderbuffers(1, &depth_);
    glDeleteRenderbuffers(1, &colour_);
    glDeleteFramebuffers(1, &framebuffer_);
  }

  DrawCanvas(const DrawCanvas&) = delete;
  DrawCanvas& operator=(const DrawCanvas&) = delete;

  bool complete() const { return complete_; }

  // Pixels whose red, green or blue exceeds the threshold (0..255).
  int litPixels(int threshold = 8) const {
    std::vector<uint8_t> pixels(kSize * kSize * 4);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int lit = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
      if (pixels[i] > threshold || pixels[i + 1] > threshold || pixels[i + 2] > threshold) {
        ++lit;
      }
    }
    return lit;
  }

 private:
  GLuint framebuffer_ = 0;
  GLuint colour_ = 0;
  GLuint depth_ = 0;
  bool complete_ = false;
};

// A 4 × 4 white texture with full alpha, for sprites in drawing tests.
inline GLuint makeWhiteTexture() {
  std::vector<uint8_t> white(4 * 4 * 4, 255);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, white.data());
  return name;
}
