#include <gtest/gtest.h>

#include <string>

#include "image/image_decoder.h"
#include "tests/support/image_magick.h"

namespace {

std::string fixture(const std::string& name) { return std::string(TEST_DATA_DIR) + "/images/" + name; }

TEST(ImageFormatFromFileName, findsTheFirstLookedForTextAnywhereInAnyCase) {
  EXPECT_EQ(imageFormatFromFileName("smoke.jpg"), kImageJpeg);
  EXPECT_EQ(imageFormatFromFileName("SMOKE.Jpg"), kImageJpeg);
  EXPECT_EQ(imageFormatFromFileName("photo.jpeg"), kImageUnknown);
  EXPECT_EQ(imageFormatFromFileName("a.bmp.jpg"), kImageBmp);
  EXPECT_EQ(imageFormatFromFileName("x.png.backup"), kImagePng);
  EXPECT_EQ(imageFormatFromFileName("scan.tiff"), kImageTiff);
  EXPECT_EQ(imageFormatFromFileName("logo.wbmp"), kImageWbmp);
  EXPECT_EQ(imageFormatFromFileName("logo.wbm"), kImageWbmp);
  EXPECT_EQ(imageFormatFromFileName("chart.WMF"), kImageWmf);
  EXPECT_EQ(imageFormatFromFileName("icon.ico"), kImageIco);
  EXPECT_EQ(imageFormatFromFileName("sky.tga"), kImageTga);
  EXPECT_EQ(imageFormatFromFileName("old.pcx"), kImagePcx);
  EXPECT_EQ(imageFormatFromFileName("anim.gif"), kImageGif);
  EXPECT_EQ(imageFormatFromFileName("jpg"), kImageUnknown);
}

TEST(ImageDecoder, refusesUnknownFormatsEmptyFilesAndMislabelledBytes) {
  const std::vector<uint8_t> bitmap = readFileBytes(fixture("good.bmp"));
  DecodedImage image;
  std::string error;
  EXPECT_FALSE(decodeImage(bitmap.data(), bitmap.size(), kImageUnknown, image, error));
  EXPECT_FALSE(decodeImage(bitmap.data(), bitmap.size(), 11, image, error));
  EXPECT_FALSE(decodeImage(nullptr, 0, kImageBmp, image, error));
  EXPECT_EQ(error, "empty file");
  for (const int format : {kImageGif, kImageJpeg, kImagePng, kImageIco, kImageTiff, kImagePcx, kImageWmf}) {
    EXPECT_FALSE(decodeImage(bitmap.data(), bitmap.size(), format, image, error)) << format;
    EXPECT_EQ(error.rfind("not a ", 0), 0u) << error;
    EXPECT_FALSE(image.isValid());
  }
  ASSERT_TRUE(decodeImage(bitmap.data(), bitmap.size(), kImageBmp, image, error)) << error;
  EXPECT_EQ(image.width(), 8);
}

// Each header claims far more pixels than the limits allow; the decode stops at the header.
TEST(ImageDecoder, refusesOversizedPicturesBeforeDecoding) {
  for (const char* name : {"huge.bmp", "huge.tga", "huge.pcx", "huge.wbmp"}) {
    DecodedImage image;
    std::string error;
    EXPECT_FALSE(decodeFile(fixture(name), image, error)) << name;
    EXPECT_NE(error.find("refused"), std::string::npos) << name << ": " << error;
  }
}

// Truncated files and lengths or offsets pointing past the end fail with a reason, and every
// prefix of a good file decodes or fails without reading outside it.
TEST(ImageDecoder, damagedFilesFailWithAReason) {
  const char* damaged[] = {"truncated.bmp", "lying_offset.bmp", "rle_truncated.bmp", "truncated.ico",
                           "lying_entry.ico", "rle_truncated.tga", "lying_colormap.tga", "truncated.pcx",
                           "lying_line_length.pcx", "truncated.wbmp"};
  for (const char* name : damaged) {
    DecodedImage image;
    std::string error;
    EXPECT_FALSE(decodeFile(fixture(name), image, error)) << name;
    EXPECT_FALSE(error.empty()) << name;
    EXPECT_FALSE(image.isValid()) << name;
  }
}

TEST(ImageDecoder, everyPrefixOfAGoodFileIsHandledSafely) {
  for (const char* name : {"good.bmp", "rle.bmp", "good.ico", "good.tga", "good.pcx", "good.wbmp"}) {
    const std::vector<uint8_t> bytes = readFileBytes(fixture(name));
    const int format = imageFormatFromFileName(name);
    for (size_t length = 0; length < bytes.size(); ++length) {
      // A copy of exactly this length, so a read past its end would be caught by the sanitizers.
      const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<long>(length));
      DecodedImage image;
      std::string error;
      if (decodeImage(prefix.data(), prefix.size(), format, image, error)) {
        EXPECT_TRUE(image.isValid());
      }
    }
    DecodedImage whole;
    std::string error;
    EXPECT_TRUE(decodeImage(bytes.data(), bytes.size(), format, whole, error)) << name << ": " << error;
  }
}

}  // namespace
