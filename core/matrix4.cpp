#include "core/matrix4.h"

#include <cmath>
#include <cstring>

void Matrix4::setIdentity() {
  std::memset(m, 0, sizeof(m));
  m[0] = m[5] = m[10] = m[15] = 1.0f;
  isIdentity = true;
}

void Matrix4::setRotationX(float angleRadians) {
  if (!isIdentity) {
    setIdentity();
  }
  isIdentity = false;
  const float c = std::cos(angleRadians);
  const float s = std::sin(angleRadians);
  m[5] = c;
  m[6] = s;
  m[9] = -s;
  m[10] = c;
}

void Matrix4::setRotationY(float angleRadians) {
  if (!isIdentity) {
    setIdentity();
  }
  isIdentity = false;
  const float c = std::cos(angleRadians);
  const float s = std::sin(angleRadians);
  m[0] = c;
  m[2] = -s;
  m[8] = s;
  m[10] = c;
}

void Matrix4::multiply(const Matrix4& b) {
  float product[16];
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) {
        sum += m[k * 4 + row] * b.m[column * 4 + k];
      }
      product[column * 4 + row] = sum;
    }
  }
  std::memcpy(m, product, sizeof(m));
  isIdentity = false;
}

void Matrix4::rotateY(float angleRadians) {
  Matrix4 rotation;
  rotation.setRotationY(angleRadians);
  multiply(rotation);
}

Vector3 Matrix4::transform(const Vector3& v) const {
  return Vector3(m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12] * v.w,
                 m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13] * v.w,
                 m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14] * v.w,
                 m[3] * v.x + m[7] * v.y + m[11] * v.z + m[15] * v.w);
}
