#include "world/path_spline.h"

#include <cassert>
#include <cmath>

namespace {

// The curve is measured and walked in steps of a tenth of the parameter span of one sample.
constexpr float kStepFraction = 0.1f;

}  // namespace

void PathSpline::setPath(float durationSeconds, int32_t sampleCount, int32_t pointCount, const float* points) {
  duration_ = durationSeconds;
  totalLength_ = 0.0f;
  points_.clear();
  tangents_.clear();
  samples_.clear();
  if (pointCount <= 0 || points == nullptr) {
    return;
  }
  points_.reserve(static_cast<size_t>(pointCount));
  for (int32_t i = 0; i < pointCount; ++i) {
    points_.emplace_back(points[3 * i], points[3 * i + 1], points[3 * i + 2]);
  }
  computeTangents();
  if (sampleCount > 0) {
    samples_.resize(static_cast<size_t>(sampleCount));
    resample();
  }
}

void PathSpline::computeTangents() {
  const size_t n = points_.size();
  // A single point has no direction; its curve stays on the point.
  tangents_.assign(n, Vector3());
  if (n < 2) {
    return;
  }
  tangents_[0] = (points_[1] - points_[0]) * tangentScale;
  // Central differences, not halved.
  for (size_t i = 1; i + 1 < n; ++i) {
    tangents_[i] = (points_[i + 1] - points_[i - 1]) * tangentScale;
  }
  tangents_[n - 1] = tangents_[n - 2];
}

bool PathSpline::evaluate(float t, Vector3& out) const {
  const double segment = std::trunc(static_cast<double>(t));
  // Between −1 and 0 the first segment is extrapolated; anything earlier has no segment.
  if (!(segment >= 0.0 && segment <= static_cast<double>(pointCount()) - 2.0)) {
    return false;
  }
  const size_t k = static_cast<size_t>(segment);
  const float u = t - static_cast<float>(segment);
  const float u2 = u * u;
  const float u3 = u2 * u;
  const float h00 = 2.0f * u3 - 3.0f * u2 + 1.0f;
  const float h01 = 3.0f * u2 - 2.0f * u3;
  const float h10 = u3 - 2.0f * u2 + u;
  const float h11 = u3 - u2;
  const Vector3& p0 = points_[k];
  const Vector3& p1 = points_[k + 1];
  const Vector3& t0 = tangents_[k];
  const Vector3& t1 = tangents_[k + 1];
  out.x = h00 * p0.x + h01 * p1.x + h10 * t0.x + h11 * t1.x;
  out.y = h00 * p0.y + h01 * p1.y + h10 * t0.y + h11 * t1.y;
  out.z = h00 * p0.z + h01 * p1.z + h10 * t0.z + h11 * t1.z;
  return true;
}

template <typename Visit>
void PathSpline::walkCurve(float step, Visit visit) const {
  const float n = static_cast<float>(pointCount());
  Vector3 previous;
  evaluate(0.0f, previous);
  Vector3 current = previous;
  // Parameters past the last segment leave the point where it was and add nothing.
  for (float t = step; t < n; t += step) {
    evaluate(t, current);
    const float distance = (current - previous).length();
    previous = current;
    if (!visit(current, distance)) {
      return;
    }
  }
}

void PathSpline::resample() {
  const int32_t m = sampleCount();
  samples_[0] = points_.front();
  // Samples the walk does not reach, typically the last one, sit at the end of the curve.
  for (int32_t i = 1; i < m; ++i) {
    samples_[i] = points_.back();
  }
  if (pointCount() < 2) {
    return;
  }
  const float step = static_cast<float>(pointCount() - 1) / static_cast<float>(m) * kStepFraction;
  float length = 0.0f;
  walkCurve(step, [&length](const Vector3&, float distance) {
    length += distance;
    return true;
  });
  totalLength_ = length;

  const float spacing = totalLength_ / static_cast<float>(m - 1);
  float walked = 0.0f;
  int32_t stored = 1;
  walkCurve(step, [&](const Vector3& point, float distance) {
    walked += distance;
    if (walked < spacing) {
      return true;
    }
    if (stored == m) {
      return false;
    }
    // The distance past the sample is carried into the next spacing.
    walked -= spacing;
    samples_[stored] = point;
    ++stored;
    return true;
  });
}

const Vector3& PathSpline::sample(int32_t index) const {
  assert(index >= 0 && index < sampleCount() && "sample index out of range");
  return samples_[index];
}

void PathSpline::copyPosition(const Vector3& from, Vector3& out) {
  out.x = from.x;
  out.y = from.y;
  out.z = from.z;
}

void PathSpline::positionAt(float timeSeconds, Vector3& out) const {
  const int32_t m = sampleCount();
  if (m == 0) {
    return;
  }
  const float distance = timeSeconds / duration_ * totalLength_;
  const float spacing = totalLength_ / static_cast<float>(m - 1);
  if (distance < 0.0f) {
    copyPosition(samples_.front(), out);
    return;
  }
  // Computed in double so that a zero spacing or duration gives no integer overflow: such a
  // path, like any time at or past its end, holds the last sample.
  const double e = std::trunc(static_cast<double>(distance) / spacing);
  if (!(e < static_cast<double>(m - 1))) {
    copyPosition(samples_.back(), out);
    return;
  }
  const int32_t i0 = static_cast<int32_t>(e);
  const int32_t i1 = i0 + 1;
  const float w = (spacing * i1 - distance) / (spacing * i1 - spacing * i0);
  const Vector3& a = samples_[i0];
  const Vector3& b = samples_[i1];
  out.x = (1.0f - w) * b.x + w * a.x;
  out.y = (1.0f - w) * b.y + w * a.y;
  out.z = (1.0f - w) * b.z + w * a.z;
}
