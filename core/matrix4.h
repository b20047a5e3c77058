// A 4×4 transformation in column-major order, the layout OpenGL uses: element (r, c) is m[c*4 + r].
#pragma once

#include "core/vector3.h"

struct Matrix4 {
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  bool isIdentity = true;

  void setIdentity();
  // Both rotation setters make a pure rotation: any earlier content is reset first. Radians.
  void setRotationX(float angleRadians);
  void setRotationY(float angleRadians);
  void multiply(const Matrix4& b);  // this = this × b; b may alias this
  void rotateY(float angleRadians);  // this = this × RotY(angle)
  Vector3 transform(const Vector3& v) const;  // all four components; w scales the translation
};
