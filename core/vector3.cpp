#include "core/vector3.h"

#include <cmath>

Vector3& Vector3::operator+=(const Vector3& v) {
  x += v.x;
  y += v.y;
  z += v.z;
  w += v.w;
  return *this;
}

Vector3& Vector3::operator-=(const Vector3& v) {
  x -= v.x;
  y -= v.y;
  z -= v.z;
  w -= v.w;
  return *this;
}

Vector3& Vector3::operator*=(float s) {
  x *= s;
  y *= s;
  z *= s;
  w *= s;
  return *this;
}

Vector3 Vector3::operator+(const Vector3& v) const { return Vector3(x + v.x, y + v.y, z + v.z, w + v.w); }

Vector3 Vector3::operator-(const Vector3& v) const { return Vector3(x - v.x, y - v.y, z - v.z, w - v.w); }

Vector3 Vector3::operator*(float s) const { return Vector3(x * s, y * s, z * s, w * s); }

float Vector3::length() const {
  const double squared = double(x) * x + double(y) * y + double(z) * z;
  return static_cast<float>(std::sqrt(squared));
}

void Vector3::normalize() {
  const float len = length();
  if (len == 0.0f) {
    return;
  }
  const float k = 1.0f / len;
  x *= k;
  y *= k;
  z *= k;
  w = 1.0f;
}

float Vector3::dot(const Vector3& v) const { return x * v.x + y * v.y + z * v.z; }

Vector3 Vector3::cross(const Vector3& v) const {
  return Vector3(y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x, 0.0f);
}

void Vector3::setScaledSum(float s, const Vector3& a, const Vector3& b) {
  x = s * a.x + b.x;
  y = s * a.y + b.y;
  z = s * a.z + b.z;
  w = s * a.w + b.w;
}

void Vector3::addScaled(const Vector3& a, float s) {
  x += s * a.x;
  y += s * a.y;
  z += s * a.z;
  w += s * a.w;
}
