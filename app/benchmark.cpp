#include "app/benchmark.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "core/draw_counts.h"

namespace {

double wallMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string sceneJson(const SceneFrames& frames) {
  const double count = static_cast<double>(frames.frameMs.size());
  const double maxMs = frames.frameMs.empty() ? 0.0 : *std::max_element(frames.frameMs.begin(), frames.frameMs.end());
  char text[256];
  std::snprintf(text, sizeof text, "{\"frames\": %zu, \"p50ms\": %.2f, \"p99ms\": %.2f, \"maxms\": %.2f, \"cpuMsPerFrame\": %.2f}",
                frames.frameMs.size(), percentile(frames.frameMs, 50.0), percentile(frames.frameMs, 99.0), maxMs,
                count > 0.0 ? frames.cpuMs / count : 0.0);
  return text;
}

}  // namespace

double processCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

double percentile(std::vector<double> values, double p) {
  if (values.empty()) {
    return 0.0;
  }
  std::sort(values.begin(), values.end());
  const double rank = std::ceil(p / 100.0 * static_cast<double>(values.size()));
  const size_t index = rank < 1.0 ? 0 : static_cast<size_t>(rank) - 1;
  return values[std::min(index, values.size() - 1)];
}

BenchmarkRecord::BenchmarkRecord(size_t frameCount, AllocationCounter countAllocations)
    : countAllocations_(countAllocations) {
  outdoor.frameMs.reserve(frameCount);
  title.frameMs.reserve(frameCount);
}

void BenchmarkRecord::beginFrame(int sceneDrawing) {
  current_ = sceneDrawing == 0 ? &outdoor : &title;
  allocationsAtStart_ = countAllocations_ != nullptr ? countAllocations_() : 0;
  countsAtStart_ = drawCounts();
  cpuStartMs_ = processCpuMs();
  wallStartMs_ = wallMs();
}

void BenchmarkRecord::endFrame() {
  if (current_ == nullptr) {
    return;
  }
  const double wall = wallMs() - wallStartMs_;
  current_->cpuMs += processCpuMs() - cpuStartMs_;
  current_->frameMs.push_back(wall);
  if (current_->frameMs.size() > static_cast<size_t>(kBenchmarkWarmUpFrames)) {
    current_->steadyAllocations += countAllocations_ != nullptr ? countAllocations_() - allocationsAtStart_ : 0;
    ++current_->steadyFrames;
  }
  const DrawCounts& now = drawCounts();
  counted_.drawCalls += now.drawCalls - countsAtStart_.drawCalls;
  counted_.triangles += now.triangles - countsAtStart_.triangles;
  counted_.stateChanges += now.stateChanges - countsAtStart_.stateChanges;
  counted_.bytesUploaded += now.bytesUploaded - countsAtStart_.bytesUploaded;
  counted_.queries += now.queries - countsAtStart_.queries;
  counted_.programLinks += now.programLinks - countsAtStart_.programLinks;
  current_ = nullptr;
}

std::string BenchmarkRecord::report(double loadSeconds, double seekSeconds) const {
  const uint64_t frames = outdoor.frameMs.size() + title.frameMs.size();
  const uint64_t steadyFrames = outdoor.steadyFrames + title.steadyFrames;
  const double perFrame = frames > 0 ? 1.0 / static_cast<double>(frames) : 0.0;
  char allocations[32] = "null";
  if (countAllocations_ != nullptr) {
    const uint64_t steadyAllocations = outdoor.steadyAllocations + title.steadyAllocations;
    std::snprintf(allocations, sizeof allocations, "%.2f",
                  steadyFrames > 0 ? static_cast<double>(steadyAllocations) / steadyFrames : 0.0);
  }
  char tail[384];
  std::snprintf(tail, sizeof tail,
                "\"allocationsPerFrame\": %s, \"drawCallsPerFrame\": %.1f, \"trianglesPerFrame\": %.0f, "
                "\"stateChangesPerFrame\": %.1f, \"bytesUploadedPerFrame\": %.0f, \"queriesPerFrame\": %.2f, "
                "\"programLinksPerFrame\": %.3f}",
                allocations, static_cast<double>(counted_.drawCalls) * perFrame,
                static_cast<double>(counted_.triangles) * perFrame,
                static_cast<double>(counted_.stateChanges) * perFrame,
                static_cast<double>(counted_.bytesUploaded) * perFrame, static_cast<double>(counted_.queries) * perFrame,
                static_cast<double>(counted_.programLinks) * perFrame);
  char head[128];
  std::snprintf(head, sizeof head, "{\"loadSeconds\": %.3f, \"seekSeconds\": %.3f, \"frames\": %llu, ", loadSeconds,
                seekSeconds, static_cast<unsigned long long>(frames));
  return std::string(head) + "\"outdoor\": " + sceneJson(outdoor) + ", \"title\": " + sceneJson(title) + ", " + tail;
}
