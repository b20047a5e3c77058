#include "tools/icon_picture.h"

#include <gtest/gtest.h>

#include "tests/tools/baker_test_support.h"
#include "tools/icon_command.h"

using namespace baker;

namespace {

float brightness(const Colour& colour) { return (colour.r + colour.g + colour.b) / 3.0f; }

// The icon must read at a glance: a bright fireball in the middle of a landscape that shows at
// the edges, not a black or washed-out square.
TEST(IconPictureTest, aBrightMiddleOverTheLandscapeSeenToTheEdges) {
  const BakedPicture icon = paintIcon();
  ASSERT_EQ(icon.width(), kIconSize);
  ASSERT_EQ(icon.height(), kIconSize);
  ASSERT_EQ(icon.channels(), 3);
  const float middle = brightness(icon.get(kIconSize / 2, kIconSize / 2));
  const int corners[4][2] = {{2, 2}, {kIconSize - 3, 2}, {2, kIconSize - 3}, {kIconSize - 3, kIconSize - 3}};
  for (const auto& corner : corners) {
    const float edge = brightness(icon.get(corner[0], corner[1]));
    EXPECT_GT(edge, 0.05f) << "corner " << corner[0] << "," << corner[1] << " is black";
    EXPECT_GT(middle, edge + 0.2f);
  }
}

TEST(IconCommandTest, writesA256PixelPngAndRefusesBadArguments) {
  bakertest::TemporaryFolder folder("icon");
  std::string path = folder.file("icon.png");
  char* arguments[] = {path.data()};
  ASSERT_EQ(runIconCommand(1, arguments), 0);
  EXPECT_EQ(bakertest::identifyPicture(path), "256 256 sRGB");

  std::string unwritable = folder.file("no-such-folder/icon.png");
  char* unwritableArguments[] = {unwritable.data()};
  EXPECT_EQ(runIconCommand(1, unwritableArguments), 1);
  EXPECT_EQ(runIconCommand(0, arguments), 2);
  char option[] = "--size";
  char* optionArguments[] = {option};
  EXPECT_EQ(runIconCommand(1, optionArguments), 2);
}

}  // namespace
