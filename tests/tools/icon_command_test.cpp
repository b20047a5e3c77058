#include "tools/icon_command.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/tools/baker_test_support.h"

namespace {

// A build that cannot place its icon must say why, not only that it failed.
TEST(IconCommandTest, anUnwritableFileIsNamedWithTheReason) {
  bakertest::TemporaryFolder folder("icon-unwritable");
  std::string path = folder.file("no-such-folder/icon.png");
  char* arguments[] = {path.data()};
  testing::internal::CaptureStderr();
  EXPECT_EQ(runIconCommand(1, arguments), 1);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.rfind("orvo-gl-tool: icon: " + path + " not written", 0), 0u) << said;
  EXPECT_NE(said.find(": No such file or directory"), std::string::npos) << said;
}

TEST(IconCommandTest, writesEachSizeAsAPngAndRefusesBadArguments) {
  bakertest::TemporaryFolder folder("icon");
  std::string path = folder.file("icon.png");
  char* arguments[] = {path.data()};
  ASSERT_EQ(runIconCommand(1, arguments), 0);
  EXPECT_EQ(bakertest::identifyPicture(path), "256 256 sRGB");
  char sizeOption[] = "--size";
  char sixteen[] = "16";
  char* sizedArguments[] = {path.data(), sizeOption, sixteen};
  ASSERT_EQ(runIconCommand(3, sizedArguments), 0);
  EXPECT_EQ(bakertest::identifyPicture(path), "16 16 sRGB");

  std::string unwritable = folder.file("no-such-folder/icon.png");
  char* unwritableArguments[] = {unwritable.data()};
  EXPECT_EQ(runIconCommand(1, unwritableArguments), 1);
  EXPECT_EQ(runIconCommand(0, arguments), 2);
  char* optionFirst[] = {sizeOption};
  EXPECT_EQ(runIconCommand(1, optionFirst), 2);
  char* sizeWithoutValue[] = {path.data(), sizeOption};
  EXPECT_EQ(runIconCommand(2, sizeWithoutValue), 2);
  for (const char* bad : {"20", "0", "-16", "16px", "", "99999999999"}) {
    std::string value = bad;
    char* badSize[] = {path.data(), sizeOption, value.data()};
    EXPECT_EQ(runIconCommand(3, badSize), 2) << bad;
  }
}

}  // namespace
