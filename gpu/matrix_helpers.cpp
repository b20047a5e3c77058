#include "gpu/matrix_helpers.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include "core/input_state.h"
#include "core/picture_shape.h"

void pushMatrices() {
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
}

void popMatrices() {
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

void setOrtho2D(float left, float right, float bottom, float top) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(left, right, bottom, top);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void setFixedPerspective(float eyeX, float eyeY, float eyeZ, float targetX, float targetY, float targetZ) {
  const InputState& input = inputState();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(50.0, widenedAspect(kComposedAspect, input.viewportWidth, input.viewportHeight), 1.0, 2000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(eyeX, eyeY, eyeZ, targetX, targetY, targetZ, 0.0, 1.0, 0.0);
}

Matrix4 currentClipMatrix() {
  Matrix4 clip;
  glGetFloatv(GL_PROJECTION_MATRIX, clip.m);
  Matrix4 modelView;
  glGetFloatv(GL_MODELVIEW_MATRIX, modelView.m);
  // Read straight into the elements: neither is known to be the identity.
  clip.isIdentity = false;
  modelView.isIdentity = false;
  clip.multiply(modelView);
  return clip;
}
