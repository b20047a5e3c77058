#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/image_decoder.h"
#include "tests/support/image_magick.h"

namespace {

class JpegDecoderTest : public testing::Test {
 protected:
  void SetUp() override { REQUIRE_IMAGEMAGICK(); }
  ScratchFolder folder_;
};

// ImageMagick decodes through the same libjpeg-turbo with the same settings (integer DCT,
// smooth upsampling), so the pixels agree exactly.
TEST_F(JpegDecoderTest, colourGreyAndProgressiveFilesMatchImageMagickExactly) {
  struct Variant {
    const char* options;
    const char* name;
    int bits;
  };
  const Variant variants[] = {
      {"-quality 90", "colour.jpg", 24},
      {"-quality 75 -sampling-factor 1x1", "full.jpg", 24},
      {"-sampling-factor 2x1", "half.jpg", 24},
      {"-colorspace Gray", "grey.jpg", 8},
      {"-interlace JPEG", "progressive.jpg", 24},
      {"-colorspace Gray -interlace JPEG", "greyprogressive.jpg", 8},
  };
  for (const Variant& variant : variants) {
    const std::string file = folder_.path(variant.name);
    ASSERT_TRUE(runConvert("'" + magickSources().opaque + "' " + variant.options + " '" + file + "'"));
    const DecodedImage image = expectMatchesImageMagick(file);
    EXPECT_EQ(image.bitsPerPixel(), variant.bits) << variant.name;
    EXPECT_FALSE(image.hasAlpha());
  }
}

TEST_F(JpegDecoderTest, truncatedAndUnsupportedFilesFail) {
  const std::string file = folder_.path("whole.jpg");
  ASSERT_TRUE(runConvert("'" + magickSources().opaque + "' '" + file + "'"));
  const std::vector<uint8_t> bytes = readFileBytes(file);
  DecodedImage image;
  std::string error;
  for (const size_t length : {size_t{3}, size_t{100}, bytes.size() - 40}) {
    EXPECT_FALSE(decodeImage(bytes.data(), length, kImageJpeg, image, error)) << length;
    EXPECT_FALSE(error.empty());
  }
  const std::string cmyk = folder_.path("cmyk.jpg");
  ASSERT_TRUE(runConvert("'" + magickSources().opaque + "' -colorspace CMYK '" + cmyk + "'"));
  const std::vector<uint8_t> cmykBytes = readFileBytes(cmyk);
  EXPECT_FALSE(decodeImage(cmykBytes.data(), cmykBytes.size(), kImageJpeg, image, error));
}

}  // namespace
