// Cameras: a view from an eye to a target, one flown along path splines, and one hung on springs.
// The rig camera's eye height is imposed after every rig step, whatever its eye mass does.
#pragma once

#include <cstdint>
#include <memory>

#include "core/vector3.h"
#include "effects/spring_system.h"
#include "gpu/frame_context.h"
#include "world/path_spline.h"

class Camera {
 public:
  virtual ~Camera() = default;

  // Projection: a perspective with the aspect 1.3 at 4:3, widened with the drawable's shape (the
  // vertical field of view stays); then the model-view look-at. Leaves the model-view mode current.
  void applyView(const Drawable& drawable) const;

  Vector3 eye;
  Vector3 target;
  Vector3 up{0.0f, 1.0f, 0.0f, 0.0f};
  float fieldOfView = 50.0f;  // vertical, degrees
  float nearPlane = 1.0f;
  float farPlane = 2000.0f;
};

class PathCamera : public Camera {
 public:
  // points: packed (x, y, z) triples; a null array keeps that path as it was. Five samples per
  // second of path.
  void setPaths(float durationSeconds, int32_t eyeCount, const float* eyePoints, int32_t targetCount,
                const float* targetPoints);
  void update(float timeSeconds);  // places eye and target for this scene time

  Vector3 targetOffset;  // added to the target path position
  Vector3 eyeOffset;     // added to the eye path position
  std::unique_ptr<PathSpline> eyePath;
  std::unique_ptr<PathSpline> targetPath;
};

// Mass 0 is the anchor moved by panning, mass 1 gives the target, mass 2 the eye; spring 0 ties
// the target to the anchor and spring 1 holds the eye at the eye distance from the target.
// The rig's eye stays between these distances from its target: nearer, the springs fold; farther,
// the distance would grow without bound and the lighting would see an infinite eye.
constexpr float kNearestEyeDistance = 0.5f;
constexpr float kFarthestEyeDistance = 1000.0f;

class RigCamera : public Camera {
 public:
  RigCamera();

  void update(float dtSeconds);   // one rig step, then eye and target follow the masses
  void orbit(float angleRadians);  // swings the eye mass about the target, around the vertical
  // The cursor's offset from the window centre sets how fast the anchor moves: sideways with
  // sideGain, forward or back with forwardGain. A window without area moves nothing.
  void pan(int32_t mouseX, int32_t mouseY, int32_t viewWidth, int32_t viewHeight, float dtSeconds,
           float forwardGain, float sideGain);
  void place(float newHeight, float eyeDistance, float eyeX, float eyeZ, float targetX, float targetZ);

  // Eye, target, view, height and the springs' motion, as they stand ...
  void writeState(StateRecord& record) const;
  // ... and back.
  void readState(StateReader& reader);

  float eyeDistance() const;  // rest length of the target–eye spring
  // Held within kNearestEyeDistance … kFarthestEyeDistance, however long Page Up or Down is held.
  void setEyeDistance(float value);

  float height = 30.0f;  // the eye's y
  SpringSystem rig;
};

RigCamera& rigCamera();
