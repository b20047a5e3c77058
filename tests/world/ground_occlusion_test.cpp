#include "world/ground_occlusion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gpu/draw_layer.h"
#include "tests/support/gl_test_context.h"
#include "tests/world/plain_view.h"
#include "world/terrain.h"

namespace {

const TerrainBox kGroundBox{-200.0f, -20.0f, -200.0f, 200.0f, 44.0f, 200.0f};
// Grey 128 over the box above: the height of the flat ground.
const float kFlatHeight = -20.0f + 64.0f * 0.003921569f * 128.0f;

// Flat ground with a pit at the bottom of the box, x and z from about −16 to 16.
HeightGrid groundWithPit() {
  std::vector<uint8_t> levels(64 * 64, 128);
  for (int z = 29; z <= 34; ++z) {
    for (int x = 29; x <= 34; ++x) {
      levels[static_cast<size_t>(z) * 64 + x] = 0;
    }
  }
  return HeightGrid(64, 64, levels);
}

EyePoint eyeAt(float x, float y, float z) {
  EyePoint view;
  view.eye = Vector3(x, y, z, 0.0f);
  view.nearDistance = 1.0f;
  view.nearReach = 1.26f;
  return view;
}

class GroundOcclusionTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(terrain.buildFromHeights(groundWithPit(), kGroundBox, 6, 6, 10, 10)); }
  bool hiddenFrom(const EyePoint& view, float x0, float y0, float z0, float x1, float y1, float z1) const {
    const float boxMin[3] = {x0, y0, z0};
    const float boxMax[3] = {x1, y1, z1};
    return GroundOcclusion(terrain.cells, view).hides(boxMin, boxMax);
  }
  Terrain terrain;
};

}  // namespace

TEST_F(GroundOcclusionTest, aBoxWhollyUnderTheGroundIsHiddenFromAnEyeAbove) {
  const EyePoint view = eyeAt(100.0f, 80.0f, 100.0f);
  EXPECT_TRUE(GroundOcclusion(terrain.cells, view).eyeClear());
  EXPECT_TRUE(hiddenFrom(view, 50.0f, -5.0f, 50.0f, 55.0f, kFlatHeight - 1.0f, 55.0f));
}

TEST_F(GroundOcclusionTest, aBoxPokingAboveTheLowestGroundAnywhereUnderItIsNotHidden) {
  const EyePoint view = eyeAt(100.0f, 80.0f, 100.0f);
  // Its top above the flat ground.
  EXPECT_FALSE(hiddenFrom(view, 50.0f, -5.0f, 50.0f, 55.0f, kFlatHeight + 0.5f, 55.0f));
  // Under the flat ground, but reaching over the pit's edge, or within a cell of it.
  EXPECT_FALSE(hiddenFrom(view, 10.0f, -5.0f, 10.0f, 30.0f, kFlatHeight - 1.0f, 20.0f));
  EXPECT_FALSE(hiddenFrom(view, 20.0f, -5.0f, -2.0f, 25.0f, kFlatHeight - 1.0f, 2.0f));
  // Near the ground's edge, where the eye could look at it from outside.
  EXPECT_FALSE(hiddenFrom(view, 190.0f, -5.0f, 50.0f, 195.0f, kFlatHeight - 5.0f, 55.0f));
}

TEST_F(GroundOcclusionTest, nothingIsHiddenUnlessTheEyeIsClearOfTheGround) {
  const auto clear = [this](const EyePoint& view) { return GroundOcclusion(terrain.cells, view).eyeClear(); };
  EXPECT_FALSE(clear(eyeAt(100.0f, kFlatHeight - 3.0f, 100.0f)));
  // Above the ground, but nearer to it than the near plane's corners.
  EXPECT_FALSE(clear(eyeAt(100.0f, kFlatHeight + 1.2f, 100.0f)));
  EXPECT_TRUE(clear(eyeAt(100.0f, kFlatHeight + 1.3f, 100.0f)));
  // Down in the pit: clear above its floor, not near its rim, where the flat ground is higher.
  EXPECT_TRUE(clear(eyeAt(0.0f, kFlatHeight - 10.0f, 0.0f)));
  EXPECT_FALSE(clear(eyeAt(16.0f, kFlatHeight - 10.0f, 0.0f)));
  // Outside the ground's extent, and without a near plane.
  EXPECT_FALSE(clear(eyeAt(300.0f, 80.0f, 0.0f)));
  EXPECT_FALSE(hiddenFrom(eyeAt(100.0f, kFlatHeight - 3.0f, 100.0f), 50.0f, -5.0f, 50.0f, 55.0f,
                          kFlatHeight - 10.0f, 55.0f));
}

TEST_F(GroundOcclusionTest, farBoxesMustLieDeeperForTheDepthBufferToTellThemApart) {
  const GroundOcclusion occlusion(terrain.cells, eyeAt(0.0f, 100.0f, 0.0f));
  EXPECT_FLOAT_EQ(occlusion.hiddenMargin(10.0f), 0.05f);
  EXPECT_NEAR(occlusion.hiddenMargin(1000.0f), 16.0f * 1.0e6f / 16777216.0f * 1.26f, 1e-4f);
  // Half a unit under the ground: hidden from 50 units away, not from 780.
  EXPECT_TRUE(hiddenFrom(eyeAt(-150.0f, 40.0f, -150.0f), -180.0f, -5.0f, -180.0f, -175.0f, kFlatHeight - 0.5f,
                         -175.0f));
  EXPECT_FALSE(hiddenFrom(eyeAt(180.0f, 600.0f, 180.0f), -180.0f, -5.0f, -180.0f, -175.0f, kFlatHeight - 0.5f,
                          -175.0f));
}

TEST_F(GroundOcclusionTest, theEyeAndNearPlaneAreTakenFromTheCurrentMatrices) {
  REQUIRE_GL_CONTEXT();
  const auto clearFrom = [this](float eyeY, bool perspective, float viewScale) {
    DrawLayer& layer = drawLayer();
    layer.matrixMode(MatrixStack::Projection);
    layer.pushMatrix();
    layer.loadIdentity();
    if (perspective) {
      layer.perspective(50.0, 1.3, 1.0, 2000.0);
    } else {
      layer.multiplyMatrix(parallelProjection(10.0, 1.0, 2000.0));
    }
    layer.matrixMode(MatrixStack::ModelView);
    layer.pushMatrix();
    layer.loadIdentity();
    layer.scale(viewScale, viewScale, viewScale);
    layer.lookAt(100.0, eyeY, 100.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    const bool clear = GroundOcclusion::fromCurrentMatrices(terrain.cells).eyeClear();
    layer.popMatrix();
    layer.matrixMode(MatrixStack::Projection);
    layer.popMatrix();
    layer.matrixMode(MatrixStack::ModelView);
    return clear;
  };
  // 50° high at aspect 1.3 and depth 1: the near plane's corners are about 1.257 from the eye.
  EXPECT_TRUE(clearFrom(kFlatHeight + 1.3f, true, 1.0f));
  EXPECT_FALSE(clearFrom(kFlatHeight + 1.2f, true, 1.0f));
  EXPECT_FALSE(clearFrom(80.0f, false, 1.0f));
  EXPECT_FALSE(clearFrom(80.0f, true, 2.0f));
}
