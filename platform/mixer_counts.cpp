// The mixer's bookkeeping, the same on every target: the counts the mixing thread leaves for the
// frame loop and the heard position worked out from them.
#include "platform/mixer.h"

#include <algorithm>

namespace platform {

void MixCounts::recordMix(uint64_t frames, uint64_t counter) {
  // Only the audio thread writes, so its own read of the count needs no lock.
  write(mixedFrames_.load(std::memory_order_relaxed) + frames, counter);
}

void MixCounts::reset() { write(0, 0); }

void MixCounts::write(uint64_t mixedFrames, uint64_t lastMixCounter) {
  const uint32_t sequence = sequence_.load(std::memory_order_relaxed);
  sequence_.store(sequence + 1, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  mixedFrames_.store(mixedFrames, std::memory_order_relaxed);
  lastMixCounter_.store(lastMixCounter, std::memory_order_relaxed);
  sequence_.store(sequence + 2, std::memory_order_release);
}

MixCounts::Snapshot MixCounts::read() const {
  for (;;) {
    const uint32_t before = sequence_.load(std::memory_order_acquire);
    Snapshot snapshot;
    snapshot.mixedFrames = mixedFrames_.load(std::memory_order_relaxed);
    snapshot.lastMixCounter = lastMixCounter_.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if ((before & 1u) == 0 && sequence_.load(std::memory_order_relaxed) == before) {
      return snapshot;
    }
  }
}

double secondsSinceMix(uint64_t lastMixCounter, uint64_t now, uint64_t frequency) {
  if (lastMixCounter == 0 || now <= lastMixCounter || frequency == 0) {
    return 0.0;
  }
  return static_cast<double>(now - lastMixCounter) / static_cast<double>(frequency);
}

double heardSeconds(uint64_t mixedFrames, uint32_t startFrame, int bufferFrames, int frequencyHz,
                    double secondsSinceMix) {
  if (frequencyHz <= 0) {
    return 0.0;
  }
  // Whatever was mixed before the latest buffer is out; of that buffer, what has drained since.
  const double waiting = static_cast<double>(std::min<uint64_t>(mixedFrames, static_cast<uint64_t>(bufferFrames)));
  const double drained = std::min(std::max(secondsSinceMix, 0.0) * frequencyHz, waiting);
  const double heard = static_cast<double>(mixedFrames) - waiting + drained;
  return (static_cast<double>(startFrame) + heard) / frequencyHz;
}

}  // namespace platform
