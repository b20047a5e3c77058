#include <gtest/gtest.h>

#include <cmath>

#include "core/matrix4.h"
#include "core/vector3.h"

namespace {

void expectVector(const Vector3& v, float x, float y, float z, float w) {
  EXPECT_FLOAT_EQ(v.x, x);
  EXPECT_FLOAT_EQ(v.y, y);
  EXPECT_FLOAT_EQ(v.z, z);
  EXPECT_FLOAT_EQ(v.w, w);
}

TEST(Vector3, normalizeLeavesZeroVectorIncludingWUntouched) {
  Vector3 zero(0, 0, 0, 5);
  zero.normalize();
  expectVector(zero, 0, 0, 0, 5);

  Vector3 v(3, 0, 4, 0);
  v.normalize();
  expectVector(v, 0.6f, 0, 0.8f, 1);
}

TEST(Vector3, lengthDotAndCrossIgnoreW) {
  EXPECT_FLOAT_EQ(Vector3(1, 2, 2, 7).length(), 3.0f);
  EXPECT_FLOAT_EQ(Vector3(1, 2, 3, 100).dot(Vector3(4, 5, 6, 100)), 32.0f);
  expectVector(Vector3(1, 0, 0, 1).cross(Vector3(0, 1, 0, 1)), 0, 0, 1, 0);
  expectVector(Vector3(0, 1, 0).cross(Vector3(1, 0, 0)), 0, 0, -1, 0);
}

TEST(Vector3, arithmeticCarriesWAndLeavesOperandsUnchanged) {
  const Vector3 ones(1, 1, 1, 1);
  expectVector(ones * 2.0f, 2, 2, 2, 2);
  const Vector3 a(1, 2, 3, 4);
  const Vector3 b(10, 20, 30, 40);
  expectVector(a + b, 11, 22, 33, 44);
  expectVector(b - a, 9, 18, 27, 36);
  expectVector(a, 1, 2, 3, 4);

  Vector3 c = a;
  c += b;
  c -= Vector3(1, 1, 1, 1);
  c *= 0.5f;
  expectVector(c, 5, 10.5f, 16, 21.5f);

  Vector3 sum;
  sum.setScaledSum(2.0f, a, b);
  expectVector(sum, 12, 24, 36, 48);
  sum.addScaled(a, -2.0f);
  expectVector(sum, 10, 20, 30, 40);
}

TEST(Matrix4, rotationSettersReplaceEarlierContent) {
  Matrix4 m;
  m.multiply(Matrix4());
  m.m[12] = 5.0f;
  m.setRotationX(0.5f);
  EXPECT_FALSE(m.isIdentity);
  EXPECT_FLOAT_EQ(m.m[12], 0.0f);
  EXPECT_FLOAT_EQ(m.m[5], std::cos(0.5f));
  EXPECT_FLOAT_EQ(m.m[6], std::sin(0.5f));
  EXPECT_FLOAT_EQ(m.m[9], -std::sin(0.5f));

  // y' = c·y − s·z, z' = s·y + c·z
  Matrix4 quarter;
  quarter.setRotationX(static_cast<float>(M_PI / 2));
  const Vector3 turned = quarter.transform(Vector3(0, 1, 0, 0));
  EXPECT_NEAR(turned.y, 0.0f, 1e-6f);
  EXPECT_NEAR(turned.z, 1.0f, 1e-6f);

  // x' = c·x + s·z
  Matrix4 yaw;
  yaw.setRotationY(static_cast<float>(M_PI / 2));
  const Vector3 swung = yaw.transform(Vector3(0, 0, 1, 0));
  EXPECT_NEAR(swung.x, 1.0f, 1e-6f);
  EXPECT_NEAR(swung.z, 0.0f, 1e-6f);
}

TEST(Matrix4, rotateYActsOnTheVectorFirst) {
  const float a = 0.3f;
  const float b = 1.1f;
  Matrix4 combined;
  combined.setRotationX(a);
  combined.rotateY(b);
  Matrix4 rotX;
  rotX.setRotationX(a);
  Matrix4 rotY;
  rotY.setRotationY(b);
  const Vector3 v(0.2f, -0.7f, 1.3f, 0.0f);
  const Vector3 expected = rotX.transform(rotY.transform(v));
  const Vector3 actual = combined.transform(v);
  EXPECT_NEAR(actual.x, expected.x, 1e-5f);
  EXPECT_NEAR(actual.y, expected.y, 1e-5f);
  EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

TEST(Matrix4, multiplyMayTakeACopyOfItself) {
  Matrix4 m;
  m.setRotationY(0.25f);
  const Matrix4 copy = m;
  m.multiply(copy);
  Matrix4 twice;
  twice.setRotationY(0.5f);
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(m.m[i], twice.m[i], 1e-6f) << "entry " << i;
  }
}

TEST(Matrix4, transformAppliesTranslationInProportionToW) {
  Matrix4 m;
  m.m[12] = 10.0f;
  m.m[13] = 20.0f;
  m.m[14] = 30.0f;
  m.isIdentity = false;
  expectVector(m.transform(Vector3(1, 2, 3, 0)), 1, 2, 3, 0);
  expectVector(m.transform(Vector3(1, 2, 3, 1)), 11, 22, 33, 1);
}

}  // namespace
