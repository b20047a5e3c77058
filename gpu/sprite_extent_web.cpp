// Measuring a sprite on the web: WebGL 2 reads no texture back, so the sizes are those the upload
// handed over and each level is read through a framebuffer.
#include "gpu/sprite_extent.h"

SpriteExtent measureSpriteExtent(unsigned int texture, float alphaThreshold) {
  return measureUploadedSpriteExtent(texture, alphaThreshold);
}
