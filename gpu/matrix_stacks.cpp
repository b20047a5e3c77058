#include "gpu/matrix_stacks.h"

#include <cmath>

#include "gpu/draw_layer.h"

namespace {

// The stack depths the GL guarantees at least, and which Mesa offers: deeper nesting is a bug.
constexpr size_t kModelViewDepth = 32;
constexpr size_t kProjectionDepth = 32;
constexpr size_t kTextureDepth = 10;
constexpr double kPi = 3.14159265358979323846;

int indexOf(MatrixStack stack) { return static_cast<int>(stack); }

// Element (row, column) of a column-major matrix.
float& at(Matrix4& matrix, int row, int column) { return matrix.m[column * 4 + row]; }

Matrix4 identity() {
  Matrix4 matrix;
  matrix.setIdentity();
  return matrix;
}

Matrix4 general() {
  Matrix4 matrix = identity();
  matrix.isIdentity = false;
  return matrix;
}

void normalize(float v[3]) {
  const float length = static_cast<float>(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
  if (length == 0.0f) {
    return;
  }
  v[0] /= length;
  v[1] /= length;
  v[2] /= length;
}

void cross(const float a[3], const float b[3], float result[3]) {
  result[0] = a[1] * b[2] - a[2] * b[1];
  result[1] = a[2] * b[0] - a[0] * b[2];
  result[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

MatrixStacks::MatrixStacks() : selected_(MatrixStack::ModelView) {
  const size_t depths[3] = {kModelViewDepth, kProjectionDepth, kTextureDepth};
  for (int index = 0; index < 3; ++index) {
    stacks_[index].matrices.assign(1, identity());
    stacks_[index].depthLimit = depths[index];
  }
}

MatrixStacks::Stack& MatrixStacks::current() { return stacks_[indexOf(selected_)]; }

void MatrixStacks::select(MatrixStack stack) { selected_ = stack; }

bool MatrixStacks::push() {
  Stack& stack = current();
  if (stack.matrices.size() >= stack.depthLimit) {
    return false;
  }
  stack.matrices.push_back(stack.matrices.back());
  return true;
}

bool MatrixStacks::pop() {
  Stack& stack = current();
  if (stack.matrices.size() <= 1) {
    return false;
  }
  stack.matrices.pop_back();
  ++stack.version;
  return true;
}

void MatrixStacks::loadIdentity() { load(identity()); }

void MatrixStacks::load(const Matrix4& matrix) {
  current().matrices.back() = matrix;
  ++current().version;
}

void MatrixStacks::multiply(const Matrix4& matrix) {
  current().matrices.back().multiply(matrix);
  ++current().version;
}

// As the GL translates: only the last column changes, each element one sum in single precision.
void MatrixStacks::translate(float x, float y, float z) {
  float* m = current().matrices.back().m;
  for (int row = 0; row < 4; ++row) {
    m[12 + row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
  }
  current().matrices.back().isIdentity = false;
  ++current().version;
}

// As the GL rotates: about a principal axis the matrix is built exactly from the sine and cosine,
// about any other axis from the normalised axis; an axis shorter than 1e-4 leaves the matrix as it is.
void MatrixStacks::rotate(float angleDegrees, float x, float y, float z) {
  // The angle in radians rounded to single precision, its sine and cosine taken in single
  // precision: a quarter turn leaves a cosine of -4.4e-8, not 0, as in the GL.
  const float radians = static_cast<float>(angleDegrees * kPi / 180.0);
  const float s = std::sin(radians);
  const float c = std::cos(radians);
  Matrix4 rotation = general();
  if (x == 0.0f && y == 0.0f && z != 0.0f) {
    at(rotation, 0, 0) = c;
    at(rotation, 1, 1) = c;
    at(rotation, 0, 1) = z < 0.0f ? s : -s;
    at(rotation, 1, 0) = z < 0.0f ? -s : s;
  } else if (x == 0.0f && z == 0.0f && y != 0.0f) {
    at(rotation, 0, 0) = c;
    at(rotation, 2, 2) = c;
    at(rotation, 0, 2) = y < 0.0f ? -s : s;
    at(rotation, 2, 0) = y < 0.0f ? s : -s;
  } else if (y == 0.0f && z == 0.0f && x != 0.0f) {
    at(rotation, 1, 1) = c;
    at(rotation, 2, 2) = c;
    at(rotation, 1, 2) = x < 0.0f ? s : -s;
    at(rotation, 2, 1) = x < 0.0f ? -s : s;
  } else {
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length <= 1.0e-4f) {
      return;
    }
    x /= length;
    y /= length;
    z /= length;
    const float oneMinusC = 1.0f - c;
    const float xx = x * x;
    const float yy = y * y;
    const float zz = z * z;
    const float xy = x * y;
    const float yz = y * z;
    const float zx = z * x;
    at(rotation, 0, 0) = (oneMinusC * xx) + c;
    at(rotation, 0, 1) = (oneMinusC * xy) - z * s;
    at(rotation, 0, 2) = (oneMinusC * zx) + y * s;
    at(rotation, 1, 0) = (oneMinusC * xy) + z * s;
    at(rotation, 1, 1) = (oneMinusC * yy) + c;
    at(rotation, 1, 2) = (oneMinusC * yz) - x * s;
    at(rotation, 2, 0) = (oneMinusC * zx) - y * s;
    at(rotation, 2, 1) = (oneMinusC * yz) + x * s;
    at(rotation, 2, 2) = (oneMinusC * zz) + c;
  }
  multiply(rotation);
}

void MatrixStacks::scale(float x, float y, float z) {
  float* m = current().matrices.back().m;
  for (int row = 0; row < 4; ++row) {
    m[row] *= x;
    m[4 + row] *= y;
    m[8 + row] *= z;
  }
  current().matrices.back().isIdentity = false;
  ++current().version;
}

// GLU's perspective: the matrix worked out in double precision, then multiplied in as the GL takes
// a double matrix, rounded to single precision. A degenerate view leaves the matrix as it is.
void MatrixStacks::perspective(double fovYDegrees, double aspect, double nearDistance, double farDistance) {
  const double radians = fovYDegrees / 2 * kPi / 180;
  const double depth = farDistance - nearDistance;
  const double sine = std::sin(radians);
  if (depth == 0 || sine == 0 || aspect == 0) {
    return;
  }
  const double cotangent = std::cos(radians) / sine;
  Matrix4 projection = general();
  at(projection, 0, 0) = static_cast<float>(cotangent / aspect);
  at(projection, 1, 1) = static_cast<float>(cotangent);
  at(projection, 2, 2) = static_cast<float>(-(farDistance + nearDistance) / depth);
  at(projection, 3, 2) = -1.0f;
  at(projection, 2, 3) = static_cast<float>(-2 * nearDistance * farDistance / depth);
  at(projection, 3, 3) = 0.0f;
  multiply(projection);
}

// The GL's frustum and ortho take their bounds in single precision and work them out in it.
void MatrixStacks::frustum(double left, double right, double bottom, double top, double nearDistance,
                           double farDistance) {
  const float l = static_cast<float>(left), r = static_cast<float>(right);
  const float b = static_cast<float>(bottom), t = static_cast<float>(top);
  const float n = static_cast<float>(nearDistance), f = static_cast<float>(farDistance);
  Matrix4 projection = general();
  at(projection, 0, 0) = (2.0f * n) / (r - l);
  at(projection, 0, 2) = (r + l) / (r - l);
  at(projection, 1, 1) = (2.0f * n) / (t - b);
  at(projection, 1, 2) = (t + b) / (t - b);
  at(projection, 2, 2) = -(f + n) / (f - n);
  at(projection, 2, 3) = -(2.0f * f * n) / (f - n);
  at(projection, 3, 2) = -1.0f;
  at(projection, 3, 3) = 0.0f;
  multiply(projection);
}

void MatrixStacks::ortho(double left, double right, double bottom, double top, double nearDistance,
                         double farDistance) {
  const float l = static_cast<float>(left), r = static_cast<float>(right);
  const float b = static_cast<float>(bottom), t = static_cast<float>(top);
  const float n = static_cast<float>(nearDistance), f = static_cast<float>(farDistance);
  Matrix4 projection = general();
  at(projection, 0, 0) = 2.0f / (r - l);
  at(projection, 0, 3) = -(r + l) / (r - l);
  at(projection, 1, 1) = 2.0f / (t - b);
  at(projection, 1, 3) = -(t + b) / (t - b);
  at(projection, 2, 2) = -2.0f / (f - n);
  at(projection, 2, 3) = -(f + n) / (f - n);
  multiply(projection);
}

// GLU's look-at: the frame worked out in single precision, then a translation by the eye.
void MatrixStacks::lookAt(double eyeX, double eyeY, double eyeZ, double targetX, double targetY, double targetZ,
                          double upX, double upY, double upZ) {
  float forward[3] = {static_cast<float>(targetX - eyeX), static_cast<float>(targetY - eyeY),
                      static_cast<float>(targetZ - eyeZ)};
  float up[3] = {static_cast<float>(upX), static_cast<float>(upY), static_cast<float>(upZ)};
  float side[3] = {0.0f, 0.0f, 0.0f};
  normalize(forward);
  cross(forward, up, side);
  normalize(side);
  cross(side, forward, up);
  Matrix4 view = general();
  for (int column = 0; column < 3; ++column) {
    at(view, 0, column) = side[column];
    at(view, 1, column) = up[column];
    at(view, 2, column) = -forward[column];
  }
  multiply(view);
  translate(static_cast<float>(-eyeX), static_cast<float>(-eyeY), static_cast<float>(-eyeZ));
}

const Matrix4& MatrixStacks::top(MatrixStack stack) const { return stacks_[indexOf(stack)].matrices.back(); }

unsigned int MatrixStacks::version(MatrixStack stack) const { return stacks_[indexOf(stack)].version; }

void normalMatrixOf(const Matrix4& modelView, float normal[9]) {
  const float* m = modelView.m;
  // The cofactors of the upper 3 × 3 are the inverse transpose times the determinant.
  const double a[3][3] = {{m[0], m[4], m[8]}, {m[1], m[5], m[9]}, {m[2], m[6], m[10]}};
  double cofactor[3][3];
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      const int r0 = (row + 1) % 3;
      const int r1 = (row + 2) % 3;
      const int c0 = (column + 1) % 3;
      const int c1 = (column + 2) % 3;
      cofactor[row][column] = a[r0][c0] * a[r1][c1] - a[r0][c1] * a[r1][c0];
    }
  }
  const double determinant = a[0][0] * cofactor[0][0] + a[0][1] * cofactor[0][1] + a[0][2] * cofactor[0][2];
  for (int column = 0; column < 3; ++column) {
    for (int row = 0; row < 3; ++row) {
      normal[column * 3 + row] = determinant == 0.0 ? 0.0f : static_cast<float>(cofactor[row][column] / determinant);
    }
  }
}
