#include <gtest/gtest.h>

#include <cmath>

#include "gpu/draw_layer.h"
#include "gpu/matrix_helpers.h"
#include "tests/support/gl_test_context.h"

namespace {

TEST(MatrixHelpers, pushAndPopRestoreBothStacksAndLeaveModelViewCurrent) {
  REQUIRE_GL_CONTEXT();
  DrawLayer& layer = drawLayer();
  layer.matrixMode(MatrixStack::Projection);
  layer.loadIdentity();
  layer.matrixMode(MatrixStack::ModelView);
  layer.loadIdentity();
  layer.translate(1.0f, 2.0f, 3.0f);

  pushMatrices();
  // The projection is the stack now current: a scale lands on it.
  layer.scale(2.0f, 2.0f, 2.0f);
  EXPECT_FLOAT_EQ(layer.matrix(MatrixStack::Projection).m[0], 2.0f);
  setOrtho2D(0.0f, 800.0f, 0.0f, 600.0f);
  const Matrix4 ortho = layer.matrix(MatrixStack::Projection);
  EXPECT_NEAR(ortho.m[0], 2.0f / 800.0f, 1e-7f);
  EXPECT_NEAR(ortho.m[12], -1.0f, 1e-6f);
  popMatrices();

  // The model-view is current again: a translation lands on it.
  layer.translate(0.0f, 0.0f, 1.0f);
  const Matrix4 modelView = layer.matrix(MatrixStack::ModelView);
  EXPECT_FLOAT_EQ(modelView.m[12], 1.0f);
  EXPECT_FLOAT_EQ(modelView.m[14], 4.0f);
  EXPECT_FLOAT_EQ(layer.matrix(MatrixStack::Projection).m[0], 1.0f);
  layer.loadIdentity();
}

TEST(MatrixHelpers, fixedPerspectiveIsFiftyDegreesAtAspectOnePointThree) {
  REQUIRE_GL_CONTEXT();
  setFixedPerspective(Drawable{800, 600, {}}, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f);
  const Matrix4 projection = drawLayer().matrix(MatrixStack::Projection);
  const float f = 1.0f / std::tan(25.0f * 3.14159265f / 180.0f);
  EXPECT_NEAR(projection.m[5], f, 1e-5f);
  EXPECT_NEAR(projection.m[0], f / 1.3f, 1e-5f);
  EXPECT_NEAR(projection.m[10], -(2000.0f + 1.0f) / (2000.0f - 1.0f), 1e-5f);
  EXPECT_NEAR(drawLayer().matrix(MatrixStack::ModelView).m[14], -10.0f, 1e-5f);
}

}  // namespace
