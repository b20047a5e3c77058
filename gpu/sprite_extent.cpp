// Measuring where a sprite texture can pass an alpha test, level by level.
#include "gpu/sprite_extent.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

#include "core/draw_counts.h"
#include "gpu/pixel_store.h"
#include "gpu/texture_manager.h"

namespace {

// Bytes within one step of the threshold count as visible: the GL's filtering and colour
// arithmetic round, and a sprite cut too tight would lose pixels.
bool mayPass(unsigned char alpha, float alphaThreshold) {
  return static_cast<float>(alpha) > alphaThreshold * 255.0f - 1.0f;
}

// The span of one axis that samples can take visible texels from, for visible texels low..high of
// count. A linear sample at coordinate s reads texels floor(s × count − 0.5) and the one after it,
// wrapping round at both ends; half a texel more on each side covers the GL's rounding of s.
void visibleSpan(int low, int high, int count, float& spanLow, float& spanHigh) {
  const float size = static_cast<float>(count);
  spanLow = high == count - 1 ? 0.0f : std::max(0.0f, (static_cast<float>(low) - 1.0f) / size);
  spanHigh = low == 0 ? 1.0f : std::min(1.0f, (static_cast<float>(high) + 2.0f) / size);
}

}  // namespace

TextureRect unionOf(const TextureRect& a, const TextureRect& b) {
  return {std::min(a.uLow, b.uLow), std::min(a.vLow, b.vLow), std::max(a.uHigh, b.uHigh), std::max(a.vHigh, b.vHigh)};
}

bool TextureRect::operator==(const TextureRect& other) const {
  return uLow == other.uLow && vLow == other.vLow && uHigh == other.uHigh && vHigh == other.vHigh;
}

TextureRect SpriteExtent::rectFor(int maxLevel) const {
  if (upToLevel.empty()) {
    return {};
  }
  const int last = static_cast<int>(upToLevel.size()) - 1;
  return upToLevel[static_cast<size_t>(std::clamp(maxLevel, 0, last))];
}

TextureRect visibleRect(const unsigned char* alpha, int width, int height, float alphaThreshold) {
  int columnLow = width;
  int columnHigh = -1;
  int rowLow = height;
  int rowHigh = -1;
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      if (!mayPass(alpha[static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(column)],
                   alphaThreshold)) {
        continue;
      }
      columnLow = std::min(columnLow, column);
      columnHigh = std::max(columnHigh, column);
      rowLow = std::min(rowLow, row);
      rowHigh = std::max(rowHigh, row);
    }
  }
  if (columnHigh < 0) {
    // Nothing passes: an empty rectangle in the middle, which adds nothing to a union.
    return {0.5f, 0.5f, 0.5f, 0.5f};
  }
  TextureRect rect;
  visibleSpan(columnLow, columnHigh, width, rect.uLow, rect.uHigh);
  visibleSpan(rowLow, rowHigh, height, rect.vLow, rect.vHigh);
  return rect;
}

int coarsestLevelFor(float texelsPerPixel) {
  const int spare = 2;
  if (!(texelsPerPixel > 1.0f)) {
    return spare;
  }
  return static_cast<int>(std::ceil(std::log2(texelsPerPixel))) + spare;
}

namespace {

// Reads one level's alpha bytes through a framebuffer it is attached to, as RGBA rows; false when
// the level cannot be attached (it does not exist). The framebuffers bound before stay bound.
bool readLevelAlphaThroughFramebuffer(unsigned int texture, int level, int width, int height,
                                      std::vector<unsigned char>& alpha) {
  GLint drawFramebuffer = 0;
  GLint readFramebuffer = 0;
  countQueries(2);
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
  GLuint framebuffer = 0;
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, level);
  const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  if (complete) {
    std::vector<unsigned char> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    {
      const PixelStoreScope rows(PixelDirection::Pack, 4);
      glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    }
    for (size_t i = 0; i < alpha.size(); ++i) {
      alpha[i] = rgba[i * 4 + 3];
    }
  }
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawFramebuffer));
  glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));
  glDeleteFramebuffers(1, &framebuffer);
  return complete;
}

}  // namespace

SpriteExtent measureUploadedSpriteExtent(unsigned int texture, float alphaThreshold) {
  const TextureShape* shape = textureManager().shapeOf(texture);
  if (shape == nullptr || !shape->withAlpha) {
    SpriteExtent whole;
    whole.texture = texture;
    return whole;
  }
  return measureSpriteExtentThroughFramebuffer(texture, shape->width, shape->height, alphaThreshold);
}

