#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/debug_log.h"
#include "sequence/tween_timeline.h"

namespace {

std::string logText() {
  std::ifstream file(kLogFileName);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(TweenTimeline, tweenRegisteredInsideItsWindowPlaysFromTheNextUpdateWithoutAnImmediateApply) {
  TweenTimeline timeline;
  timeline.update(1.0f);
  float value = -1.0f;
  ASSERT_NE(timeline.addFloatTween(&value, 0.0f, 10.0f, kTweenSawTooth, 0.5f, 3.0f, 2.5f), nullptr);
  EXPECT_EQ(timeline.activeCount(), 1u);
  EXPECT_EQ(value, -1.0f);
  timeline.update(0.5f);
  // Its own clock started at its start time (0.5), not at the timeline's 1.0.
  EXPECT_NEAR(value, 2.0f, 1e-5f);
}

TEST(TweenTimeline, newlyActivatedTweenIsAppliedAtTimelineTimeThenAdvancedAndAppliedAgain) {
  TweenTimeline timeline;
  float value = 0.0f;
  FloatTween* tween = timeline.addFloatTween(&value, 0.0f, 10.0f, kTweenSawTooth, 2.0f, 12.0f, 10.0f);
  timeline.update(0.5f);  // activation pass at 0.5 computes nextStart = 2
  EXPECT_FLOAT_EQ(timeline.nextStart, 2.0f);
  EXPECT_EQ(timeline.waitingCount(), 1u);
  timeline.update(2.0f);  // time 2.5: applied at 2.5, then advanced by 2 more and applied again
  EXPECT_FLOAT_EQ(tween->localTime, 4.5f);
  EXPECT_FLOAT_EQ(value, 2.5f);
  // From now on the tween's clock runs one activation frame ahead of the timeline.
  timeline.update(0.5f);
  EXPECT_FLOAT_EQ(tween->localTime, 5.0f);
  EXPECT_FLOAT_EQ(value, 3.0f);
  EXPECT_FLOAT_EQ(timeline.nextStart, 1000.0f);
}

TEST(TweenTimeline, heldTweenWhoseWindowFallsBetweenFramesIsAppliedOnceAtItsEndValue) {
  TweenTimeline timeline;
  float held = -1.0f;
  float plain = -1.0f;
  timeline.addFloatTween(&held, 0.0f, 5.0f, kTweenSawToothHeld, 1.0f, 1.2f, 0.2f);
  timeline.addFloatTween(&plain, 0.0f, 5.0f, kTweenSawTooth, 1.0f, 1.2f, 0.2f);
  timeline.update(0.5f);
  timeline.update(1.0f);  // time 1.5: both windows are over
  EXPECT_EQ(held, 5.0f);
  EXPECT_EQ(plain, -1.0f);
  EXPECT_EQ(timeline.activeCount(), 0u);
  EXPECT_EQ(timeline.waitingCount(), 2u);

  // A passed tween keeps nextStart behind the clock, so the held one is re-applied every frame.
  held = -1.0f;
  timeline.update(0.1f);
  EXPECT_EQ(held, 5.0f);
  EXPECT_EQ(plain, -1.0f);
}

TEST(TweenTimeline, pingPongHeldAfterItsWindowReturnsToItsSourceWhenTheWindowIsWholeCycles) {
  TweenTimeline timeline;
  float lift = 0.0f;
  timeline.addPingPong(&lift, 0.0f, 5.0f, 20.0f, 23.0f, 0.3f);
  for (int frame = 0; frame < 240; ++frame) {
    timeline.update(0.1f);
  }
  EXPECT_NEAR(lift, 0.0f, 0.05f);
}

TEST(TweenTimeline, vectorMoveIsOneLinearPassEndingOnItsTarget) {
  TweenTimeline timeline;
  Vector3 position;
  VectorTween* move = timeline.addVectorMove(&position, Vector3(0.0f, 0.0f, 0.0f), Vector3(4.0f, 8.0f, 0.0f), 1.0f, 2.0f);
  ASSERT_NE(move, nullptr);
  for (int frame = 0; frame < 20; ++frame) {
    timeline.update(0.1f);
  }
  EXPECT_NEAR(position.x, 2.0f, 0.3f);
  for (int frame = 0; frame < 20; ++frame) {
    timeline.update(0.1f);
  }
  EXPECT_EQ(position.x, 4.0f);
  EXPECT_EQ(position.y, 8.0f);
}

TEST(TweenTimeline, refusesTweensWithoutAPositivePeriodOrATarget) {
  TweenTimeline timeline;
  float value = 3.0f;
  Vector3 vector;
  EXPECT_EQ(timeline.addFloatTween(&value, 0.0f, 1.0f, kTweenSawTooth, 0.0f, 1.0f, 0.0f), nullptr);
  EXPECT_EQ(timeline.addPingPong(&value, 0.0f, 1.0f, 0.0f, 1.0f, -0.2f), nullptr);
  EXPECT_EQ(timeline.addVectorMove(&vector, Vector3(), Vector3(1.0f, 1.0f, 1.0f), 0.0f, 0.0f), nullptr);
  EXPECT_EQ(timeline.addFloatTween(nullptr, 0.0f, 1.0f, kTweenSawTooth, 0.0f, 1.0f, 1.0f), nullptr);
  EXPECT_EQ(timeline.waitingCount() + timeline.activeCount(), 0u);
  timeline.update(0.5f);
  EXPECT_EQ(value, 3.0f);
  EXPECT_NE(logText().find("TweenTimeline: tween with period 0.000000 refused"), std::string::npos);
}

TEST(TweenTimeline, readingAStateBackPlaysEveryTweenAgainFromWhereItWasWritten) {
  TweenTimeline timeline;
  float lift = 0.0f;
  Vector3 place;
  timeline.addPingPong(&lift, 0.0f, 5.0f, 1.0f, 2.0f, 0.5f);
  timeline.addVectorMove(&place, Vector3(0.0f, -10.0f, 0.0f), Vector3(0.0f, 0.0f, 0.0f), 0.5f, 1.0f);
  StateRecord start;
  timeline.writeState(start);

  std::vector<float> lifts;
  std::vector<float> heights;
  for (int frame = 0; frame < 30; ++frame) {
    timeline.update(0.1f);
    lifts.push_back(lift);
    heights.push_back(place.y);
  }

  StateReader reader(start);
  timeline.readState(reader);
  EXPECT_TRUE(reader.atEnd());
  EXPECT_EQ(timeline.time, 0.0f);
  EXPECT_EQ(timeline.waitingCount(), 2u);
  for (int frame = 0; frame < 30; ++frame) {
    timeline.update(0.1f);
    EXPECT_EQ(lift, lifts[frame]) << frame;
    EXPECT_EQ(place.y, heights[frame]) << frame;
  }
  // The same state read back again, and a state written mid-way read back, give the same record.
  StateReader again(start);
  timeline.readState(again);
  EXPECT_EQ(timeline.waitingCount(), 2u);
  for (int frame = 0; frame < 12; ++frame) {
    timeline.update(0.1f);
  }
  StateRecord midway;
  timeline.writeState(midway);
  StateReader fromMidway(midway);
  timeline.readState(fromMidway);
  StateRecord rewritten;
  timeline.writeState(rewritten);
  EXPECT_TRUE(rewritten == midway);
  EXPECT_EQ(timeline.activeCount(), 2u);
}

}  // namespace
