// The fixed function's three matrix stacks kept on the CPU, for contexts that have none: every
// operation computes in single precision the way the GL and GLU compute it, so a picture drawn
// with these matrices lands on the same pixels as one drawn with the driver's own stacks.
// Every stack holds at least its top; a pop of the last matrix or a push past the depth is refused.
#pragma once

#include <cstddef>
#include <vector>

#include "core/matrix4.h"

enum class MatrixStack;

class MatrixStacks {
 public:
  MatrixStacks();

  void select(MatrixStack stack);
  MatrixStack selected() const { return selected_; }
  // False (nothing changed) when the stack is full or holds only its top.
  bool push();
  bool pop();
  void loadIdentity();
  void load(const Matrix4& matrix);
  void multiply(const Matrix4& matrix);  // top = top × matrix
  void translate(float x, float y, float z);
  void rotate(float angleDegrees, float x, float y, float z);
  void scale(float x, float y, float z);
  void perspective(double fovYDegrees, double aspect, double nearDistance, double farDistance);
  void frustum(double left, double right, double bottom, double top, double nearDistance, double farDistance);
  void ortho(double left, double right, double bottom, double top, double nearDistance, double farDistance);
  void lookAt(double eyeX, double eyeY, double eyeZ, double targetX, double targetY, double targetZ, double upX,
              double upY, double upZ);

  const Matrix4& top(MatrixStack stack) const;
  // Counts every change to a stack's top, so users can tell when to send it again.
  unsigned int version(MatrixStack stack) const;

 private:
  struct Stack {
    std::vector<Matrix4> matrices;
    size_t depthLimit = 0;
    unsigned int version = 0;
  };
  Stack& current();

  Stack stacks_[3];
  MatrixStack selected_;
};

// The inverse transpose of the matrix's upper 3 × 3, column-major, as normals are carried into eye
// space; a singular matrix gives the zero matrix.
void normalMatrixOf(const Matrix4& modelView, float normal[9]);
