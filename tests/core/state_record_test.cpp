#include "core/state_record.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(StateRecord, valuesComeBackInTheOrderTheyWentInAndRecordsCompareWhole) {
  StateRecord record;
  record.write(3.5f);
  record.writeAll(std::vector<int32_t>{7, 8, 9});
  record.write(static_cast<uint8_t>(1));

  StateReader reader(record);
  float first = 0.0f;
  std::vector<int32_t> values;
  uint8_t last = 0;
  EXPECT_TRUE(reader.read(first));
  EXPECT_TRUE(reader.readAll(values));
  EXPECT_TRUE(reader.read(last));
  EXPECT_EQ(first, 3.5f);
  EXPECT_EQ(values, (std::vector<int32_t>{7, 8, 9}));
  EXPECT_EQ(last, 1);
  EXPECT_TRUE(reader.atEnd());
  EXPECT_FALSE(reader.failed());

  StateRecord other;
  other.write(3.5f);
  EXPECT_TRUE(other != record);
}

// A reader and a writer that disagree never read outside the record, nor allocate what a count
// claims beyond what is there.
TEST(StateRecord, readingPastTheEndOrALyingCountFailsAndLeavesTheValue) {
  StateRecord record;
  record.write(static_cast<uint16_t>(5));
  StateReader reader(record);
  uint32_t tooWide = 77;
  EXPECT_FALSE(reader.read(tooWide));
  EXPECT_EQ(tooWide, 77u);
  EXPECT_TRUE(reader.failed());

  StateRecord lying;
  lying.write(static_cast<uint64_t>(1) << 60);
  lying.write(1.0f);
  StateReader counted(lying);
  std::vector<float> values;
  EXPECT_FALSE(counted.readAll(values));
  EXPECT_TRUE(values.empty());
}

}  // namespace
