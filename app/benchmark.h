// The benchmark's record of a run: each frame's wall time and the process's CPU time (all threads,
// the software renderer's included), per scene, with allocations, draw calls, triangles, bytes
// uploaded, GL queries and program links, and the JSON line it reports at the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/draw_counts.h"

// Frames of each scene left out of the allocation count while caches and pools fill.
constexpr int kBenchmarkWarmUpFrames = 60;

struct SceneFrames {
  std::vector<double> frameMs;
  double cpuMs = 0.0;
  uint64_t steadyAllocations = 0;
  uint64_t steadyFrames = 0;
};

// The number of allocations the process has made so far; only the program itself counts them.
using AllocationCounter = uint64_t (*)();

class BenchmarkRecord {
 public:
  // Room for frameCount frames, so that recording allocates nothing while the frames run. Without
  // a counter the report gives no allocation figure (null).
  explicit BenchmarkRecord(size_t frameCount = 0, AllocationCounter countAllocations = nullptr);
  // Around one frame: just before the scenes' update, and just after the swap. The frame is filed
  // under the landscape when the first scene draws it, and under the titles otherwise.
  void beginFrame(int sceneDrawing);
  void endFrame();
  // {"loadSeconds": …, "seekSeconds": …, "frames": …, "outdoor": {…}, "title": {…},
  //  "allocationsPerFrame": …, "drawCallsPerFrame": …, "trianglesPerFrame": …,
  //  "stateChangesPerFrame": …, "bytesUploadedPerFrame": …, "queriesPerFrame": …,
  //  "programLinksPerFrame": …}
  std::string report(double loadSeconds, double seekSeconds) const;

  SceneFrames outdoor;
  SceneFrames title;

 private:
  AllocationCounter countAllocations_ = nullptr;
  SceneFrames* current_ = nullptr;
  double wallStartMs_ = 0.0;
  double cpuStartMs_ = 0.0;
  uint64_t allocationsAtStart_ = 0;
  DrawCounts countsAtStart_;
  DrawCounts counted_;
};

// Milliseconds of CPU the whole process has used, every thread included.
double processCpuMs();
// The p-th percentile (0 to 100) of the values, nearest rank; 0 for none.
double percentile(std::vector<double> values, double p);
