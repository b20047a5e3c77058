#include "sequence/tween.h"

#include <cmath>

namespace {

bool isPingPong(int mode) { return mode == kTweenPingPong || mode == kTweenPingPongHeld; }

bool isHeld(int mode) { return mode == kTweenSawToothHeld || mode == kTweenPingPongHeld; }

float blend(double fraction, float from, float to) {
  return static_cast<float>((1.0 - fraction) * from + fraction * to);
}

}  // namespace

Tween::Tween(int modeValue, float startSeconds, float endSeconds, float periodSeconds)
    : mode(modeValue),
      localTime(startSeconds),
      start(startSeconds),
      end(endSeconds),
      period(periodSeconds),
      held(isHeld(modeValue)) {}

void Tween::advance(float dtSeconds) { localTime += dtSeconds; }

double Tween::blendAt(float timeSeconds) const {
  float t = timeSeconds;
  bool clampedToEnd = false;
  if (t < start) {
    t = start;
  } else if (t >= end) {
    t = end;
    clampedToEnd = true;
  }
  // A saw-tooth finishes exactly on `to`, so a one-pass move lands where it was sent.
  if (clampedToEnd && !isPingPong(mode)) {
    return 1.0;
  }
  // The timeline never registers such a tween; one built by hand stays at `from`.
  if (!(period > 0.0f)) {
    return 0.0;
  }
  const double cycle = period;
  double u = static_cast<double>(t) - start;
  u -= std::trunc(u / cycle) * cycle;
  // One ping-pong cycle runs from `from` to `to` and back again.
  if (isPingPong(mode)) {
    u *= 2.0;
    if (u > cycle) {
      u = 2.0 * cycle - u;
    }
  }
  return u / cycle;
}

FloatTween::FloatTween(float* targetValue, float fromValue, float toValue, int modeValue, float startSeconds,
                       float endSeconds, float periodSeconds)
    : Tween(modeValue, startSeconds, endSeconds, periodSeconds), from(fromValue), to(toValue), target(targetValue) {}

float FloatTween::evaluate(float timeSeconds) const { return blend(blendAt(timeSeconds), from, to); }

void FloatTween::apply() { *target = evaluate(localTime); }

VectorTween::VectorTween(Vector3* targetValue, const Vector3& fromValue, const Vector3& toValue, int modeValue,
                         float startSeconds, float endSeconds, float periodSeconds)
    : Tween(modeValue, startSeconds, endSeconds, periodSeconds), from(fromValue), to(toValue), target(targetValue) {}

Vector3 VectorTween::evaluate(float timeSeconds) const {
  const double f = blendAt(timeSeconds);
  return Vector3(blend(f, from.x, to.x), blend(f, from.y, to.y), blend(f, from.z, to.z), blend(f, from.w, to.w));
}

void VectorTween::apply() { *target = evaluate(localTime); }

