#include <gtest/gtest.h>

#include <cmath>

#include "world/path_spline.h"

namespace {

const float kStraight[] = {0.0f, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f};

float distanceBetween(const Vector3& a, const Vector3& b) { return (a - b).length(); }

TEST(PathSpline, straightTwoPointPathIsSampledAboutOneUnitApart) {
  PathSpline path;
  path.setPath(10.0f, 11, 2, kStraight);
  ASSERT_EQ(path.sampleCount(), 11);
  EXPECT_NEAR(path.totalLength(), 10.0f, 0.05f);
  for (int32_t i = 1; i < 11; ++i) {
    EXPECT_NEAR(distanceBetween(path.sample(i), path.sample(i - 1)), 1.0f, 0.05f) << "sample " << i;
    EXPECT_EQ(path.sample(i).y, 0.0f);
  }
  EXPECT_EQ(path.sample(0).x, 0.0f);
  EXPECT_NEAR(path.sample(10).x, 10.0f, 0.05f);
  Vector3 halfWay;
  path.positionAt(5.0f, halfWay);
  EXPECT_NEAR(halfWay.x, 5.0f, 1.0f);
}

TEST(PathSpline, evaluateFailsFromTheLastPointOnAndBeforeMinusOne) {
  PathSpline path;
  path.setPath(10.0f, 11, 2, kStraight);
  Vector3 out(7.0f, 7.0f, 7.0f);
  EXPECT_FALSE(path.evaluate(1.0f, out));
  EXPECT_FALSE(path.evaluate(-1.5f, out));
  EXPECT_FALSE(path.evaluate(NAN, out));
  EXPECT_EQ(out.x, 7.0f);
  EXPECT_TRUE(path.evaluate(0.999f, out));
  EXPECT_NEAR(out.x, 9.99f, 1e-3f);
  EXPECT_TRUE(path.evaluate(-0.5f, out));  // the first segment, extrapolated
  EXPECT_LT(out.x, 0.0f);
}

TEST(PathSpline, positionAtMovesAtConstantSpeedAndHoldsTheEnds) {
  // Control points bunched at the start: the speed must not follow their spacing.
  const float uneven[] = {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 2.0f, 0.0f, 0.0f, 20.0f, 0.0f, 0.0f};
  PathSpline path;
  path.setPath(60.0f, 300, 4, uneven);
  Vector3 p(0.0f, 0.0f, 0.0f, 9.0f);
  path.positionAt(0.0f, p);
  EXPECT_EQ(p.x, 0.0f);
  EXPECT_EQ(p.w, 9.0f);
  const float spacing = path.totalLength() / 299.0f;
  Vector3 a;
  Vector3 b;
  path.positionAt(10.0f, a);
  path.positionAt(11.0f, b);
  const float early = distanceBetween(a, b);
  path.positionAt(50.0f, a);
  path.positionAt(51.0f, b);
  EXPECT_NEAR(distanceBetween(a, b), early, 2.0f * spacing);

  path.positionAt(60.0f, a);
  path.positionAt(64.0f, b);
  EXPECT_EQ(a.x, path.sample(299).x);
  EXPECT_EQ(b.x, path.sample(299).x);
  path.positionAt(-5.0f, a);
  EXPECT_EQ(a.x, path.sample(0).x);
}

TEST(PathSpline, fewerThanTwoPointsNeverReadOutsideThePath) {
  const float single[] = {3.0f, 4.0f, 5.0f};
  PathSpline one;
  one.setPath(10.0f, 50, 1, single);
  Vector3 p;
  for (const float time : {0.0f, 5.0f, 10.0f, 99.0f}) {
    one.positionAt(time, p);
    EXPECT_EQ(p.x, 3.0f);
    EXPECT_EQ(p.y, 4.0f);
    EXPECT_EQ(p.z, 5.0f);
  }

  PathSpline none;
  none.setPath(10.0f, 50, 0, nullptr);
  Vector3 untouched(1.0f, 2.0f, 3.0f);
  none.positionAt(5.0f, untouched);
  EXPECT_EQ(untouched.x, 1.0f);
  EXPECT_FALSE(none.evaluate(0.0f, untouched));

  PathSpline empty;
  empty.positionAt(1.0f, untouched);
  EXPECT_EQ(untouched.z, 3.0f);
}

TEST(PathSpline, everySampleLiesOnTheCurveEvenWhenTheWalkFallsShortOfTheLast) {
  // Off the origin, so that a sample left unwritten (at zero) would show.
  const float raised[] = {5.0f, 5.0f, 5.0f, 15.0f, 5.0f, 5.0f};
  for (int32_t count = 2; count <= 40; ++count) {
    PathSpline path;
    path.setPath(10.0f, count, 2, raised);
    const Vector3& last = path.sample(count - 1);
    EXPECT_EQ(last.y, 5.0f) << count << " samples";
    EXPECT_NEAR(last.x, 15.0f, 10.0f / static_cast<float>(count - 1)) << count << " samples";
  }
}

}  // namespace
