#include "sequence/camera.h"

#include <algorithm>

#include "core/matrix4.h"

namespace {

constexpr int32_t kAnchorMass = 0;
constexpr int32_t kTargetMass = 1;
constexpr int32_t kEyeMass = 2;
constexpr int32_t kEyeSpring = 1;
constexpr float kMassDamping = 10.0f;
constexpr float kMassInverse = 1.0f;
// A quarter turn clockwise seen from above: from "towards the target" to "to the viewer's right".
constexpr float kQuarterTurnRadians = -1.5707963705f;
// The step place() runs so that eye and target follow the new positions at once.
constexpr float kPlaceStepSeconds = 0.1f;

Vector3 rotatedAboutVertical(const Vector3& v, float angleRadians) {
  Matrix4 rotation;
  rotation.setRotationY(angleRadians);
  return rotation.transform(v);
}

// The cursor's offset from the window centre, in window fractions from −0.5 to 0.5.
float offsetFromCentre(int32_t position, int32_t size) {
  return static_cast<float>(position) / static_cast<float>(size) - 0.5f;
}

}  // namespace

RigCamera& rigCamera() {
  static RigCamera camera;
  return camera;
}

void RigCamera::writeState(StateRecord& record) const {
  record.write(eye);
  record.write(target);
  record.write(up);
  record.write(fieldOfView);
  record.write(nearPlane);
  record.write(farPlane);
  record.write(height);
  rig.writeState(record);
}

void RigCamera::readState(StateReader& reader) {
  reader.read(eye);
  reader.read(target);
  reader.read(up);
  reader.read(fieldOfView);
  reader.read(nearPlane);
  reader.read(farPlane);
  reader.read(height);
  rig.readState(reader);
}

RigCamera::RigCamera() {
  rig.addMass(0.0f, 0.0f, 0.0f, kMassDamping, kMassInverse);
  rig.addMass(0.0f, 0.0f, 0.0f, kMassDamping, kMassInverse);
  rig.addMass(0.0f, 0.0f, 0.0f, kMassDamping, kMassInverse);
  rig.addSpring(kAnchorMass, kTargetMass, 5.0f, 44.0f);
  rig.addSpring(kTargetMass, kEyeMass, 30.0f, 40.0f);
  eye = Vector3(0.0f, 30.0f, 0.0f, 0.0f);
}

void RigCamera::update(float dtSeconds) {
  rig.simulate(dtSeconds);
  target = rig.mass(kTargetMass).position;
  eye = rig.mass(kEyeMass).position;
  eye.y = height;
}

void RigCamera::orbit(float angleRadians) {
  const Vector3& targetPosition = rig.mass(kTargetMass).position;
  Vector3& eyePosition = rig.mass(kEyeMass).position;
  eyePosition = targetPosition + rotatedAboutVertical(eyePosition - targetPosition, angleRadians);
}

void RigCamera::pan(int32_t mouseX, int32_t mouseY, int32_t viewWidth, int32_t viewHeight, float dtSeconds,
                    float forwardGain, float sideGain) {
  if (viewWidth <= 0 || viewHeight <= 0) {
    return;
  }
  const Vector3& targetPosition = rig.mass(kTargetMass).position;
  const Vector3& eyePosition = rig.mass(kEyeMass).position;
  Vector3& anchor = rig.mass(kAnchorMass).position;

  // A zero-length direction stays unnormalised, so it contributes nothing.
  Vector3 side = rotatedAboutVertical(targetPosition - eyePosition, kQuarterTurnRadians);
  side.normalize();
  const float sideStep = offsetFromCentre(mouseX, viewWidth) * dtSeconds * sideGain;
  anchor.x += sideStep * side.x;
  anchor.z += sideStep * side.z;

  Vector3 back = eyePosition - targetPosition;
  back.normalize();
  const float backStep = offsetFromCentre(mouseY, viewHeight) * dtSeconds * forwardGain;
  anchor.x += backStep * back.x;
  anchor.z += backStep * back.z;
}

void RigCamera::place(float newHeight, float eyeDistance, float eyeX, float eyeZ, float targetX, float targetZ) {
  height = newHeight;
  setEyeDistance(eyeDistance);
  // Velocities are kept: only the positions jump.
  rig.mass(kEyeMass).position = Vector3(eyeX, 0.0f, eyeZ, 0.0f);
  rig.mass(kTargetMass).position = Vector3(targetX, 0.0f, targetZ, 0.0f);
  rig.mass(kAnchorMass).position = Vector3(eyeX, 0.0f, eyeZ, 0.0f);
  update(kPlaceStepSeconds);
}

float RigCamera::eyeDistance() const { return rig.spring(kEyeSpring).restLength; }

void RigCamera::setEyeDistance(float value) {
  rig.spring(kEyeSpring).restLength = std::clamp(value, kNearestEyeDistance, kFarthestEyeDistance);
}
