#include <gtest/gtest.h>

#include "image/byte_reader.h"

namespace {

TEST(ByteReader, readsLittleEndianValuesInOrder) {
  const uint8_t bytes[] = {0x01, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xfe, 0xff};
  ByteReader reader(bytes, sizeof(bytes));
  EXPECT_EQ(reader.u8(), 0x01);
  EXPECT_EQ(reader.u16le(), 0x1234);
  EXPECT_EQ(reader.u32le(), 0x12345678u);
  EXPECT_EQ(reader.s16le(), -2);
  EXPECT_FALSE(reader.failed());
  EXPECT_EQ(reader.remaining(), 0u);
}

TEST(ByteReader, readingPastTheEndGivesZerosAndStaysFailed) {
  const uint8_t bytes[] = {0xaa, 0xbb, 0xcc};
  ByteReader reader(bytes, sizeof(bytes));
  EXPECT_EQ(reader.u16le(), 0xbbaa);
  EXPECT_EQ(reader.u32le(), 0u);  // only one byte left: nothing is read
  EXPECT_TRUE(reader.failed());
  EXPECT_EQ(reader.u8(), 0);
  EXPECT_TRUE(reader.seek(0));
  EXPECT_TRUE(reader.failed());
}

TEST(ByteReader, takeSkipAndSeekRefuseRangesBeyondTheEnd) {
  const uint8_t bytes[8] = {};
  ByteReader reader(bytes, sizeof(bytes));
  EXPECT_NE(reader.take(8), nullptr);
  EXPECT_TRUE(reader.seek(8));
  EXPECT_FALSE(reader.failed());
  EXPECT_EQ(reader.take(1), nullptr);
  EXPECT_TRUE(reader.failed());

  ByteReader huge(bytes, sizeof(bytes));
  EXPECT_FALSE(huge.skip(SIZE_MAX));
  ByteReader far(bytes, sizeof(bytes));
  EXPECT_FALSE(far.seek(9));
  uint8_t out[4] = {1, 2, 3, 4};
  ByteReader empty(nullptr, 100);
  EXPECT_FALSE(empty.read(out, 4));
  EXPECT_EQ(out[0] + out[1] + out[2] + out[3], 0);
}

}  // namespace
