// A constant-speed path: a cubic Hermite curve through control points, re-sampled at equal spacing.
// With no control points nothing is written; with one, every position is that point.
#pragma once

#include <cstdint>
#include <vector>

#include "core/vector3.h"

class PathSpline {
 public:
  PathSpline() = default;
  virtual ~PathSpline() = default;

  // points: pointCount packed (x, y, z) triples, copied. Computes tangents, length and samples.
  void setPath(float durationSeconds, int32_t sampleCount, int32_t pointCount, const float* points);
  // The curve at parameter t (0 at the first control point, 1 at the second, …); x, y, z only.
  // False, leaving out as it was, before −1 or from the last control point on.
  bool evaluate(float t, Vector3& out) const;
  // Where the mover is after timeSeconds at constant speed; holds the last sample past the end
  // and the first before 0. Writes x, y, z only.
  void positionAt(float timeSeconds, Vector3& out) const;

  float duration() const { return duration_; }
  float totalLength() const { return totalLength_; }
  int32_t pointCount() const { return static_cast<int32_t>(points_.size()); }
  int32_t sampleCount() const { return static_cast<int32_t>(samples_.size()); }
  const Vector3& sample(int32_t index) const;

  float tangentScale = 1.0f;  // factor on the point differences that make the tangents

 private:
  void computeTangents();
  // Calls visit(point, distance from the previous point) at t = step, 2·step, … while t < n;
  // stops early when visit returns false.
  template <typename Visit>
  void walkCurve(float step, Visit visit) const;
  void resample();
  static void copyPosition(const Vector3& from, Vector3& out);

  float duration_ = 0.0f;     // seconds to travel the whole path
  float totalLength_ = 0.0f;  // as measured by the re-sampling walk
  std::vector<Vector3> points_;
  std::vector<Vector3> tangents_;
  std::vector<Vector3> samples_;
};
