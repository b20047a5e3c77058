#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>

#include "gpu/matrix_helpers.h"
#include "tests/support/gl_test_context.h"

namespace {

void readMatrix(GLenum which, float out[16]) { glGetFloatv(which, out); }

TEST(MatrixHelpers, pushAndPopRestoreBothStacksAndLeaveModelViewCurrent) {
  REQUIRE_GL_CONTEXT();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(1.0f, 2.0f, 3.0f);

  pushMatrices();
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_PROJECTION);
  setOrtho2D(0.0f, 800.0f, 0.0f, 600.0f);
  float projection[16];
  readMatrix(GL_PROJECTION_MATRIX, projection);
  EXPECT_NEAR(projection[0], 2.0f / 800.0f, 1e-7f);
  EXPECT_NEAR(projection[12], -1.0f, 1e-6f);
  popMatrices();

  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  float modelView[16];
  readMatrix(GL_MODELVIEW_MATRIX, modelView);
  EXPECT_FLOAT_EQ(modelView[12], 1.0f);
  EXPECT_FLOAT_EQ(modelView[14], 3.0f);
  readMatrix(GL_PROJECTION_MATRIX, projection);
  EXPECT_FLOAT_EQ(projection[0], 1.0f);
}

TEST(MatrixHelpers, fixedPerspectiveIsFiftyDegreesAtAspectOnePointThree) {
  REQUIRE_GL_CONTEXT();
  setFixedPerspective(0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f);
  float projection[16];
  readMatrix(GL_PROJECTION_MATRIX, projection);
  const float f = 1.0f / std::tan(25.0f * 3.14159265f / 180.0f);
  EXPECT_NEAR(projection[5], f, 1e-5f);
  EXPECT_NEAR(projection[0], f / 1.3f, 1e-5f);
  EXPECT_NEAR(projection[10], -(2000.0f + 1.0f) / (2000.0f - 1.0f), 1e-5f);
  float modelView[16];
  readMatrix(GL_MODELVIEW_MATRIX, modelView);
  EXPECT_NEAR(modelView[14], -10.0f, 1e-5f);
}

}  // namespace
