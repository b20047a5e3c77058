// Texture regions of the model pictures.
#include "tools/texture_region.h"

namespace baker {

namespace {

// Parts map a little inside their region, so the smaller mipmap levels, which blend
// neighbouring pixels, do not pull in the colour of the region next door.
constexpr float kRegionInset = 0.006f;

}  // namespace

void useRegion(MeshBuilder& builder, const TextureRegion& region) {
  builder.setTextureRegion(region.u0 + kRegionInset, region.v0 + kRegionInset, region.u1 - kRegionInset,
                           region.v1 - kRegionInset);
}

}  // namespace baker
