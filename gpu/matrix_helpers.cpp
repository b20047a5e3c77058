#include "gpu/matrix_helpers.h"

#include "core/picture_shape.h"
#include "gpu/draw_layer.h"

void pushMatrices() {
  DrawLayer& layer = drawLayer();
  layer.matrixMode(MatrixStack::ModelView);
  layer.pushMatrix();
  layer.matrixMode(MatrixStack::Projection);
  layer.pushMatrix();
}

void popMatrices() {
  DrawLayer& layer = drawLayer();
  layer.matrixMode(MatrixStack::Projection);
  layer.popMatrix();
  layer.matrixMode(MatrixStack::ModelView);
  layer.popMatrix();
}

void setOrtho2D(float left, float right, float bottom, float top) {
  DrawLayer& layer = drawLayer();
  layer.matrixMode(MatrixStack::Projection);
  layer.loadIdentity();
  layer.ortho2D(left, right, bottom, top);
  layer.matrixMode(MatrixStack::ModelView);
  layer.loadIdentity();
}

void setFixedPerspective(const Drawable& drawable, float eyeX, float eyeY, float eyeZ, float targetX, float targetY,
                         float targetZ) {
  DrawLayer& layer = drawLayer();
  layer.matrixMode(MatrixStack::Projection);
  layer.loadIdentity();
  layer.perspective(50.0, widenedAspect(kComposedAspect, drawable.width, drawable.height), 1.0, 2000.0);
  layer.matrixMode(MatrixStack::ModelView);
  layer.loadIdentity();
  layer.lookAt(eyeX, eyeY, eyeZ, targetX, targetY, targetZ, 0.0, 1.0, 0.0);
}

Matrix4 currentClipMatrix() {
  const DrawLayer& layer = drawLayer();
  Matrix4 clip = layer.matrix(MatrixStack::Projection);
  clip.multiply(layer.matrix(MatrixStack::ModelView));
  return clip;
}
