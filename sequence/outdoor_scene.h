// The first 90 seconds: a flight over a landscape with palms, windmills, a launcher firing
// missiles, smoke and stars, drawn into the shared render target and laid over the window tinted.
#pragma once

#include "sequence/camera.h"
#include "sequence/scene.h"

constexpr float kOutdoorSceneEndSeconds = 90.0f;
constexpr float kCameraFlightSeconds = 60.0f;

struct TintColour {
  float r = 1.0f;
  float g = 1.0f;
  float b = 1.0f;
  float a = 1.0f;
};

// The scene draws up to and including 90 s.
bool outdoorSceneDraws(float timeSeconds);
// The colour the picture is laid over the window with: white up to 49 s, green up to 80 s, then a
// fade from (0.6, 1, 0) to dark red at 90 s.
TintColour outdoorTint(float timeSeconds);

class OutdoorScene : public Scene {
 public:
  void init() override;  // the camera's 60-second eye and target paths

  PathCamera camera;
};
