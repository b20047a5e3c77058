// Measuring a sprite on the desktop: the GL reads each level of the texture back as it is.
#include "gpu/sprite_extent.h"

#include <GL/glew.h>

#include <vector>

#include "core/draw_counts.h"
#include "gpu/draw_layer.h"
#include "gpu/pixel_store.h"
#include "platform/gl_binding_record.h"
#include "platform/gl_capabilities.h"

namespace {

// Reads one level's alpha bytes where the context has glGetTexImage; the texture is bound.
void readLevelAlpha(int level, std::vector<unsigned char>& alpha) {
  // Rows of single bytes: no padding whatever the width.
  const PixelStoreScope rows(PixelDirection::Pack, 1);
  countQueries(1);
  glGetTexImage(GL_TEXTURE_2D, level, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
}

}  // namespace

SpriteExtent measureSpriteExtent(unsigned int texture, float alphaThreshold) {
  if (platform::contextCapabilities().isES()) {
    return measureUploadedSpriteExtent(texture, alphaThreshold);
  }
  SpriteExtent extent;
  extent.texture = texture;
  if (texture == 0) {
    return extent;
  }
  const unsigned int previous = platform::textureOnUnit(0);
  DrawLayer& layer = drawLayer();
  layer.bindTexture(0, texture);
  GLint alphaBits = 0;
  countQueries(1);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
  std::vector<unsigned char> alpha;
  TextureRect soFar{0.5f, 0.5f, 0.5f, 0.5f};
  for (int level = 0; alphaBits > 0; ++level) {
    GLint width = 0;
    GLint height = 0;
    countQueries(2);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
    if (width <= 0 || height <= 0) {
      break;
    }
    if (level == 0) {
      extent.width = width;
      extent.height = height;
    }
    alpha.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    readLevelAlpha(level, alpha);
    soFar = unionOf(soFar, visibleRect(alpha.data(), width, height, alphaThreshold));
    extent.upToLevel.push_back(soFar);
  }
  layer.bindTexture(0, previous);
  return extent;
}
