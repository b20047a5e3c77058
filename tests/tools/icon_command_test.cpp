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
  EXPECT_NE(said.find("icon: " + path + " not written"), std::string::npos) << said;
  EXPECT_NE(said.find(": No such file or directory"), std::string::npos) << said;
}

}  // namespace
