// Costs of the motion pieces: building a camera path, and one frame of the tween timeline.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "sequence/tween_timeline.h"
#include "world/path_spline.h"

namespace {

// A camera route like the scenes': 8 control points, 60 seconds, five samples a second.
void pathSplineSetPath(benchmark::State& state) {
  std::vector<float> points;
  for (int i = 0; i < 8; ++i) {
    points.push_back(std::cos(i * 0.8f) * 200.0f);
    points.push_back(40.0f + 10.0f * i);
    points.push_back(std::sin(i * 0.8f) * 150.0f);
  }
  PathSpline path;
  for (auto _ : state) {
    path.setPath(60.0f, 300, 8, points.data());
    benchmark::DoNotOptimize(path.totalLength());
  }
}
BENCHMARK(pathSplineSetPath);

// 200 tweens at 50 s into the show: half still playing, half passed and held, so the activation
// pass runs every frame and re-applies the held ones, as it does for most of the presentation.
void tweenTimelineUpdate(benchmark::State& state) {
  TweenTimeline timeline;
  std::vector<float> values(200, 0.0f);
  for (int i = 0; i < 200; ++i) {
    const float start = i % 2 == 0 ? 40.0f + 0.01f * i : 10.0f + 0.1f * i;
    timeline.addFloatTween(&values[i], 0.0f, 1.0f, i % 4, start, start + 30.0f - 25.0f * (i % 2), 0.3f);
  }
  timeline.update(50.0f);
  for (auto _ : state) {
    timeline.update(0.0f);
    benchmark::DoNotOptimize(values.data());
  }
}
BENCHMARK(tweenTimelineUpdate);

}  // namespace
