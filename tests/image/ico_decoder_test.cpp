#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/image_decoder.h"
#include "tests/support/image_magick.h"

namespace {

void putU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
  }
}

struct IconImage {
  int size;
  int bits;
  std::vector<uint8_t> data;
};

std::vector<uint8_t> iconFile(const std::vector<IconImage>& images) {
  std::vector<uint8_t> bytes = {0, 0, 1, 0, static_cast<uint8_t>(images.size()), 0};
  size_t offset = 6 + 16 * images.size();
  for (const IconImage& image : images) {
    std::vector<uint8_t> entry(16, 0);
    entry[0] = static_cast<uint8_t>(image.size);
    entry[1] = static_cast<uint8_t>(image.size);
    entry[4] = 1;
    entry[6] = static_cast<uint8_t>(image.bits);
    putU32(entry, 8, static_cast<uint32_t>(image.data.size()));
    putU32(entry, 12, static_cast<uint32_t>(offset));
    bytes.insert(bytes.end(), entry.begin(), entry.end());
    offset += image.data.size();
  }
  for (const IconImage& image : images) {
    bytes.insert(bytes.end(), image.data.begin(), image.data.end());
  }
  return bytes;
}

// An icon bitmap from a BMP file: its header and pixels with the height doubled, followed by an
// AND mask that marks every pixel where (x + y) % 3 == 0 as transparent.
std::vector<uint8_t> iconBitmap(const std::vector<uint8_t>& bitmapFile, int size) {
  std::vector<uint8_t> dib(bitmapFile.begin() + 14, bitmapFile.end());
  putU32(dib, 8, static_cast<uint32_t>(2 * size));
  const size_t maskRowBytes = ((static_cast<size_t>(size) + 31) / 32) * 4;
  for (int row = 0; row < size; ++row) {
    std::vector<uint8_t> mask(maskRowBytes, 0);
    for (int x = 0; x < size; ++x) {
      if ((x + row) % 3 == 0) {
        mask[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      }
    }
    dib.insert(dib.end(), mask.begin(), mask.end());
  }
  return dib;
}

class IcoDecoderTest : public testing::Test {
 protected:
  void SetUp() override { REQUIRE_IMAGEMAGICK(); }
  ScratchFolder folder_;
};

TEST_F(IcoDecoderTest, theLargestEntryIsDecodedWithItsAlpha) {
  const std::string file = folder_.path("sizes.ico");
  ASSERT_TRUE(runConvert("'" + magickSources().translucent + "' -define icon:auto-resize=16,48,32 '" + file + "'"));
  const DecodedImage image = expectMatchesImageMagick(file, 1);
  EXPECT_EQ(image.width(), 48);
  ASSERT_TRUE(image.hasAlpha());
  EXPECT_EQ(packedAlpha(image), magickAlpha(file, 1));
}

TEST_F(IcoDecoderTest, aPngInsideIsDecodedAsPng) {
  const std::string file = folder_.path("big.ico");
  ASSERT_TRUE(runConvert("'" + magickSources().translucent + "' -resize 256x256! '" + file + "'"));
  const DecodedImage image = expectMatchesImageMagick(file);
  EXPECT_EQ(image.width(), 256);
  EXPECT_EQ(packedAlpha(image), magickAlpha(file));
}

TEST_F(IcoDecoderTest, indexedAndTrueColourBitmapsTakeTheirAndMaskAsAlpha) {
  struct Depth {
    const char* options;
    int bits;
  };
  const Depth depths[] = {{"-monochrome", 1}, {"-colors 16", 4}, {"-colors 200", 8}, {"-type TrueColor", 24}};
  for (const Depth& depth : depths) {
    const std::string bitmap = folder_.path("entry.bmp");
    ASSERT_TRUE(runConvert("'" + magickSources().opaque + "' -resize 20x20! " + depth.options +
                           " -compress none bmp3:'" + bitmap + "'"));
    const std::string file = folder_.path("masked" + std::to_string(depth.bits) + ".ico");
    writeFileBytes(file, iconFile({{20, depth.bits, iconBitmap(readFileBytes(bitmap), 20)}}));
    const DecodedImage image = expectMatchesImageMagick(file);
    EXPECT_EQ(image.bitsPerPixel(), depth.bits);
    ASSERT_TRUE(image.hasAlpha());
    // Row 0 of the mask is the bottom row of the picture.
    EXPECT_EQ(image.pixel(0, 0).a, 0) << depth.bits;
    EXPECT_EQ(image.pixel(1, 0).a, 255) << depth.bits;
    EXPECT_EQ(image.pixel(2, 1).a, 0) << depth.bits;
    EXPECT_EQ(image.pixel(19, 19).a, 255) << depth.bits;
  }
}

TEST_F(IcoDecoderTest, entriesPointingOutsideTheFileAreSkipped) {
  const std::string bitmap = folder_.path("entry.bmp");
  ASSERT_TRUE(runConvert("'" + magickSources().opaque + "' -resize 8x8! -type TrueColor bmp3:'" + bitmap + "'"));
  std::vector<uint8_t> bytes = iconFile({{8, 24, iconBitmap(readFileBytes(bitmap), 8)}, {32, 24, {1, 2, 3}}});
  // The larger second entry claims a million bytes.
  putU32(bytes, 6 + 16 + 8, 1000000);
  DecodedImage image;
  std::string error;
  ASSERT_TRUE(decodeImage(bytes.data(), bytes.size(), kImageIco, image, error)) << error;
  EXPECT_EQ(image.width(), 8);
}

}  // namespace
