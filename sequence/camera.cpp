#include "sequence/camera.h"

#include "core/picture_shape.h"
#include "gpu/draw_layer.h"

namespace {

constexpr float kPathSamplesPerSecond = 5.0f;

void makePath(std::unique_ptr<PathSpline>& path, float durationSeconds, int32_t count, const float* points) {
  if (points == nullptr) {
    return;
  }
  path = std::make_unique<PathSpline>();
  const int32_t sampleCount = static_cast<int32_t>(durationSeconds * kPathSamplesPerSecond);
  path->setPath(durationSeconds, sampleCount, count, points);
}

}  // namespace

void Camera::applyView(const Drawable& drawable) const {
  DrawLayer& layer = drawLayer();
  layer.matrixMode(MatrixStack::Projection);
  layer.loadIdentity();
  layer.perspective(fieldOfView, widenedAspect(kComposedAspect, drawable.width, drawable.height), nearPlane, farPlane);
  layer.matrixMode(MatrixStack::ModelView);
  layer.loadIdentity();
  layer.lookAt(eye.x, eye.y, eye.z, target.x, target.y, target.z, up.x, up.y, up.z);
}

void PathCamera::setPaths(float durationSeconds, int32_t eyeCount, const float* eyePoints, int32_t targetCount,
                          const float* targetPoints) {
  makePath(eyePath, durationSeconds, eyeCount, eyePoints);
  makePath(targetPath, durationSeconds, targetCount, targetPoints);
}

void PathCamera::update(float timeSeconds) {
  // Both start at the zero vector, so a missing path leaves only the offset, and w stays 0.
  Vector3 eyePosition;
  Vector3 targetPosition;
  if (eyePath) {
    eyePath->positionAt(timeSeconds, eyePosition);
  }
  if (targetPath) {
    targetPath->positionAt(timeSeconds, targetPosition);
  }
  eye = eyePosition + eyeOffset;
  target = targetPosition + targetOffset;
}
