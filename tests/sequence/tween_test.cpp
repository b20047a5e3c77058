#include <gtest/gtest.h>

#include "sequence/tween.h"

namespace {

TEST(Tween, pingPongRisesToTheEndValueAtHalfCycleAndFallsBack) {
  float value = 0.0f;
  // 30.05 is not exact in 32 bits; the offset from the start is what counts.
  for (const float start : {0.0f, 30.0f}) {
    const FloatTween tween(&value, 50.0f, 65.0f, kTweenPingPongHeld, start, start + 3.0f, 0.2f);
    EXPECT_NEAR(tween.evaluate(start + 0.05f), 57.5f, 1e-3f) << "start " << start;
    EXPECT_NEAR(tween.evaluate(start + 0.1f), 65.0f, 1e-3f) << "start " << start;
    EXPECT_NEAR(tween.evaluate(start + 0.15f), 57.5f, 1e-3f) << "start " << start;
    EXPECT_NEAR(tween.evaluate(start + 0.2f), 50.0f, 1e-3f) << "start " << start;
  }
}

TEST(Tween, sawToothEndsExactlyOnItsTargetAndStartsExactlyOnItsSource) {
  float value = 0.0f;
  const FloatTween tween(&value, 0.3f, 7.7f, kTweenSawTooth, 1.0f, 2.7f, 1.7f);
  EXPECT_EQ(tween.evaluate(0.0f), 0.3f);
  EXPECT_EQ(tween.evaluate(1.0f), 0.3f);
  EXPECT_EQ(tween.evaluate(2.7f), 7.7f);
  EXPECT_EQ(tween.evaluate(100.0f), 7.7f);
  EXPECT_GT(tween.evaluate(2.69f), 7.6f);
  EXPECT_LT(tween.evaluate(2.69f), 7.7f);
}

TEST(Tween, vectorTweenBlendsAllFourComponentsAndApplyWritesTheTarget) {
  Vector3 value;
  VectorTween tween(&value, Vector3(0.0f, 10.0f, -4.0f, 1.0f), Vector3(2.0f, 20.0f, 4.0f, 0.0f), kTweenSawTooth,
                    0.0f, 1.0f, 1.0f);
  EXPECT_FALSE(tween.held);
  tween.advance(0.5f);
  tween.apply();
  EXPECT_FLOAT_EQ(value.x, 1.0f);
  EXPECT_FLOAT_EQ(value.y, 15.0f);
  EXPECT_FLOAT_EQ(value.z, 0.0f);
  EXPECT_FLOAT_EQ(value.w, 0.5f);
}

}  // namespace
