// Matrix-stack helpers used around 2D passes and fixed views.
#pragma once

#include "core/matrix4.h"
#include "gpu/frame_context.h"

// Model-view push, then projection push; leaves the projection mode current.
void pushMatrices();
// Projection pop, then model-view pop; leaves the model-view mode current.
void popMatrices();
// Projection = gluOrtho2D(left, right, bottom, top); model-view = identity (model-view current).
void setOrtho2D(float left, float right, float bottom, float top);
// Projection = 50° vertical field of view, aspect 1.3 at 4:3 widened with the drawable's shape,
// near 1, far 2000; model-view = a look-at from the eye to the target with up (0, 1, 0).
void setFixedPerspective(const Drawable& drawable, float eyeX, float eyeY, float eyeZ, float targetX, float targetY,
                         float targetZ);
// Projection × model-view as the drawing layer holds them now: object space to clip space.
Matrix4 currentClipMatrix();
