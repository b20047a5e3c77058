#include <gtest/gtest.h>

#include "tests/tools/baker_test_support.h"
#include "tools/baked_picture.h"
#include "tools/jpeg_writer.h"

using namespace baker;

namespace {

BakedPicture gradient(int channels) {
  BakedPicture picture(40, 24, channels);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      picture.set(x, y, {x / 40.0f, y / 24.0f, 0.5f});
    }
  }
  return picture;
}

TEST(JpegWriterTest, greyPicturesHaveOneChannelAndColourOnesThree) {
  bakertest::TemporaryFolder folder("jpeg");
  ASSERT_TRUE(writeJpegFile(folder.file("grey.jpg"), gradient(1), 95));
  ASSERT_TRUE(writeJpegFile(folder.file("colour.jpg"), gradient(3), 95));
  EXPECT_EQ(bakertest::identifyPicture(folder.file("grey.jpg")), "40 24 Gray");
  EXPECT_EQ(bakertest::identifyPicture(folder.file("colour.jpg")), "40 24 sRGB");
}

TEST(JpegWriterTest, keepsRowsTopFirstAndValuesClose) {
  bakertest::TemporaryFolder folder("jpeg_rows");
  BakedPicture picture(16, 16, 1);
  for (int x = 0; x < 16; ++x) {
    for (int y = 0; y < 8; ++y) {
      picture.setGrey(x, y, 1.0f);  // the top half white
    }
  }
  ASSERT_TRUE(writeJpegFile(folder.file("half.jpg"), picture, 98));
  // ImageMagick's mean of the top and bottom rows.
  const std::string top = bakertest::commandOutput("convert '" + folder.file("half.jpg") +
                                                   "' -crop 16x4+0+0 -format '%[fx:round(255*mean)]' info:");
  const std::string bottom = bakertest::commandOutput("convert '" + folder.file("half.jpg") +
                                                      "' -crop 16x4+0+12 -format '%[fx:round(255*mean)]' info:");
  EXPECT_GE(std::stoi(top), 250);
  EXPECT_LE(std::stoi(bottom), 5);
}

TEST(JpegWriterTest, samePictureGivesSameBytes) {
  bakertest::TemporaryFolder folder("jpeg_same");
  ASSERT_TRUE(writeJpegFile(folder.file("a.jpg"), gradient(3), 90));
  ASSERT_TRUE(writeJpegFile(folder.file("b.jpg"), gradient(3), 90));
  EXPECT_EQ(bakertest::fileBytes(folder.file("a.jpg")), bakertest::fileBytes(folder.file("b.jpg")));
}

TEST(JpegWriterTest, reportsAFolderThatDoesNotExistWithTheReason) {
  testing::internal::CaptureStderr();
  EXPECT_FALSE(writeJpegFile("/nonexistent-folder/picture.jpg", gradient(3), 90));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "orvo-gl-tool: jpeg writer: cannot write /nonexistent-folder/picture.jpg (No such file or directory)\n");
}

}  // namespace
