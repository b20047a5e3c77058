#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/image_decoder.h"
#include "tests/support/image_magick.h"

namespace {

class TiffDecoderTest : public testing::Test {
 protected:
  void SetUp() override { REQUIRE_IMAGEMAGICK(); }
  DecodedImage convertAndCompare(const std::string& source, const std::string& options, int tolerance = 0) {
    const std::string file = folder_.path("picture.tif");
    EXPECT_TRUE(runConvert("'" + source + "' " + options + " '" + file + "'")) << options;
    return expectMatchesImageMagick(file, 0, tolerance);
  }
  ScratchFolder folder_;
};

TEST_F(TiffDecoderTest, compressionsDepthsAndGreyMatchImageMagick) {
  const MagickSources& sources = magickSources();
  for (const char* options : {"", "-compress LZW", "-compress Zip", "-compress JPEG", "-colorspace Gray",
                              "-monochrome", "-depth 16"}) {
    const DecodedImage image = convertAndCompare(sources.opaque, options);
    EXPECT_EQ(image.bitsPerPixel(), 24) << options;
    EXPECT_FALSE(image.hasAlpha()) << options;
  }
}

// libtiff's reader takes the high byte of 16-bit colour-map entries where ImageMagick rounds.
TEST_F(TiffDecoderTest, paletteFilesAgreeWithinOneLevel) {
  convertAndCompare(magickSources().opaque, "-type Palette", 1);
}

TEST_F(TiffDecoderTest, unassociatedAlphaKeepsExactColours) {
  const DecodedImage image = convertAndCompare(magickSources().translucent, "");
  ASSERT_TRUE(image.hasAlpha());
  EXPECT_EQ(packedAlpha(image), magickAlpha(folder_.path("picture.tif")));
}

// Colours stored multiplied by alpha are divided back; where alpha is small that loses
// precision, so only fairly opaque pixels are compared.
TEST_F(TiffDecoderTest, associatedAlphaIsDividedOut) {
  const std::string file = folder_.path("associated.tif");
  ASSERT_TRUE(runConvert("'" + magickSources().translucent + "' -define tiff:alpha=associated '" + file + "'"));
  DecodedImage image;
  std::string error;
  ASSERT_TRUE(decodeFile(file, image, error)) << error;
  const std::vector<uint8_t> ours = packedBgr(image);
  const std::vector<uint8_t> theirs = magickBgr(file);
  const std::vector<uint8_t> alpha = magickAlpha(file);
  ASSERT_EQ(ours.size(), theirs.size());
  EXPECT_EQ(packedAlpha(image), alpha);
  for (size_t i = 0; i < ours.size(); ++i) {
    if (alpha[i / 3] >= 128) {
      EXPECT_NEAR(ours[i], theirs[i], 1) << i;
    }
  }
}

TEST_F(TiffDecoderTest, truncatedFilesFail) {
  const std::string file = folder_.path("whole.tif");
  ASSERT_TRUE(runConvert("'" + magickSources().opaque + "' '" + file + "'"));
  const std::vector<uint8_t> bytes = readFileBytes(file);
  DecodedImage image;
  std::string error;
  for (const size_t length : {size_t{8}, size_t{200}, bytes.size() / 2}) {
    EXPECT_FALSE(decodeImage(bytes.data(), length, kImageTiff, image, error)) << length;
    EXPECT_FALSE(error.empty()) << length;
  }
}

}  // namespace
