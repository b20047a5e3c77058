#include "world/ground_occlusion.h"

#include <algorithm>
#include <cmath>

#include "gpu/draw_layer.h"

namespace {

constexpr float kDepthSteps = 16777216.0f;  // 2^24
constexpr float kStepsAhead = 16.0f;
constexpr float kLeastMargin = 0.05f;

// The rotation part of a model-view matrix has unit columns when it is a look-at view; a scaled
// or sheared view would make the eye computed from it wrong.
bool isRigid(const float modelView[16]) {
  for (int column = 0; column < 3; ++column) {
    const float* c = modelView + 4 * column;
    const float lengthSquared = c[0] * c[0] + c[1] * c[1] + c[2] * c[2];
    if (!(std::fabs(lengthSquared - 1.0f) < 1.0e-3f) || c[3] != 0.0f) {
      return false;
    }
  }
  return modelView[15] == 1.0f;
}

// The eye in world space: the inverse rotation applied to the negated translation.
Vector3 eyeOf(const float modelView[16]) {
  const float* t = modelView + 12;
  float eye[3] = {};
  for (int axis = 0; axis < 3; ++axis) {
    const float* column = modelView + 4 * axis;
    eye[axis] = -(column[0] * t[0] + column[1] * t[1] + column[2] * t[2]);
  }
  return Vector3(eye[0], eye[1], eye[2], 0.0f);
}

// The near plane of a perspective projection (a frustum or a perspective, off-centre allowed);
// distances of 0 for any other projection.
void takeNearPlane(const float projection[16], EyePoint& view) {
  const bool perspective = projection[3] == 0.0f && projection[7] == 0.0f && projection[11] == -1.0f &&
                           projection[15] == 0.0f && projection[0] != 0.0f && projection[5] != 0.0f &&
                           projection[10] != 1.0f;
  if (!perspective) {
    return;
  }
  const float nearDistance = projection[14] / (projection[10] - 1.0f);
  if (!(nearDistance > 0.0f)) {
    return;
  }
  const float halfWidth = nearDistance * (1.0f + std::fabs(projection[8])) / std::fabs(projection[0]);
  const float halfHeight = nearDistance * (1.0f + std::fabs(projection[9])) / std::fabs(projection[5]);
  view.nearDistance = nearDistance;
  view.nearReach = std::sqrt(nearDistance * nearDistance + halfWidth * halfWidth + halfHeight * halfHeight);
}

// Distance from p to the farthest corner of the box.
float farthestCorner(const Vector3& p, const float boxMin[3], const float boxMax[3]) {
  const float point[3] = {p.x, p.y, p.z};
  float sum = 0.0f;
  for (int axis = 0; axis < 3; ++axis) {
    const float reach = std::max(std::fabs(point[axis] - boxMin[axis]), std::fabs(point[axis] - boxMax[axis]));
    sum += reach * reach;
  }
  return std::sqrt(sum);
}

}  // namespace

GroundOcclusion GroundOcclusion::fromCurrentMatrices(const GroundCells& ground) {
  const DrawLayer& layer = drawLayer();
  const Matrix4 modelView = layer.matrix(MatrixStack::ModelView);
  const Matrix4 projection = layer.matrix(MatrixStack::Projection);
  EyePoint view;
  if (isRigid(modelView.m)) {
    view.eye = eyeOf(modelView.m);
    takeNearPlane(projection.m, view);
  }
  return GroundOcclusion(ground, view);
}

GroundOcclusion::GroundOcclusion(const GroundCells& ground, const EyePoint& view) : ground_(ground), view_(view) {
  const float reach = view.nearReach;
  if (!(view.nearDistance > 0.0f && reach >= view.nearDistance)) {
    return;
  }
  const Vector3& eye = view.eye;
  float highest = 0.0f;
  eyeClear_ = ground.highestAround(eye.x - reach, eye.z - reach, eye.x + reach, eye.z + reach, highest) &&
              highest < eye.y - reach;
}

float GroundOcclusion::hiddenMargin(float distance) const {
  // A depth step at view depth d is about d² / (near × 2^24); along a line of sight a view-depth
  // difference is at least near / nearReach of the distance.
  const float step = distance * distance / (view_.nearDistance * kDepthSteps);
  return std::max(kLeastMargin, kStepsAhead * step * view_.nearReach / view_.nearDistance);
}

bool GroundOcclusion::hides(const float boxMin[3], const float boxMax[3]) const {
  if (!eyeClear_) {
    return false;
  }
  // Ground outside the cells around the footprint is at least one cell span away from the box,
  // so a margin wider than that would not be kept along every line of sight.
  const float margin = hiddenMargin(farthestCorner(view_.eye, boxMin, boxMax));
  float lowest = 0.0f;
  return margin <= ground_.cellSpan() &&
         ground_.lowestAround(boxMin[0], boxMin[2], boxMax[0], boxMax[2], lowest) && boxMax[1] < lowest - margin;
}
