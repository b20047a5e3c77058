#include "core/frame_timer.h"

#include <chrono>
#include <cmath>

namespace {

int64_t steadyCounter() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int64_t steadyFrequency() { return 1000000000; }

int64_t gFixedStepTicks = 0;
int64_t gFixedStepCount = 0;
int64_t gFixedStepFrequency = 1000000000;

int64_t fixedStepFrequency() { return gFixedStepFrequency; }

int64_t fixedStepCounter() {
  gFixedStepCount += gFixedStepTicks;
  return gFixedStepCount;
}

}  // namespace

TickSource steadyClockTicks() {
  TickSource source;
  source.counter = &steadyCounter;
  source.frequency = &steadyFrequency;
  return source;
}

TickSource fixedStepTicks(double stepSeconds) {
  gFixedStepTicks = static_cast<int64_t>(stepSeconds * 1.0e9 + 0.5);
  gFixedStepFrequency = steadyFrequency();
  gFixedStepCount = 0;
  TickSource source;
  source.counter = &fixedStepCounter;
  source.frequency = &fixedStepFrequency;
  return source;
}

TickSource frameCountTicks(int framesPerSecond) {
  gFixedStepTicks = 1;
  gFixedStepFrequency = framesPerSecond;
  gFixedStepCount = 0;
  TickSource source;
  source.counter = &fixedStepCounter;
  source.frequency = &fixedStepFrequency;
  return source;
}

FrameTimer::FrameTimer(TickSource source) : source_(source) {}

void FrameTimer::setTickSource(TickSource source) {
  source_ = source;
  frequency = 0;
}

void FrameTimer::reset() {
  if (frequency == 0) {
    frequency = source_.frequency();
  }
  startCount = source_.counter();
  currentCount = previousCount = startCount;
  elapsed = 0.0f;
  delta = 0.0f;
}

void FrameTimer::update() {
  previousCount = currentCount;
  currentCount = source_.counter();
  if (frequency == 0) {
    return;
  }
  const double ticksPerSecond = static_cast<double>(frequency);
  delta = static_cast<float>(static_cast<double>(currentCount - previousCount) / ticksPerSecond);
  elapsed = static_cast<float>(static_cast<double>(currentCount - startCount) / ticksPerSecond);
}

void FrameTimer::rebase(int64_t elapsedTicksValue) {
  startCount = currentCount - elapsedTicksValue;
  elapsed = frequency != 0 ? static_cast<float>(static_cast<double>(elapsedTicksValue) / static_cast<double>(frequency))
                           : 0.0f;
  delta = 0.0f;
}

int64_t FrameTimer::ticksOf(double seconds) const {
  return static_cast<int64_t>(std::llround(seconds * static_cast<double>(frequency)));
}
