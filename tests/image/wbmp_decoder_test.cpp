#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/image_decoder.h"
#include "tests/support/image_magick.h"

namespace {

TEST(WbmpDecoder, monochromeFilesMatchImageMagick) {
  REQUIRE_IMAGEMAGICK();
  ScratchFolder folder;
  const std::string file = folder.path("picture.wbmp");
  ASSERT_TRUE(runConvert("'" + magickSources().opaque + "' '" + file + "'"));
  const DecodedImage image = expectMatchesImageMagick(file);
  EXPECT_EQ(image.bitsPerPixel(), 1);
}

TEST(WbmpDecoder, multiByteSizesAndExtensionHeadersAreRead) {
  // Type 0, a fixed header with the extension bit, one extension byte, width 130 (two bytes),
  // height 1, then 17 bytes of pixels: white at x = 0 and x = 129.
  std::vector<uint8_t> bytes = {0x00, 0x80, 0x00, 0x81, 0x02, 0x01};
  std::vector<uint8_t> row(17, 0);
  row[0] = 0x80;
  row[16] = 0x40;
  bytes.insert(bytes.end(), row.begin(), row.end());
  DecodedImage image;
  std::string error;
  ASSERT_TRUE(decodeImage(bytes.data(), bytes.size(), kImageWbmp, image, error)) << error;
  EXPECT_EQ(image.width(), 130);
  EXPECT_EQ(image.pixel(0, 0).r, 255);
  EXPECT_EQ(image.pixel(1, 0).r, 0);
  EXPECT_EQ(image.pixel(129, 0).r, 255);
  bytes[0] = 1;
  EXPECT_FALSE(decodeImage(bytes.data(), bytes.size(), kImageWbmp, image, error));
}

}  // namespace
