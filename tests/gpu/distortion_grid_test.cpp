#include <gtest/gtest.h>

#include <GL/glew.h>

#include "core/random.h"
#include "gpu/distortion_grid.h"
#include "gpu/draw_layer.h"
#include "platform/gl_binding_record.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/offscreen_surface.h"

namespace {

DistortionGrid halfRegionGrid() {
  DistortionGrid grid;
  grid.textureWidth = 512;
  grid.textureHeight = 512;
  grid.regionWidth = 256;
  grid.regionHeight = 512;
  grid.buildGrid();
  return grid;
}

TEST(DistortionGrid, buildPutsPointsAtRestWithFourDrawsEachInOrder) {
  seedRandom(1234);
  const int speedDraw = nextRandom();
  const int signDraw = nextRandom();
  seedRandom(1234);
  const DistortionGrid grid = halfRegionGrid();
  const int drawAfterGrid = nextRandom();

  seedRandom(1234);
  for (int i = 0; i < 4 * kGridPointsPerSide * kGridPointsPerSide; ++i) {
    nextRandom();
  }
  EXPECT_EQ(drawAfterGrid, nextRandom());

  float expected = static_cast<float>(speedDraw % 1000) * 0.001f * 0.5f * 0.5f;
  if (static_cast<float>(signDraw % 1000) * 0.001f > 0.5f) {
    expected = -expected;
  }
  EXPECT_FLOAT_EQ(grid.points[0][0].uSpeed, expected);

  const GridPoint& point = grid.points[3][4];
  EXPECT_FLOAT_EQ(point.x, 1.0f);
  EXPECT_FLOAT_EQ(point.y, 0.75f);
  EXPECT_FLOAT_EQ(point.u, 0.5f);
  EXPECT_FLOAT_EQ(point.uMin, 0.495f);
  EXPECT_FLOAT_EQ(point.vMax, 0.76f);
  EXPECT_EQ(grid.texture, kNoGridTexture);
}

TEST(DistortionGrid, coordinatesStayWithinTheirBoundsOverManyUpdates) {
  seedRandom(99);
  DistortionGrid grid = halfRegionGrid();
  const DistortionGrid rest = grid;
  int moved = 0;
  for (int frame = 0; frame < 5000; ++frame) {
    // Frame deltas up to the 0.1 s clamp, a third of each per update.
    grid.advanceGrid(randomFraction() * 0.1f / 3.0f);
    for (const auto& row : grid.points) {
      for (const GridPoint& point : row) {
        ASSERT_GE(point.u, point.uMin);
        ASSERT_LE(point.u, point.uMax);
        ASSERT_GE(point.v, point.vMin);
        ASSERT_LE(point.v, point.vMax);
      }
    }
  }
  for (int i = 0; i < kGridPointsPerSide; ++i) {
    for (int j = 0; j < kGridPointsPerSide; ++j) {
      moved += grid.points[i][j].u != rest.points[i][j].u ? 1 : 0;
      // A speed drawn as 0 keeps its coordinate at rest for the whole run.
      if (rest.points[i][j].vSpeed == 0.0f) {
        EXPECT_EQ(grid.points[i][j].v, rest.points[i][j].v);
      }
    }
  }
  EXPECT_GT(moved, kGridPointsPerSide * kGridPointsPerSide / 2);
}

TEST(DistortionGrid, aZeroStepMovesNothing) {
  DistortionGrid grid = halfRegionGrid();
  const DistortionGrid rest = grid;
  grid.advanceGrid(0.0f);
  for (int i = 0; i < kGridPointsPerSide; ++i) {
    for (int j = 0; j < kGridPointsPerSide; ++j) {
      EXPECT_EQ(grid.points[i][j].u, rest.points[i][j].u);
      EXPECT_EQ(grid.points[i][j].vSpeed, rest.points[i][j].vSpeed);
    }
  }
}

TEST(DistortionGrid, atRestItShowsTheTextureAcrossTheScreenAndKeepsTheMatrices) {
  REQUIRE_GL_CONTEXT();
  OffscreenSurface surface;
  ASSERT_TRUE(surface.ready());
  DistortionGrid grid;
  grid.textureWidth = grid.textureHeight = grid.regionWidth = grid.regionHeight = 2;
  grid.buildGrid();
  grid.texture = createQuadrantTexture();

  DrawLayer& layer = drawLayer();
  layer.matrixMode(MatrixStack::Projection);
  layer.loadIdentity();
  layer.matrixMode(MatrixStack::ModelView);
  layer.loadIdentity();
  layer.translate(5.0f, 0.0f, 0.0f);
  PassState textured;
  textured.units[0].enabled = true;
  layer.applyPass(textured);
  layer.color(1.0f, 1.0f, 1.0f);
  surface.begin();
  grid.drawGrid(0.0f);
  // The picture drawn from is unbound: it may be the surface drawn into next.
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  surface.end();
  layer.applyPass(PassState());
  EXPECT_EQ(bound, 0);

  EXPECT_EQ(surface.pixel(8, 8).r, 255);
  EXPECT_EQ(surface.pixel(56, 8).g, 255);
  EXPECT_EQ(surface.pixel(8, 56).b, 255);
  EXPECT_EQ(surface.pixel(8, 56).r, 0);
  EXPECT_EQ(surface.pixel(56, 56).r, 255);
  EXPECT_EQ(surface.pixel(56, 56).b, 255);
  EXPECT_FLOAT_EQ(layer.matrix(MatrixStack::ModelView).m[12], 5.0f);
  layer.loadIdentity();
  platform::deleteTextures(1, &grid.texture);
}

}  // namespace
