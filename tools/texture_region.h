// A rectangle of a model's texture picture that one part of the model maps onto, shared by the
// code that lays out the part's texture coordinates and the code that paints the picture.
#pragma once

#include "tools/baked_picture.h"
#include "tools/mesh_builder.h"

namespace baker {

struct TextureRegion {
  float u0;
  float v0;  // v = 0 is the picture's bottom row
  float u1;
  float v1;
};

constexpr TextureRegion kWholePicture{0.0f, 0.0f, 1.0f, 1.0f};

void useRegion(MeshBuilder& builder, const TextureRegion& region);

// Calls paint(u, v) -> Colour for every pixel whose centre lies in the region, with u and v the
// pixel's place inside the region (0..1, v = 0 at the region's bottom edge).
template <typename Paint>
void paintRegion(BakedPicture& picture, const TextureRegion& region, Paint paint) {
  const float width = static_cast<float>(picture.width());
  const float height = static_cast<float>(picture.height());
  for (int y = 0; y < picture.height(); ++y) {
    const float v = 1.0f - (static_cast<float>(y) + 0.5f) / height;
    if (v < region.v0 || v >= region.v1) {
      continue;
    }
    for (int x = 0; x < picture.width(); ++x) {
      const float u = (static_cast<float>(x) + 0.5f) / width;
      if (u < region.u0 || u >= region.u1) {
        continue;
      }
      picture.set(x, y, paint((u - region.u0) / (region.u1 - region.u0), (v - region.v0) / (region.v1 - region.v0)));
    }
  }
}

}  // namespace baker
