#include "tools/icon_picture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace baker;

namespace {

float brightness(const Colour& colour) { return (colour.r + colour.g + colour.b) / 3.0f; }

// The icon must read at a glance at every size: a bright fireball in the middle of a landscape
// that shows at the edges, not a black or washed-out square.
TEST(IconPictureTest, aBrightMiddleOverTheLandscapeSeenToTheEdgesAtEverySize) {
  for (const int size : kIconSizes) {
    const BakedPicture icon = paintIcon(size);
    ASSERT_EQ(icon.width(), size);
    ASSERT_EQ(icon.height(), size);
    ASSERT_EQ(icon.channels(), 3);
    const float middle = brightness(icon.get(size / 2, size / 2));
    const int near = 2;
    const int far = size - 3;
    const int corners[4][2] = {{near, near}, {far, near}, {near, far}, {far, far}};
    for (const auto& corner : corners) {
      const float edge = brightness(icon.get(corner[0], corner[1]));
      EXPECT_GT(edge, 0.05f) << size << " px: corner " << corner[0] << "," << corner[1] << " is black";
      EXPECT_GT(middle, edge + 0.2f) << size << " px";
    }
  }
}

// Small icons are drawn for their size, not shrunk from a large picture (which would blur the
// frame away and melt the lake into the ground): a dark frame on every edge pixel, clear water,
// a near-white core.
TEST(IconPictureTest, smallIconsKeepASharpFrameAClearLakeAndAWhiteCore) {
  for (const int size : {16, 32, 48}) {
    const BakedPicture icon = paintIcon(size);
    for (int i = 0; i < size; ++i) {
      for (const Colour& edge : {icon.get(i, 0), icon.get(i, size - 1), icon.get(0, i), icon.get(size - 1, i)}) {
        ASSERT_LT(brightness(edge), 0.2f) << size << " px: edge pixel " << i << " is not the frame";
      }
    }
    int waterPixels = 0;
    float brightest = 0.0f;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const Colour colour = icon.get(x, y);
        waterPixels += colour.b > colour.r + 0.3f && colour.b > colour.g + 0.2f ? 1 : 0;
        brightest = std::max(brightest, brightness(colour));
      }
    }
    EXPECT_GE(waterPixels, size * size / 40) << size << " px: the lake is lost";
    EXPECT_GT(brightest, 0.85f) << size << " px: no white core";
  }
}

}  // namespace
