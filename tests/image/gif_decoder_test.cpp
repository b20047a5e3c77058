#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/image_decoder.h"
#include "tests/support/image_magick.h"

namespace {

class GifDecoderTest : public testing::Test {
 protected:
  void SetUp() override { REQUIRE_IMAGEMAGICK(); }
  ScratchFolder folder_;
};

TEST_F(GifDecoderTest, plainInterlacedAndTwoColourFilesMatchImageMagick) {
  for (const char* options : {"", "-interlace GIF", "-colors 2", "-colors 5"}) {
    const std::string file = folder_.path("picture.gif");
    ASSERT_TRUE(runConvert("'" + magickSources().opaque + "' " + options + " '" + file + "'"));
    const DecodedImage image = expectMatchesImageMagick(file);
    EXPECT_EQ(image.bitsPerPixel(), 8) << options;
    EXPECT_FALSE(image.hasAlpha()) << options;
  }
}

TEST_F(GifDecoderTest, theTransparentColourBecomesAlpha) {
  const std::string file = folder_.path("transparent.gif");
  ASSERT_TRUE(runConvert("'" + magickSources().translucent + "' -channel A -threshold 50% +channel '" + file + "'"));
  const DecodedImage image = expectMatchesImageMagick(file);
  ASSERT_TRUE(image.hasAlpha());
  EXPECT_EQ(packedAlpha(image), magickAlpha(file));
}

TEST_F(GifDecoderTest, onlyTheFirstFrameOfAnAnimationIsDecoded) {
  const std::string file = folder_.path("animation.gif");
  const MagickSources& sources = magickSources();
  ASSERT_TRUE(runConvert("-delay 10 '" + sources.opaque + "' -negate '" + sources.opaque + "' '" + file + "'"));
  expectMatchesImageMagick(file, 0);
  const std::vector<uint8_t> bytes = readFileBytes(file);
  DecodedImage image;
  std::string error;
  EXPECT_FALSE(decodeImage(bytes.data(), bytes.size() / 3, kImageGif, image, error));
}

}  // namespace
