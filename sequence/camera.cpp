#include "sequence/camera.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include "core/input_state.h"
#include "core/picture_shape.h"

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

void Camera::applyView() const {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const InputState& input = inputState();
  gluPerspective(fieldOfView, widenedAspect(kComposedAspect, input.viewportWidth, input.viewportHeight), nearPlane,
                 farPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(eye.x, eye.y, eye.z, target.x, target.y, target.z, up.x, up.y, up.z);
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
