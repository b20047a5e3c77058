// Presentation time and frame duration, measured on a high-resolution tick counter.
#pragma once

#include <cstdint>

// Where the timer reads its ticks; the program uses the platform's performance counter and
// tests a counter of their own.
struct TickSource {
  int64_t (*counter)() = nullptr;
  int64_t (*frequency)() = nullptr;
};

// Ticks of std::chrono::steady_clock, for code that runs without the platform layer.
TickSource steadyClockTicks();
// Ticks that advance by one fixed step at every read, so that time follows the number of
// samples rather than the clock (repeatable runs and video capture). One such source per process.
TickSource fixedStepTicks(double stepSeconds);
// Ticks that count frames, framesPerSecond to the second: frame k is at exactly k / framesPerSecond
// seconds, however long the run. Shares fixedStepTicks's one source per process.
TickSource frameCountTicks(int framesPerSecond);

class FrameTimer {
 public:
  explicit FrameTimer(TickSource source = steadyClockTicks());
  virtual ~FrameTimer() = default;

  void setTickSource(TickSource source);  // takes effect at the next reset
  void reset();   // a new time base; the frequency is asked for once per timer
  void update();  // a new sample: recomputes elapsed and delta
  // Moves the time base so that, as of the last sample, elapsedTicks ticks have passed; delta is 0.
  void rebase(int64_t elapsedTicks);
  int64_t elapsedTicks() const { return currentCount - startCount; }
  int64_t ticksOf(double seconds) const;  // at this timer's frequency, rounded

  // Seconds; computed from 64-bit tick differences in double precision, never accumulated.
  float elapsed = 0.0f;
  float delta = 0.0f;
  int64_t startCount = 0;
  int64_t currentCount = 0;
  int64_t previousCount = 0;
  int64_t frequency = 0;

 private:
  TickSource source_;
};
