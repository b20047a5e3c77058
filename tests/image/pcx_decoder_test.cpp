#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/image_decoder.h"
#include "tests/support/image_magick.h"

namespace {

// PCX run-length coding over the whole stream, so runs may continue into the next line.
std::vector<uint8_t> runLengthEncoded(const std::vector<uint8_t>& plain) {
  std::vector<uint8_t> coded;
  size_t i = 0;
  while (i < plain.size()) {
    size_t run = 1;
    while (i + run < plain.size() && plain[i + run] == plain[i] && run < 63) {
      ++run;
    }
    if (run > 1 || plain[i] >= 0xc0) {
      coded.push_back(static_cast<uint8_t>(0xc0 | run));
    }
    coded.push_back(plain[i]);
    i += run;
  }
  return coded;
}

std::vector<uint8_t> pcxFile(int bitsPerPlane, int planes, int width, int height, int bytesPerLine,
                             const std::vector<uint8_t>& lines) {
  std::vector<uint8_t> bytes(128, 0);
  bytes[0] = 0x0a;
  bytes[1] = 5;
  bytes[2] = 1;
  bytes[3] = static_cast<uint8_t>(bitsPerPlane);
  bytes[8] = static_cast<uint8_t>(width - 1);
  bytes[10] = static_cast<uint8_t>(height - 1);
  // Sixteen distinct header palette colours.
  for (int i = 0; i < 16; ++i) {
    bytes[16 + 3 * i] = static_cast<uint8_t>(i * 16);
    bytes[17 + 3 * i] = static_cast<uint8_t>(255 - i * 13);
    bytes[18 + 3 * i] = static_cast<uint8_t>(i * 53);
  }
  bytes[65] = static_cast<uint8_t>(planes);
  bytes[66] = static_cast<uint8_t>(bytesPerLine);
  bytes[68] = 1;
  const std::vector<uint8_t> coded = runLengthEncoded(lines);
  bytes.insert(bytes.end(), coded.begin(), coded.end());
  return bytes;
}

// Lines of a 10 × 3 picture with index (x + 2y) % 16, stored top line first.
int patternIndex(int x, int topRow) { return (x + 2 * topRow) % 16; }

class PcxDecoderTest : public testing::Test {
 protected:
  void SetUp() override { REQUIRE_IMAGEMAGICK(); }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) { return folder_.write(name, bytes); }
  ScratchFolder folder_;
};

TEST_F(PcxDecoderTest, paletteTrueColourAndAlphaPlanesMatchImageMagick) {
  struct Variant {
    const char* source;
    const char* options;
    const char* name;
    int bits;
    bool alpha;
  };
  const Variant variants[] = {{magickSources().opaque.c_str(), "-type Palette", "palette.pcx", 8, false},
                              {magickSources().opaque.c_str(), "", "true.pcx", 24, false},
                              {magickSources().translucent.c_str(), "", "alpha.pcx", 24, true}};
  for (const Variant& variant : variants) {
    const std::string file = folder_.path(variant.name);
    ASSERT_TRUE(runConvert(std::string("'") + variant.source + "' " + variant.options + " '" + file + "'"));
    const DecodedImage image = expectMatchesImageMagick(file);
    EXPECT_EQ(image.bitsPerPixel(), variant.bits) << variant.name;
    EXPECT_EQ(image.hasAlpha(), variant.alpha) << variant.name;
    if (variant.alpha) {
      EXPECT_EQ(packedAlpha(image), magickAlpha(file));
    }
  }
}

// Set bits are white whatever the header palette holds, as most readers take them (ImageMagick
// alone shows them black, so it is not the reference here).
TEST_F(PcxDecoderTest, oneBitMonochromeIsBlackAndWhite) {
  // Two lines of 2 bytes: 10101010 00000000, then 11110000 11000000 (10 pixels used).
  const std::vector<uint8_t> lines = {0xaa, 0x00, 0xf0, 0xc0};
  const std::vector<uint8_t> bytes = pcxFile(1, 1, 10, 2, 2, lines);
  DecodedImage image;
  std::string error;
  ASSERT_TRUE(decodeImage(bytes.data(), bytes.size(), kImagePcx, image, error)) << error;
  EXPECT_EQ(image.bitsPerPixel(), 1);
  EXPECT_EQ(image.pixel(0, 1).r, 255);
  EXPECT_EQ(image.pixel(1, 1).r, 0);
  EXPECT_EQ(image.pixel(9, 0).g, 255);
}

TEST_F(PcxDecoderTest, sixteenColoursPlanarOrPackedUseTheHeaderPalette) {
  std::vector<uint8_t> planar;
  std::vector<uint8_t> packed;
  for (int row = 0; row < 3; ++row) {
    for (int plane = 0; plane < 4; ++plane) {
      uint8_t bytes[2] = {0, 0};
      for (int x = 0; x < 10; ++x) {
        if ((patternIndex(x, row) >> plane) & 1) {
          bytes[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
      }
      planar.insert(planar.end(), bytes, bytes + 2);
    }
    for (int x = 0; x < 10; x += 2) {
      packed.push_back(static_cast<uint8_t>(patternIndex(x, row) << 4 | patternIndex(x + 1, row)));
    }
    packed.push_back(0);
  }
  const DecodedImage fromPlanes = expectMatchesImageMagick(write("planar.pcx", pcxFile(1, 4, 10, 3, 2, planar)));
  EXPECT_EQ(fromPlanes.bitsPerPixel(), 4);
  EXPECT_EQ(fromPlanes.indexAt(7, 0), patternIndex(7, 2));
  EXPECT_EQ(fromPlanes.pixel(3, 2).r, 3 * 16);
  DecodedImage fromNibbles;
  std::string error;
  const std::vector<uint8_t> bytes = pcxFile(4, 1, 10, 3, 6, packed);
  ASSERT_TRUE(decodeImage(bytes.data(), bytes.size(), kImagePcx, fromNibbles, error)) << error;
  EXPECT_EQ(packedBgr(fromNibbles), packedBgr(fromPlanes));
}

TEST_F(PcxDecoderTest, runsContinueAcrossLineEnds) {
  // 4 × 4 palette picture whose coded runs span lines; no trailing palette, so grey is used.
  const std::vector<uint8_t> lines(16, 0x80);
  const std::vector<uint8_t> bytes = pcxFile(8, 1, 4, 4, 4, lines);
  ASSERT_EQ(bytes.size(), 128u + 2u);
  DecodedImage image;
  std::string error;
  ASSERT_TRUE(decodeImage(bytes.data(), bytes.size(), kImagePcx, image, error)) << error;
  EXPECT_EQ(image.pixel(3, 0).g, 0x80);
  EXPECT_EQ(image.pixel(0, 3).g, 0x80);
}

}  // namespace
