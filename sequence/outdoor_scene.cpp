#include "sequence/outdoor_scene.h"

#include "sequence/jump_cut_clock.h"

namespace {

constexpr float kGreenTintSeconds = 80.0f;

// Eight control points each, (x, y, z): the eye comes down from high above, passes low over the
// ground and climbs away at the end; the target keeps to the landscape until its last two points.
constexpr int kCameraPointCount = 8;
constexpr float kEyePath[kCameraPointCount * 3] = {
    -100.0f, 230.0f, 0.0f,
    -80.0f,  35.0f,  -30.0f,
    60.0f,   20.0f,  30.0f,
    -10.0f,  25.0f,  80.0f,
    30.0f,   25.0f,  -10.0f,
    -50.0f,  35.0f,  100.0f,
    -70.0f,  60.0f,  50.0f,
    -70.0f,  180.0f, 50.0f,
};
constexpr float kTargetPath[kCameraPointCount * 3] = {
    -10.0f, 10.0f,  0.0f,
    -40.0f, 5.0f,   -20.0f,
    60.0f,  2.0f,   30.0f,
    0.0f,   5.0f,   0.0f,
    30.0f,  15.0f,  -110.0f,
    -35.0f, 3.0f,   80.0f,
    50.0f,  50.0f,  50.0f,
    70.0f,  180.0f, 50.0f,
};

}  // namespace

bool outdoorSceneDraws(float timeSeconds) { return timeSeconds <= kOutdoorSceneEndSeconds; }

TintColour outdoorTint(float timeSeconds) {
  if (timeSeconds <= kJumpCutsStartSeconds) {
    return TintColour{1.0f, 1.0f, 1.0f, 1.0f};
  }
  if (timeSeconds <= kGreenTintSeconds) {
    return TintColour{0.0f, 1.0f, 0.0f, 1.0f};
  }
  return TintColour{0.6f, (kOutdoorSceneEndSeconds - timeSeconds) * 0.1f, 0.0f, 1.0f};
}

void OutdoorScene::init() {
  camera.setPaths(kCameraFlightSeconds, kCameraPointCount, kEyePath, kCameraPointCount, kTargetPath);
}
