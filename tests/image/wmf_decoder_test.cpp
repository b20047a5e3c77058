#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/image_decoder.h"

namespace {

void putU16(std::vector<uint8_t>& bytes, uint32_t value) {
  bytes.push_back(static_cast<uint8_t>(value));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void putU32(std::vector<uint8_t>& bytes, uint32_t value) {
  putU16(bytes, value & 0xffff);
  putU16(bytes, value >> 16);
}

void record(std::vector<uint8_t>& bytes, uint16_t function, const std::vector<uint16_t>& parameters) {
  putU32(bytes, static_cast<uint32_t>(3 + parameters.size()));
  putU16(bytes, function);
  for (const uint16_t parameter : parameters) {
    putU16(bytes, parameter);
  }
}

// A placeable metafile of 200 × 100 units at 96 units per inch: a red rectangle without outline
// over the left half of the top half.
std::vector<uint8_t> redCornerMetafile() {
  std::vector<uint8_t> records;
  record(records, 0x020b, {0, 0});                    // window origin y, x
  record(records, 0x020c, {100, 200});                // window extent y, x
  record(records, 0x02fc, {0, 0x00ff, 0x0000, 0});    // solid brush, colour 0x000000ff (red)
  record(records, 0x012d, {0});                       // select the brush
  record(records, 0x02fa, {5, 0, 0, 0, 0});           // null pen
  record(records, 0x012d, {1});                       // select the pen
  record(records, 0x041b, {50, 100, 0, 0});           // rectangle bottom, right, top, left
  record(records, 0x0000, {});                        // end of file
  std::vector<uint8_t> bytes;
  putU32(bytes, 0x9ac6cdd7u);
  putU16(bytes, 0);
  for (const uint16_t value : {0, 0, 200, 100, 96}) {
    putU16(bytes, value);
  }
  putU32(bytes, 0);
  uint16_t checksum = 0;
  for (size_t i = 0; i < bytes.size(); i += 2) {
    checksum ^= static_cast<uint16_t>(bytes[i] | (bytes[i + 1] << 8));
  }
  putU16(bytes, checksum);
  // The metafile header: disk file, 9 words, version 3, size in words, 2 objects, largest record.
  putU16(bytes, 1);
  putU16(bytes, 9);
  putU16(bytes, 0x0300);
  putU32(bytes, static_cast<uint32_t>((18 + records.size()) / 2));
  putU16(bytes, 2);
  putU32(bytes, 8);
  putU16(bytes, 0);
  bytes.insert(bytes.end(), records.begin(), records.end());
  return bytes;
}

TEST(WmfDecoder, placeableMetafilesAreDrawnAtScreenResolution) {
  const std::vector<uint8_t> bytes = redCornerMetafile();
  DecodedImage image;
  std::string error;
#if defined(DEMO_HAVE_LIBWMF)
  ASSERT_TRUE(decodeImage(bytes.data(), bytes.size(), kImageWmf, image, error)) << error;
  EXPECT_EQ(image.width(), 200);
  EXPECT_EQ(image.height(), 100);
  EXPECT_EQ(image.bitsPerPixel(), 24);
  EXPECT_FALSE(image.hasAlpha());
  // y = 0 is the bottom row: the rectangle covers the top-left quarter, white behind it.
  const DecodedImage::Bgra inside = image.pixel(10, 90);
  EXPECT_EQ(inside.r, 255);
  EXPECT_EQ(inside.g, 0);
  EXPECT_EQ(inside.b, 0);
  const DecodedImage::Bgra outside = image.pixel(150, 10);
  EXPECT_EQ(outside.r + outside.g + outside.b, 3 * 255);
  EXPECT_EQ(image.pixel(10, 10).g, 255);
  EXPECT_EQ(image.pixel(150, 90).g, 255);
#else
  EXPECT_FALSE(decodeImage(bytes.data(), bytes.size(), kImageWmf, image, error));
  EXPECT_NE(error.find("not supported"), std::string::npos);
#endif
}

TEST(WmfDecoder, truncatedOrNonPlaceableMetafilesAreRefused) {
  const std::vector<uint8_t> placeable = redCornerMetafile();
  const std::vector<uint8_t> bare(placeable.begin() + 22, placeable.end());
  DecodedImage image;
  std::string error;
  EXPECT_FALSE(decodeImage(bare.data(), bare.size(), kImageWmf, image, error));
  EXPECT_EQ(error, "not a WMF file");
  std::vector<uint8_t> noInch = placeable;
  noInch[14] = 0;
  noInch[15] = 0;
  EXPECT_FALSE(decodeImage(noInch.data(), noInch.size(), kImageWmf, image, error));
  for (size_t length = 22; length < placeable.size(); length += 7) {
    const std::vector<uint8_t> prefix(placeable.begin(), placeable.begin() + static_cast<long>(length));
    EXPECT_FALSE(decodeImage(prefix.data(), prefix.size(), kImageWmf, image, error)) << length;
  }
}

}  // namespace