SpriteExtent measureSpriteExtentThroughFramebuffer(unsigned int texture, int width, int height,
                                                   float alphaThreshold) {
  SpriteExtent extent;
  extent.texture = texture;
  if (texture == 0 || width <= 0 || height <= 0) {
    return extent;
  }
  std::vector<unsigned char> alpha;
  TextureRect soFar{0.5f, 0.5f, 0.5f, 0.5f};
  int levelWidth = width;
  int levelHeight = height;
  for (int level = 0;; ++level) {
    alpha.assign(static_cast<size_t>(levelWidth) * static_cast<size_t>(levelHeight), 0);
    if (!readLevelAlphaThroughFramebuffer(texture, level, levelWidth, levelHeight, alpha)) {
      break;
    }
    soFar = unionOf(soFar, visibleRect(alpha.data(), levelWidth, levelHeight, alphaThreshold));
    extent.upToLevel.push_back(soFar);
    if (levelWidth == 1 && levelHeight == 1) {
      break;
    }
    levelWidth = std::max(1, levelWidth / 2);
    levelHeight = std::max(1, levelHeight / 2);
  }
  if (!extent.upToLevel.empty()) {
    extent.width = width;
    extent.height = height;
  }
  return extent;
}

namespace {

struct WindowPoint {
  float x = 0.0f;
  float y = 0.0f;
};

// False for a point on or behind the eye's plane, which has no place in the window.
bool toWindow(const Matrix4& clip, const int viewport[4], const Vector3& point, WindowPoint& window) {
  const Vector3 c = clip.transform(Vector3(point.x, point.y, point.z, 1.0f));
  if (!(c.w > 1.0e-6f)) {
    return false;
  }
  window.x = static_cast<float>(viewport[0]) + (c.x / c.w * 0.5f + 0.5f) * static_cast<float>(viewport[2]);
  window.y = static_cast<float>(viewport[1]) + (c.y / c.w * 0.5f + 0.5f) * static_cast<float>(viewport[3]);
  return true;
}

float distance(const WindowPoint& a, const WindowPoint& b) { return std::hypot(b.x - a.x, b.y - a.y); }

}  // namespace

bool spriteScissor(const Matrix4& clip, const int viewport[4], const SpriteExtent& extent,
                   const Vector3& bottomLeft, const Vector3& bottomRight, const Vector3& topLeft, ScissorBox& box) {
  if (extent.upToLevel.empty()) {
    return false;
  }
  WindowPoint left;
  WindowPoint right;
  WindowPoint top;
  if (!toWindow(clip, viewport, bottomLeft, left) || !toWindow(clip, viewport, bottomRight, right) ||
      !toWindow(clip, viewport, topLeft, top)) {
    return false;
  }
  const float texelsPerPixel = std::max(static_cast<float>(extent.width) / distance(left, right),
                                        static_cast<float>(extent.height) / distance(left, top));
  // A quad of a pixel or less (or of none) is not worth a box.
  if (!(texelsPerPixel < 1.0e6f)) {
    return false;
  }
  const TextureRect rect = extent.rectFor(coarsestLevelFor(texelsPerPixel));
  if (rect == TextureRect{}) {
    return false;
  }

  // The visible part is a smaller quad in the same plane; its window image lies inside the box
  // round its four corners.
  const Vector3 across = bottomRight - bottomLeft;
  const Vector3 rise = topLeft - bottomLeft;
  float low[2] = {1.0e9f, 1.0e9f};
  float high[2] = {-1.0e9f, -1.0e9f};
  for (const float u : {rect.uLow, rect.uHigh}) {
    for (const float v : {rect.vLow, rect.vHigh}) {
      WindowPoint corner;
      if (!toWindow(clip, viewport, bottomLeft + across * u + rise * v, corner)) {
        return false;
      }
      low[0] = std::min(low[0], corner.x);
      low[1] = std::min(low[1], corner.y);
      high[0] = std::max(high[0], corner.x);
      high[1] = std::max(high[1], corner.y);
    }
  }
  // A pixel more on each side for rounding, and never past the viewport, so the box fits an int.
  const float viewLow[2] = {static_cast<float>(viewport[0]), static_cast<float>(viewport[1])};
  const float viewHigh[2] = {viewLow[0] + static_cast<float>(viewport[2]), viewLow[1] + static_cast<float>(viewport[3])};
  int boxLow[2] = {0, 0};
  int boxHigh[2] = {0, 0};
  for (int axis = 0; axis < 2; ++axis) {
    boxLow[axis] = static_cast<int>(std::floor(std::clamp(low[axis] - 1.0f, viewLow[axis], viewHigh[axis])));
    boxHigh[axis] = static_cast<int>(std::ceil(std::clamp(high[axis] + 1.0f, viewLow[axis], viewHigh[axis])));
  }
  box = ScissorBox{boxLow[0], boxLow[1], boxHigh[0] - boxLow[0], boxHigh[1] - boxLow[1]};
  return true;
}
