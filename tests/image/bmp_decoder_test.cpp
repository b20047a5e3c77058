#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "image/image_decoder.h"
#include "tests/support/image_magick.h"

namespace {

void putU16(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void putU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  putU16(bytes, at, value & 0xffff);
  putU16(bytes, at + 2, value >> 16);
}

uint32_t getU32(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

// A bitmap with the 40-byte header, a palette of 0xRRGGBB colours and the given stored pixels.
std::vector<uint8_t> bitmapFile(int width, int height, int bits, uint32_t compression,
                                const std::vector<uint32_t>& palette, const std::vector<uint8_t>& pixels) {
  const size_t pixelOffset = 14 + 40 + palette.size() * 4;
  std::vector<uint8_t> bytes(pixelOffset, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  putU32(bytes, 2, static_cast<uint32_t>(pixelOffset + pixels.size()));
  putU32(bytes, 10, static_cast<uint32_t>(pixelOffset));
  putU32(bytes, 14, 40);
  putU32(bytes, 18, static_cast<uint32_t>(width));
  putU32(bytes, 22, static_cast<uint32_t>(height));
  putU16(bytes, 26, 1);
  putU16(bytes, 28, static_cast<uint32_t>(bits));
  putU32(bytes, 30, compression);
  putU32(bytes, 46, static_cast<uint32_t>(palette.size()));
  for (size_t i = 0; i < palette.size(); ++i) {
    putU32(bytes, 54 + 4 * i, palette[i]);
  }
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  return bytes;
}

std::vector<uint32_t> sixteenColours() {
  std::vector<uint32_t> palette;
  for (uint32_t i = 0; i < 16; ++i) {
    palette.push_back((i * 16) << 16 | (255 - i * 15) << 8 | ((i * 77) & 0xff));
  }
  return palette;
}

class BmpDecoderTest : public testing::Test {
 protected:
  void SetUp() override { REQUIRE_IMAGEMAGICK(); }
  // Makes a variant of a source picture with ImageMagick and checks our decode against its own.
  DecodedImage convertAndCompare(const std::string& source, const std::string& options, const std::string& name) {
    const std::string file = convertInto(folder_, source, options, name);
    EXPECT_FALSE(file.empty()) << name;
    return expectMatchesImageMagick(file);
  }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) { return folder_.write(name, bytes); }
  ScratchFolder folder_;
};

TEST_F(BmpDecoderTest, everyDepthImageMagickWritesMatchesItsDecode) {
  const MagickSources& sources = magickSources();
  struct Variant {
    const char* options;
    const char* name;
    int bits;
  };
  const Variant variants[] = {
      {"-type Palette -monochrome", "bmp3:one.bmp", 1},
      {"-colors 16 -type Palette -compress none", "bmp3:four.bmp", 4},
      {"-type Palette -compress none", "bmp3:eight.bmp", 8},
      {"-type Palette -compress RLE", "bmp3:eightrle.bmp", 8},
      {"-define bmp:subtype=RGB555", "fifteen.bmp", 24},
      {"-define bmp:subtype=RGB565", "sixteen.bmp", 24},
      {"", "bmp3:plain.bmp", 24},
      {"", "v5header.bmp", 24},
  };
  for (const Variant& variant : variants) {
    const DecodedImage image = convertAndCompare(sources.opaque, variant.options, variant.name);
    EXPECT_EQ(image.bitsPerPixel(), variant.bits) << variant.name;
    EXPECT_FALSE(image.hasAlpha()) << variant.name;
  }
}

TEST_F(BmpDecoderTest, thirtyTwoBitsWithAnAlphaMaskKeepTheirAlpha) {
  const DecodedImage image = convertAndCompare(magickSources().translucent, "", "alpha.bmp");
  ASSERT_TRUE(image.hasAlpha());
  EXPECT_EQ(packedAlpha(image), magickAlpha(folder_.path("alpha.bmp")));
  // The plain 40-byte header has no alpha mask, so its fourth bytes are not alpha.
  const DecodedImage plain = convertAndCompare(magickSources().translucent, "", "bmp3:plain32.bmp");
  EXPECT_FALSE(plain.hasAlpha());
}

TEST_F(BmpDecoderTest, topDownRowsAreTurnedBottomUp) {
  ASSERT_TRUE(runConvert("'" + magickSources().opaque + "' bmp3:'" + folder_.path("bottomup.bmp") + "'"));
  std::vector<uint8_t> bytes = readFileBytes(folder_.path("bottomup.bmp"));
  const uint32_t offset = getU32(bytes, 10);
  const size_t rowBytes = ((37 * 24 + 31) / 32) * 4;
  std::vector<uint8_t> flipped(bytes.begin(), bytes.begin() + offset);
  for (int row = 22; row >= 0; --row) {
    flipped.insert(flipped.end(), bytes.begin() + offset + row * rowBytes, bytes.begin() + offset + (row + 1) * rowBytes);
  }
  putU32(flipped, 22, static_cast<uint32_t>(-23));
  const DecodedImage topDown = expectMatchesImageMagick(write("topdown.bmp", flipped));
  DecodedImage bottomUp;
  std::string error;
  ASSERT_TRUE(decodeFile(folder_.path("bottomup.bmp"), bottomUp, error));
  EXPECT_EQ(packedBgr(topDown), packedBgr(bottomUp));
}

// Runs, literal groups with their 16-bit padding, a jump, row ends and the bitmap end.
TEST_F(BmpDecoderTest, runLengthFourAndEightBitsCoverEveryEscape) {
  const std::vector<uint8_t> fourBitStream = {
      0x05, 0x12, 0x00, 0x04, 0x34, 0x56, 0x00, 0x00,  // row 0: 1 2 1 2 1, then 3 4 5 6
      0x00, 0x03, 0x78, 0x90, 0x00, 0x02, 0x02, 0x01,  // row 1: 7 8 9, then 2 right and 1 up
      0x04, 0xab, 0x00, 0x00,                          // row 2 from x = 5: a b a b
      0x09, 0xcd, 0x00, 0x01};                         // row 3: c d c d c d c d c; end
  const DecodedImage four = expectMatchesImageMagick(write("rle4.bmp", bitmapFile(9, 4, 4, 2, sixteenColours(), fourBitStream)));
  EXPECT_EQ(four.bitsPerPixel(), 4);
  EXPECT_EQ(four.indexAt(4, 0), 1);
  EXPECT_EQ(four.indexAt(8, 0), 6);
  EXPECT_EQ(four.indexAt(2, 1), 9);
  EXPECT_EQ(four.indexAt(4, 2), 0);
  EXPECT_EQ(four.indexAt(6, 2), 0xb);
  EXPECT_EQ(four.indexAt(8, 3), 0xc);

  std::vector<uint32_t> palette = sixteenColours();
  const std::vector<uint8_t> eightBitStream = {
      0x03, 0x05, 0x00, 0x03, 0x01, 0x02, 0x03, 0x00, 0x01, 0x09, 0x00, 0x00,  // row 0
      0x00, 0x02, 0x03, 0x01,                                                  // jump to (3, 2)
      0x04, 0x07, 0x00, 0x01};                                                 // row 2: 7 7 7 7
  const DecodedImage eight = expectMatchesImageMagick(write("rle8.bmp", bitmapFile(7, 3, 8, 1, palette, eightBitStream)));
  EXPECT_EQ(eight.indexAt(4, 0), 2);
  EXPECT_EQ(eight.indexAt(6, 0), 9);
  EXPECT_EQ(eight.indexAt(3, 1), 0);
  EXPECT_EQ(eight.indexAt(6, 2), 7);
}

TEST_F(BmpDecoderTest, runsPastTheRowEndAndTheLastRowAreDropped) {
  const std::vector<uint8_t> stream = {0x0c, 0x03, 0x00, 0x00, 0x05, 0x04, 0x00, 0x00, 0x05, 0x08, 0x00, 0x01};
  DecodedImage image;
  std::string error;
  const std::vector<uint8_t> bytes = bitmapFile(3, 2, 8, 1, sixteenColours(), stream);
  ASSERT_TRUE(decodeImage(bytes.data(), bytes.size(), kImageBmp, image, error)) << error;
  EXPECT_EQ(image.indexAt(2, 0), 3);
  EXPECT_EQ(image.indexAt(2, 1), 4);
}

TEST_F(BmpDecoderTest, osTwoCoreHeaderWithThreeBytePalette) {
  // 2 × 2, 4 bits: 14-byte file header, 12-byte core header, 16 palette entries of 3 bytes.
  std::vector<uint8_t> bytes(14 + 12 + 48, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  putU32(bytes, 10, 14 + 12 + 48);
  putU32(bytes, 14, 12);
  putU16(bytes, 18, 2);
  putU16(bytes, 20, 2);
  putU16(bytes, 22, 1);
  putU16(bytes, 24, 4);
  const uint8_t palette[] = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
  std::memcpy(bytes.data() + 26, palette, sizeof(palette));
  const std::vector<uint8_t> rows = {0x12, 0, 0, 0, 0x30, 0, 0, 0};
  bytes.resize(bytes.size() + rows.size());
  std::memcpy(bytes.data() + 14 + 12 + 48, rows.data(), rows.size());
  putU32(bytes, 2, static_cast<uint32_t>(bytes.size()));
  const DecodedImage image = expectMatchesImageMagick(write("core.bmp", bytes));
  EXPECT_EQ(image.pixel(0, 0).b, 255);
  EXPECT_EQ(image.pixel(1, 0).g, 255);
  EXPECT_EQ(image.pixel(0, 1).r, 255);
}

}  // namespace
