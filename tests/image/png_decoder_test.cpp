#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/image_decoder.h"
#include "tests/support/image_magick.h"

namespace {

class PngDecoderTest : public testing::Test {
 protected:
  void SetUp() override { REQUIRE_IMAGEMAGICK(); }
  ScratchFolder folder_;
};

// 16-bit samples are rounded to 8 bits (libpng's accurate scaling), as the reference is.
TEST_F(PngDecoderTest, everyColourTypeAndDepthMatchesImageMagick) {
  struct Variant {
    bool deepSource;
    bool translucentSource;
    const char* options;
    const char* name;
    int bits;
    bool alpha;
  };
  const Variant variants[] = {
      {false, false, "", "png24:colour.png", 24, false},
      {true, false, "", "png48:deep.png", 24, false},
      {false, true, "", "png32:alpha.png", 24, true},
      {true, true, "-depth 16", "png64:deepalpha.png", 24, true},
      {false, false, "", "png8:palette.png", 8, false},
      {false, true, "", "png8:palettealpha.png", 8, true},
      {false, false, "-colorspace Gray -depth 8", "grey.png", 8, false},
      {true, false, "-colorspace Gray", "deepgrey.png", 8, false},
      {false, false, "-monochrome", "mono.png", 8, false},
      {false, true, "-colorspace Gray -type GrayscaleAlpha", "greyalpha.png", 24, true},
      {false, false, "-interlace PNG", "interlaced.png", 24, false},
  };
  for (const Variant& variant : variants) {
    const std::string name = variant.name;
    const MagickSources& sources = magickSources();
    const std::string& source =
        variant.translucentSource ? sources.translucent : (variant.deepSource ? sources.deep : sources.opaque);
    const std::string file = convertInto(folder_, source, variant.options, name);
    ASSERT_FALSE(file.empty()) << name;
    const DecodedImage image = expectMatchesImageMagick(file);
    EXPECT_EQ(image.bitsPerPixel(), variant.bits) << name;
    EXPECT_EQ(image.hasAlpha(), variant.alpha) << name;
    if (variant.alpha) {
      EXPECT_EQ(packedAlpha(image), magickAlpha(file)) << name;
    }
  }
}

TEST_F(PngDecoderTest, truncatedFilesAndOversizedHeadersFail) {
  const std::string file = folder_.path("whole.png");
  ASSERT_TRUE(runConvert("'" + magickSources().opaque + "' '" + file + "'"));
  std::vector<uint8_t> bytes = readFileBytes(file);
  DecodedImage image;
  std::string error;
  EXPECT_FALSE(decodeImage(bytes.data(), bytes.size() / 2, kImagePng, image, error));
  EXPECT_FALSE(error.empty());
  // Width 100000 in the header: refused before libpng allocates anything.
  bytes[16] = 0;
  bytes[17] = 0x01;
  bytes[18] = 0x86;
  bytes[19] = 0xa0;
  EXPECT_FALSE(decodeImage(bytes.data(), bytes.size(), kImagePng, image, error));
  EXPECT_EQ(error.rfind("picture size 100000 x ", 0), 0u) << "the message names the stated width: " << error;
}

}  // namespace
