#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/image_decoder.h"
#include "tests/support/image_magick.h"

namespace {

// An 18-byte Targa header (no image id), then an optional colour map and the stored pixels.
std::vector<uint8_t> targaFile(int type, int width, int height, int bits, int descriptor,
                               const std::vector<uint8_t>& colourMap, int mapEntryBits,
                               const std::vector<uint8_t>& pixels) {
  const int mapLength = mapEntryBits == 0 ? 0 : static_cast<int>(colourMap.size() * 8 / mapEntryBits);
  std::vector<uint8_t> bytes = {0,
                                static_cast<uint8_t>(mapEntryBits == 0 ? 0 : 1),
                                static_cast<uint8_t>(type),
                                0,
                                0,
                                static_cast<uint8_t>(mapLength),
                                static_cast<uint8_t>(mapLength >> 8),
                                static_cast<uint8_t>(mapEntryBits),
                                0,
                                0,
                                0,
                                0,
                                static_cast<uint8_t>(width),
                                static_cast<uint8_t>(width >> 8),
                                static_cast<uint8_t>(height),
                                static_cast<uint8_t>(height >> 8),
                                static_cast<uint8_t>(bits),
                                static_cast<uint8_t>(descriptor)};
  bytes.insert(bytes.end(), colourMap.begin(), colourMap.end());
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  return bytes;
}

class TgaDecoderTest : public testing::Test {
 protected:
  void SetUp() override { REQUIRE_IMAGEMAGICK(); }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) { return folder_.write(name, bytes); }
  ScratchFolder folder_;
};

TEST_F(TgaDecoderTest, mappedTrueColourAndGreyRawOrRunLengthMatchImageMagick) {
  struct Variant {
    const char* options;
    const char* name;
    int type;
    int bits;
  };
  const Variant variants[] = {
      {"-type Palette", "mapped.tga", 1, 8},
      {"-type Palette -compress RLE", "mappedrle.tga", 9, 8},
      {"", "true.tga", 2, 24},
      {"-compress RLE", "truerle.tga", 10, 24},
      {"-colorspace Gray -type Grayscale", "grey.tga", 3, 8},
      {"-colorspace Gray -type Grayscale -compress RLE", "greyrle.tga", 11, 8},
  };
  for (const Variant& variant : variants) {
    const std::string file = folder_.path(variant.name);
    ASSERT_TRUE(runConvert("'" + magickSources().opaque + "' " + variant.options + " '" + file + "'"));
    ASSERT_EQ(readFileBytes(file)[2], variant.type) << variant.name;
    const DecodedImage image = expectMatchesImageMagick(file);
    EXPECT_EQ(image.bitsPerPixel(), variant.bits) << variant.name;
  }
}

TEST_F(TgaDecoderTest, thirtyTwoBitsCarryAlphaRawOrRunLength) {
  for (const char* options : {"", "-compress RLE"}) {
    const std::string file = folder_.path("alpha.tga");
    ASSERT_TRUE(runConvert("'" + magickSources().translucent + "' " + options + " '" + file + "'"));
    const DecodedImage image = expectMatchesImageMagick(file);
    ASSERT_TRUE(image.hasAlpha());
    EXPECT_EQ(packedAlpha(image), magickAlpha(file)) << options;
  }
}

// Three rows of two pixels stored from the top (descriptor bit 5) and right to left (bit 4).
TEST_F(TgaDecoderTest, bothOriginsAndRightToLeftRowsArePlaced) {
  const std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
  for (const int descriptor : {0x00, 0x20, 0x10, 0x30}) {
    const DecodedImage image =
        expectMatchesImageMagick(write("origin" + std::to_string(descriptor) + ".tga", targaFile(2, 2, 3, 24, descriptor, {}, 0, pixels)));
    const int firstRow = (descriptor & 0x20) ? 2 : 0;
    const int firstColumn = (descriptor & 0x10) ? 1 : 0;
    EXPECT_EQ(image.pixel(firstColumn, firstRow).b, 1) << descriptor;
    EXPECT_EQ(image.pixel(1 - firstColumn, 2 - firstRow).r, 18) << descriptor;
  }
}

TEST_F(TgaDecoderTest, sixteenBitColoursWidenFiveBitsAndUseTheAttributeBitAsAlpha) {
  // Pure blue 31 (alpha bit set), green 16 (alpha bit clear), red 1 and a run of white.
  const std::vector<uint8_t> pixels = {0x1f, 0x80, 0x00, 0x02, 0x00, 0x84, 0x81, 0xff, 0xff};
  const std::vector<uint8_t> raw(pixels.begin(), pixels.begin() + 6);
  std::vector<uint8_t> runLength = {0x02};
  runLength.insert(runLength.end(), raw.begin(), raw.end());
  runLength.insert(runLength.end(), pixels.begin() + 6, pixels.end());
  const DecodedImage image = expectMatchesImageMagick(write("sixteen.tga", targaFile(10, 5, 1, 16, 0x01, {}, 0, runLength)));
  ASSERT_TRUE(image.hasAlpha());
  EXPECT_EQ(image.pixel(0, 0).b, 255);
  EXPECT_EQ(image.pixel(0, 0).a, 255);
  EXPECT_EQ(image.pixel(1, 0).g, 132);
  EXPECT_EQ(image.pixel(1, 0).a, 0);
  EXPECT_EQ(image.pixel(2, 0).r, 8);
  EXPECT_EQ(image.pixel(4, 0).r, 255);
  // Without alpha bits in the descriptor the top bit means nothing.
  DecodedImage opaque;
  std::string error;
  const std::vector<uint8_t> bytes = targaFile(10, 5, 1, 16, 0x00, {}, 0, runLength);
  ASSERT_TRUE(decodeImage(bytes.data(), bytes.size(), kImageTga, opaque, error)) << error;
  EXPECT_FALSE(opaque.hasAlpha());
}

TEST_F(TgaDecoderTest, colourMapEntriesOfThirtyTwoBitsGiveAlphaPerIndex) {
  const std::vector<uint8_t> colourMap = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0};
  const std::vector<uint8_t> pixels = {0, 1, 2, 2};
  const DecodedImage image = expectMatchesImageMagick(write("mapalpha.tga", targaFile(1, 4, 1, 8, 0x08, colourMap, 32, pixels)));
  ASSERT_TRUE(image.hasAlpha());
  EXPECT_EQ(image.pixel(0, 0).a, 255);
  EXPECT_EQ(image.pixel(1, 0).a, 128);
  EXPECT_EQ(image.pixel(3, 0).a, 0);
  EXPECT_EQ(packedAlpha(image), magickAlpha(folder_.path("mapalpha.tga")));
}

}  // namespace
