// Where a sprite texture can pass an alpha test, measured once from the texture itself, so that
// drawing can leave out the parts of a quad that the test would throw away.
// Outside a level's rectangle every linearly filtered sample of that level has an alpha at or
// below the threshold, whatever the wrap mode.
#pragma once

#include <vector>

#include "core/matrix4.h"

// A rectangle of texture coordinates, u to the right and v up, each in 0..1.
struct TextureRect {
  float uLow = 0.0f;
  float vLow = 0.0f;
  float uHigh = 1.0f;
  float vHigh = 1.0f;

  bool operator==(const TextureRect& other) const;
};

// The smallest rectangle that holds both.
TextureRect unionOf(const TextureRect& a, const TextureRect& b);

struct SpriteExtent {
  unsigned int texture = 0;
  int width = 0;  // of level 0, texels
  int height = 0;
  // Entry k covers what levels 0 to k can show together; empty when nothing was measured.
  std::vector<TextureRect> upToLevel;

  // The rectangle for samples taken from levels 0 to maxLevel (clamped to the levels there are);
  // the whole texture when nothing was measured.
  TextureRect rectFor(int maxLevel) const;
};

// Reads every mipmap level of the texture back from the GL. A texture without an alpha channel,
// or none at all, measures as the whole texture at every level. On ES, which cannot read textures
// back, the texture must be one the texture manager made.
SpriteExtent measureSpriteExtent(unsigned int texture, float alphaThreshold);
// The measurement for a texture the texture manager made, from the sizes it handed over, each
// level read through a framebuffer: for contexts that cannot read textures back (ES, WebGL 2).
SpriteExtent measureUploadedSpriteExtent(unsigned int texture, float alphaThreshold);
// The same measurement with each level read through a framebuffer: level 0 is width × height and
// each level after it half that, down to the last level the texture has.
SpriteExtent measureSpriteExtentThroughFramebuffer(unsigned int texture, int width, int height,
                                                   float alphaThreshold);

// The same measurement on one level's alpha bytes, rows bottom-up.
TextureRect visibleRect(const unsigned char* alpha, int width, int height, float alphaThreshold);

// The coarsest level (highest index) a sprite drawn at this many texels per pixel can sample, with
// two levels to spare for the GL's own estimate of the level of detail.
int coarsestLevelFor(float texelsPerPixel);

// A window rectangle in pixels, as glScissor takes it.
struct ScissorBox {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// A sprite quad with texture corners (0, 0), (1, 0) and (0, 1) at these three object-space points,
// seen through clip = projection × model-view (column-major) and the viewport (x, y, width,
// height). Gives the window box that holds every pixel the quad can show, or false when the whole
// quad should be drawn (its texture shows everywhere, or the quad reaches behind the eye).
bool spriteScissor(const Matrix4& clip, const int viewport[4], const SpriteExtent& extent,
                   const Vector3& bottomLeft, const Vector3& bottomRight, const Vector3& topLeft, ScissorBox& box);
