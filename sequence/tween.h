// Tweens: one value driven by linear interpolation through a time window, saw-tooth or ping-pong.
// A tween's period is always greater than 0; the timeline refuses any other (tween_timeline.h).
#pragma once

#include <memory>

#include "core/vector3.h"

// Repetition inside the window; the held modes keep being applied after the window has passed.
enum TweenMode : int {
  kTweenSawTooth = 0,
  kTweenSawToothHeld = 1,
  kTweenPingPong = 2,
  kTweenPingPongHeld = 3,
};

class Tween {
 public:
  Tween(int modeValue, float startSeconds, float endSeconds, float periodSeconds);
  virtual ~Tween() = default;

  virtual void advance(float dtSeconds);  // localTime += dt
  virtual void apply() = 0;               // writes the value at localTime into the target

  int mode = kTweenSawTooth;
  float localTime = 0.0f;  // the tween's own clock, seconds; starts at `start`
  float start = 0.0f;      // window, seconds of timeline time
  float end = 0.0f;
  float period = 1.0f;  // cycle length, seconds
  bool held = false;    // mode is one of the held modes
  int order = 0;        // its place among the timeline's tweens, in the order they were added

 protected:
  // The blend factor from `from` (0) to `to` (1) at time t, computed in double precision.
  double blendAt(float timeSeconds) const;
};

class FloatTween : public Tween {
 public:
  FloatTween(float* targetValue, float fromValue, float toValue, int modeValue, float startSeconds,
             float endSeconds, float periodSeconds);

  float evaluate(float timeSeconds) const;
  void apply() override;

  float from = 0.0f;
  float to = 0.0f;
  float* target = nullptr;  // never null
};

class VectorTween : public Tween {
 public:
  VectorTween(Vector3* targetValue, const Vector3& fromValue, const Vector3& toValue, int modeValue,
              float startSeconds, float endSeconds, float periodSeconds);

  Vector3 evaluate(float timeSeconds) const;  // all four components
  void apply() override;

  Vector3 from;
  Vector3 to;
  Vector3* target = nullptr;  // never null
};
