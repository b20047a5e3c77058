#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "image/decoded_image.h"
#include "world/height_grid.h"

namespace {

TEST(HeightGrid, heightQueriesReadTheirPixelAndClampAtOrBeyondTheFarEdges) {
  // 4 × 3 picture, level = 10 × row + column, row 0 at the bottom.
  std::vector<uint8_t> levels;
  for (int z = 0; z < 3; ++z) {
    for (int x = 0; x < 4; ++x) {
      levels.push_back(static_cast<uint8_t>(10 * z + x));
    }
  }
  const HeightGrid grid(4, 3, levels);
  const TerrainBox box{0.0f, 0.0f, 0.0f, 4.0f, 255.0f, 3.0f};
  EXPECT_NEAR(grid.heightAt(box, 0.0f, 0.0f), 0.0f, 1e-4f);
  EXPECT_NEAR(grid.heightAt(box, 2.5f, 1.5f), 12.0f, 1e-4f);
  // The far edges fall one pixel outside the picture: they read the edge pixel.
  EXPECT_NEAR(grid.heightAt(box, 4.0f, 0.0f), 3.0f, 1e-4f);
  EXPECT_NEAR(grid.heightAt(box, 0.0f, 3.0f), 20.0f, 1e-4f);
  EXPECT_NEAR(grid.heightAt(box, 4.0f, 3.0f), 23.0f, 1e-4f);
  EXPECT_NEAR(grid.heightAt(box, 400.0f, 3000.0f), 23.0f, 1e-4f);
  EXPECT_NEAR(grid.heightAt(box, -50.0f, -1.5f), 0.0f, 1e-4f);
  EXPECT_NEAR(grid.heightAt(box, std::nanf(""), 1.5f), 10.0f, 1e-4f);

  const HeightGrid mismatched(4, 4, levels);  // 12 bytes for 16 pixels
  EXPECT_TRUE(mismatched.empty());
  EXPECT_EQ(mismatched.heightAt(box, 1.0f, 1.0f), 0.0f);
}

TEST(HeightGrid, takesTheBlueByteOfEveryPixelWithTheBottomRowFirst) {
  DecodedImage picture;
  std::string error;
  ASSERT_TRUE(picture.create(3, 2, 24, error)) << error;
  picture.setColour(0, 0, 10, 200, 200);
  picture.setColour(2, 0, 30, 0, 0);
  picture.setColour(1, 1, 40, 99, 7);
  const HeightGrid grid = HeightGrid::fromPicture(picture);
  ASSERT_EQ(grid.width(), 3);
  ASSERT_EQ(grid.height(), 2);
  EXPECT_EQ(grid.level(0, 0), 10);
  EXPECT_EQ(grid.level(2, 0), 30);
  EXPECT_EQ(grid.level(1, 1), 40);
  EXPECT_EQ(grid.level(0, 1), 0);
  // Reads outside the picture take the nearest edge pixel.
  EXPECT_EQ(grid.level(7, -3), 30);

  EXPECT_TRUE(HeightGrid::fromPicture(DecodedImage()).empty());
}

}  // namespace
