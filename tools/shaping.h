// Small shaping curves the baker's painters and landscape share.
#pragma once

namespace baker {

inline float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

// 0 below edge0, 1 above edge1, a smooth S between (edge0 may be above edge1 for a falling S).
inline float smoothStep(float edge0, float edge1, float x) {
  const float t = clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3.0f - 2.0f * t);
}

inline float mixValue(float a, float b, float t) { return a + (b - a) * t; }

}  // namespace baker
