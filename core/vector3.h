// A point or direction in space with a fourth homogeneous component carried through arithmetic.
#pragma once

struct Vector3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float w = 0.0f;

  Vector3() = default;
  Vector3(float xValue, float yValue, float zValue, float wValue = 0.0f)
      : x(xValue), y(yValue), z(zValue), w(wValue) {}

  // The arithmetic operators act on all four components.
  Vector3& operator+=(const Vector3& v);
  Vector3& operator-=(const Vector3& v);
  Vector3& operator*=(float s);
  Vector3 operator+(const Vector3& v) const;
  Vector3 operator-(const Vector3& v) const;
  Vector3 operator*(float s) const;

  // Length, dot and cross use x, y, z only.
  float length() const;
  void normalize();  // leaves a zero vector as it is; otherwise sets w to 1
  float dot(const Vector3& v) const;
  Vector3 cross(const Vector3& v) const;  // right-handed, w = 0

  void setScaledSum(float s, const Vector3& a, const Vector3& b);  // this = s·a + b
  void addScaled(const Vector3& a, float s);                       // this += s·a
};
