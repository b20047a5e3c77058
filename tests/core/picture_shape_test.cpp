#include "core/picture_shape.h"

#include <gtest/gtest.h>

namespace {

TEST(PictureShape, theComposedFrameKeepsItsProjectionExactlyAndOtherShapesWidenIt) {
  EXPECT_EQ(widenedAspect(kComposedAspect, 800, 600), static_cast<double>(kComposedAspect));
  EXPECT_EQ(widenedAspect(kComposedAspect, 1024, 768), static_cast<double>(kComposedAspect));
  EXPECT_NEAR(widenedAspect(kComposedAspect, 1920, 1080), 1.3 * (16.0 / 9.0) / (4.0 / 3.0), 1e-6);
  EXPECT_NEAR(widenedAspect(kComposedAspect, 600, 800), 1.3 * (3.0 / 4.0) / (4.0 / 3.0), 1e-6);
  EXPECT_EQ(widenedAspect(kComposedAspect, 0, 0), static_cast<double>(kComposedAspect));
}

TEST(PictureShape, surfacesKeepTheComposedSamplingOnEachAxis) {
  SurfaceSize size = surfaceSizeFor(800, 600, false, 8192);
  EXPECT_EQ(size.width, 512);
  EXPECT_EQ(size.height, 512);
  size = surfaceSizeFor(1920, 1080, false, 8192);
  EXPECT_EQ(size.width, 1229);
  EXPECT_EQ(size.height, 922);
  // Without textures of other sizes, the next powers of two.
  size = surfaceSizeFor(1920, 1080, true, 8192);
  EXPECT_EQ(size.width, 2048);
  EXPECT_EQ(size.height, 1024);
  // Never beyond the driver's largest texture, never empty, and the composed size while unknown.
  size = surfaceSizeFor(20000, 1, false, 4096);
  EXPECT_EQ(size.width, 4096);
  EXPECT_EQ(size.height, 1);
  size = surfaceSizeFor(0, 0, false, 8192);
  EXPECT_EQ(size.width, 512);
  EXPECT_EQ(size.height, 512);
}

TEST(PictureShape, aSizeFollowsTheChosenSurfacesInProportionAndIsKeptAtTheFullSize) {
  const SurfaceSize bubbles{640, 360};
  SurfaceSize size = proportionalSize(bubbles, SurfaceSize{1229, 922}, SurfaceSize{1229, 922});
  EXPECT_EQ(size.width, 640);
  EXPECT_EQ(size.height, 360);
  size = proportionalSize(bubbles, SurfaceSize{615, 461}, SurfaceSize{1229, 922});
  EXPECT_EQ(size.width, 320);
  EXPECT_EQ(size.height, 180);
  size = proportionalSize(SurfaceSize{2, 2}, SurfaceSize{1, 1}, SurfaceSize{1000, 1000});
  EXPECT_EQ(size.width, 1);
  EXPECT_EQ(size.height, 1);
}

}  // namespace
