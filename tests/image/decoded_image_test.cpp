#include <gtest/gtest.h>

#include "image/decoded_image.h"

namespace {

TEST(DecodedImage, sizeLimitsAreSixteenThousandPixelsAndQuarterGigabyte) {
  EXPECT_TRUE(imageSizeAllowed(1, 1));
  EXPECT_TRUE(imageSizeAllowed(16384, 4096));  // exactly 256 MiB at 4 bytes per pixel
  EXPECT_FALSE(imageSizeAllowed(16384, 4097));
  EXPECT_FALSE(imageSizeAllowed(16385, 1));
  EXPECT_FALSE(imageSizeAllowed(1, 16385));
  EXPECT_FALSE(imageSizeAllowed(0, 10));
  EXPECT_FALSE(imageSizeAllowed(-5, 10));
  EXPECT_FALSE(imageSizeAllowed(1LL << 40, 1LL << 40));
}

TEST(DecodedImage, createRefusesBadSizesAndDepthsAndStaysEmpty) {
  DecodedImage image;
  std::string error;
  EXPECT_FALSE(image.create(20000, 20000, 24, error));
  EXPECT_NE(error.find("refused"), std::string::npos);
  EXPECT_FALSE(image.create(4, 4, 16, error));
  EXPECT_FALSE(image.isValid());
  EXPECT_EQ(image.bits(), nullptr);
  EXPECT_FALSE(image.convertTo24Bits());
}

TEST(DecodedImage, rowsArePaddedToFourBytesForEveryDepth) {
  DecodedImage image;
  std::string error;
  const int expected[][2] = {{1, 4}, {4, 4}, {8, 8}, {24, 16}};
  for (const auto& depthAndStride : expected) {
    ASSERT_TRUE(image.create(5, 3, depthAndStride[0], error));
    EXPECT_EQ(image.rowStrideBytes(), depthAndStride[1]) << depthAndStride[0] << " bits";
  }
}

TEST(DecodedImage, indexedPixelsGoThroughThePaletteAtEveryDepth) {
  for (const int depth : {1, 4, 8}) {
    DecodedImage image;
    std::string error;
    ASSERT_TRUE(image.create(9, 2, depth, error));
    const int last = (1 << depth) - 1;
    image.setPaletteEntry(last, 10, 20, 30);
    image.setIndex(8, 1, last);
    image.setIndex(9, 1, last);  // outside: ignored
    EXPECT_EQ(image.indexAt(8, 1), last) << depth;
    EXPECT_EQ(image.indexAt(7, 1), 0) << depth;
    const DecodedImage::Bgra top = image.pixel(8, 1);
    EXPECT_EQ(top.b, 10);
    EXPECT_EQ(top.g, 20);
    EXPECT_EQ(top.r, 30);
    EXPECT_EQ(top.a, 255);
    ASSERT_TRUE(image.convertTo24Bits());
    EXPECT_EQ(image.bitsPerPixel(), 24);
    EXPECT_EQ(image.pixel(8, 1).r, 30);
    EXPECT_EQ(image.pixel(8, 0).r, 0);
  }
}

TEST(DecodedImage, alphaPlaneGivesAlphaAndOutsidePixelsAreZero) {
  DecodedImage image;
  std::string error;
  ASSERT_TRUE(image.create(3, 2, 24, error));
  image.setColour(2, 0, 1, 2, 3);
  EXPECT_EQ(image.pixel(2, 0).a, 255);
  image.createAlphaPlane(200);
  image.setAlpha(2, 0, 7);
  EXPECT_EQ(image.pixel(2, 0).a, 7);
  EXPECT_EQ(image.pixel(0, 1).a, 200);
  const DecodedImage::Bgra outside = image.pixel(3, 0);
  EXPECT_EQ(outside.b + outside.g + outside.r + outside.a, 0);
  EXPECT_EQ(image.pixel(-1, 0).a, 0);
}

TEST(DecodedImage, resamplingTakesTheNearestSourcePixelFromTheBottomLeft) {
  DecodedImage image;
  std::string error;
  ASSERT_TRUE(image.create(4, 2, 8, error));
  image.createAlphaPlane(0);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) {
      image.setIndex(x, y, y * 4 + x);
      image.setAlpha(x, y, static_cast<uint8_t>(10 * (y * 4 + x)));
    }
  }
  // Destination (x, y) takes (x × 4 / 3, y × 2 / 5).
  const DecodedImage scaled = image.resampled(3, 5);
  ASSERT_TRUE(scaled.isValid());
  EXPECT_EQ(scaled.bitsPerPixel(), 8);
  EXPECT_EQ(scaled.indexAt(0, 0), 0);
  EXPECT_EQ(scaled.indexAt(1, 0), 1);
  EXPECT_EQ(scaled.indexAt(2, 0), 2);
  EXPECT_EQ(scaled.indexAt(2, 2), 2);
  EXPECT_EQ(scaled.indexAt(2, 3), 6);
  EXPECT_EQ(scaled.pixel(1, 4).a, 50);
  EXPECT_FALSE(image.resampled(0, 5).isValid());
  EXPECT_FALSE(image.resampled(20000, 1).isValid());
}

}  // namespace
