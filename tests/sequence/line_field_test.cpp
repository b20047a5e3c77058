#include "sequence/line_field.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <vector>

#include "core/random.h"
#include "gpu/draw_layer.h"
#include "platform/message_box.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/private_working_folder.h"

namespace {

// A field laid out by hand: one lane along z (80 long) and one along x (60 long), one segment each.
void layOutByHand(LineField& field) {
  field.laneCountZ = 1;
  field.laneCountX = 1;
  field.segmentsPerLane = 1;
  field.sizeX = 60.0f;
  field.sizeZ = 80.0f;
  field.lanes.resize(2);
  field.segments.resize(2);
  for (int i = 0; i < 2; ++i) {
    field.lanes[i].firstSegment = &field.segments[i];
    field.lanes[i].timer = 10.0f;
    field.segments[i].lane = i;
  }
}

TEST(LineField, segmentsPassingTheLaneEndReenterWithTheRemainderOfTheirOwnLanesLength) {
  LineField field;
  layOutByHand(field);
  field.segments[0].position = 79.0f;
  field.segments[0].speed = 20.0f;
  field.segments[1].position = 59.5f;
  field.segments[1].speed = 10.0f;
  field.update(0.1f);
  EXPECT_NEAR(field.segments[0].position, 1.0f, 1e-4f);  // 81 on an 80-long lane
  EXPECT_NEAR(field.segments[1].position, 0.5f, 1e-4f);  // 60.5 on a 60-long lane

  // A segment exactly at the end stays there; only passing it wraps.
  field.segments[0].position = 78.0f;
  field.update(0.1f);
  EXPECT_NEAR(field.segments[0].position, 80.0f, 1e-4f);
}

TEST(LineField, aLaneWhoseTimerRunsOutKeepsItsPhasesAndOnlyDrawsNewDriftSpeeds) {
  LineField field;
  layOutByHand(field);
  LineLane& lane = field.lanes[0];
  lane.timer = 0.0f;
  lane.phase1 = 2.0f;
  lane.phase2 = -1.0f;
  lane.drift1 = 100.0f;
  lane.drift2 = 100.0f;
  seedRandom(5);
  const float timerDraw = randomFraction();
  const float drift1Draw = randomFraction();
  const float drift2Draw = randomFraction();
  seedRandom(5);
  field.update(0.1f);
  EXPECT_FLOAT_EQ(lane.timer, timerDraw * 3.0f + 1.0f);
  EXPECT_FLOAT_EQ(lane.drift1, drift1Draw * 6.28f);
  EXPECT_FLOAT_EQ(lane.drift2, drift2Draw * 6.28f);
  EXPECT_FLOAT_EQ(lane.phase1, 2.0f + 0.1f * lane.drift1);
  EXPECT_FLOAT_EQ(lane.phase2, -1.0f + 0.1f * lane.drift2);

  // The other lane's timer had time left: it counts down and its drift stays.
  EXPECT_FLOAT_EQ(field.lanes[1].timer, 9.9f);
  EXPECT_EQ(field.lanes[1].drift1, 0.0f);
}

TEST(LineField, buildDrawsEveryLaneShapeBeforeAnySegmentAndLaysTheLanesOverTheBoxEvenWithoutGround) {
  PrivateWorkingFolder folder;  // no height picture here: the field is flat
  seedRandom(11);
  std::vector<float> draws(8 * 5 + 4);
  for (float& draw : draws) {
    draw = randomFraction();
  }
  seedRandom(11);
  LineField field;
  field.build(TerrainBox{-40.0f, -15.0f, -40.0f, 40.0f, 15.0f, 40.0f}, 4, 4, 20);

  ASSERT_EQ(field.lanes.size(), 8u);
  ASSERT_EQ(field.segments.size(), 160u);
  EXPECT_FLOAT_EQ(field.spacingX, 20.0f);
  EXPECT_FLOAT_EQ(field.spacingZ, 20.0f);
  const LineLane& first = field.lanes[0];
  EXPECT_FLOAT_EQ(first.amplitude1, draws[0] * 20.0f * 0.99f);
  EXPECT_FLOAT_EQ(first.amplitude2, draws[1] * 20.0f * 0.99f);
  EXPECT_FLOAT_EQ(first.frequency1, (draws[2] * 12.0f + 6.284f) / 80.0f);
  EXPECT_FLOAT_EQ(first.frequency2, (draws[3] * 12.0f + 6.284f) / 80.0f);
  // The closing first step of 0.01 s counted the timer down.
  EXPECT_NEAR(first.timer, draws[4] * 5.0f - 0.01f, 1e-5f);
  EXPECT_FLOAT_EQ(field.lanes[1].amplitude1, draws[5] * 20.0f * 0.99f);

  const LineSegment& segment = field.segments[0];
  EXPECT_FLOAT_EQ(segment.length, (draws[41] + 0.3f) * 4.0f);
  EXPECT_FLOAT_EQ(segment.width, (draws[42] + 0.3f) * 0.8f);
  EXPECT_FLOAT_EQ(segment.speed, (draws[43] + 1.0f) * 15.0f);
  EXPECT_NEAR(segment.position, 80.0f * draws[40] + 0.01f * segment.speed, 1e-4f);
  EXPECT_EQ(field.segments[20].lane, 1);
  EXPECT_EQ(field.lanes[7].firstSegment, &field.segments[140]);
  EXPECT_EQ(field.box.xMin, -40.0f);
  EXPECT_EQ(field.heightAt(0.0f, 0.0f), 0.0f);

  // Counts of nothing leave the field without lanes instead of dividing by zero.
  LineField empty;
  empty.build(TerrainBox{-40.0f, -15.0f, -40.0f, 40.0f, 15.0f, 40.0f}, 0, 4, 20);
  EXPECT_TRUE(empty.lanes.empty());
  EXPECT_TRUE(empty.segments.empty());
  empty.update(0.1f);
}

// The lines' pass reaches the driver whatever an earlier pass left: here blending that would
// overwrite and lighting that would darken.
TEST(LineField, withTheLinesOffDrawingStillStatesItsBlendAndAlphaPass) {
  REQUIRE_GL_CONTEXT();
  LineField field;
  layOutByHand(field);
  ASSERT_FALSE(field.lines.enabled());
  PassState earlier;
  earlier.blend = true;
  earlier.lighting = true;
  drawLayer().applyPass(earlier);
  field.draw();
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  GLint source = 0;
  GLint destination = 0;
  GLint alphaFunction = 0;
  GLfloat alphaReference = 0.0f;
  glGetIntegerv(GL_BLEND_SRC, &source);
  glGetIntegerv(GL_BLEND_DST, &destination);
  glGetIntegerv(GL_ALPHA_TEST_FUNC, &alphaFunction);
  glGetFloatv(GL_ALPHA_TEST_REF, &alphaReference);
  EXPECT_EQ(source, GL_SRC_ALPHA);
  EXPECT_EQ(destination, GL_DST_COLOR);
  EXPECT_EQ(alphaFunction, GL_GREATER);
  EXPECT_NEAR(alphaReference, 0.1f, 1e-6f);
  drawLayer().applyPass(PassState{});
}

}  // namespace
