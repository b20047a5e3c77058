// A page gets no stop signals: it ends when the page closes. Its files are in memory and never
// wait for a reader.
#include "platform/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>


namespace platform {

void installStopSignalHandlers() {}

int stopSignal() { return 0; }

const int* stopSignalNumbers(size_t& count) {
  count = 0;
  return nullptr;
}

void watchChildGroup(pid_t /*group*/) {}

void forgetChildGroup(pid_t /*group*/) {}

void beginBoxWait() {}

void endBoxWait() {}

// The page's files are in memory: a write takes everything or fails.
WriteOutcome writeUnlessStopped(int descriptor, const void* bytes, size_t sizeBytes,
                                const std::function<void(double)>& /*stillWaiting*/) {
  const ssize_t written = write(descriptor, bytes, sizeBytes);
  return written >= 0 && static_cast<size_t>(written) == sizeBytes ? WriteOutcome::Written : WriteOutcome::Failed;
}

WriteOutcome openForWritingUnlessStopped(const char* path, int& descriptor) {
  descriptor = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  return descriptor >= 0 ? WriteOutcome::Written : WriteOutcome::Failed;
}

}  // namespace platform
