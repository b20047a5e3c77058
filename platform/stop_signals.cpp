#include "platform/stop_signals.h"

#include <SDL.h>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace platform {
namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<int> gStopSignal(0);
// Child process groups to end with the process on a second stop signal; 0 marks a free place.
constexpr int kWatchedGroups = 4;
std::atomic<pid_t> gWatchedGroups[kWatchedGroups];
std::atomic<bool> gBoxWaiting(false);
std::atomic<bool> gInstalled(false);

constexpr std::chrono::milliseconds kBoxClosePollInterval(50);
// How long a write waits for room before it looks at the stop signal again.
constexpr int kWriteWaitMilliseconds = 50;

// The parent process id of a /proc/PID/stat line: the field after the closing parenthesis of
// the command name and the state letter.
long parentOf(const std::string& statLine) {
  const size_t nameEnd = statLine.rfind(')');
  if (nameEnd == std::string::npos || nameEnd + 4 >= statLine.size()) {
    return -1;
  }
  return std::strtol(statLine.c_str() + nameEnd + 4, nullptr, 10);
}

// SDL shows its boxes from a child process it waits for; ending our children ends the wait.
// While a box is up no other child of ours runs.
void endChildProcesses() {
  DIR* processes = opendir("/proc");
  if (processes == nullptr) {
    return;
  }
  const long self = static_cast<long>(getpid());
  while (const dirent* entry = readdir(processes)) {
    char* end = nullptr;
    const long pid = std::strtol(entry->d_name, &end, 10);
    if (pid <= 0 || *end != '\0') {
      continue;
    }
    const std::string statPath = "/proc/" + std::string(entry->d_name) + "/stat";
    std::FILE* stat = std::fopen(statPath.c_str(), "r");
    if (stat == nullptr) {
      continue;
    }
    char line[512] = {};
    const bool read = std::fgets(line, sizeof(line), stat) != nullptr;
    std::fclose(stat);
    if (read && parentOf(line) == self) {
      kill(static_cast<pid_t>(pid), SIGKILL);
    }
  }
  closedir(processes);
}

void watchStopSignals(sigset_t signals) {
  for (;;) {
    int received = 0;
    if (sigwait(&signals, &received) != 0) {
      continue;
    }
    if (gStopSignal.load() != 0) {
      // Asked twice: whoever sends it wants the process gone now, and nothing of ours left behind.
      for (const std::atomic<pid_t>& group : gWatchedGroups) {
        const pid_t watched = group.load();
        if (watched > 0) {
          kill(-watched, SIGKILL);
        }
      }
      _exit(128 + received);
    }
    gStopSignal.store(received);
    // The box may only be forking its child yet: keep closing until the wait has ended.
    while (gBoxWaiting.load()) {
      endChildProcesses();
      std::this_thread::sleep_for(kBoxClosePollInterval);
    }
  }
}

}  // namespace

void installStopSignalHandlers() {
  if (gInstalled.exchange(true)) {
    return;
  }
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  sigset_t signals;
  sigemptyset(&signals);
  for (const int signal : kStopSignals) {
    sigaddset(&signals, signal);
  }
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  // A capture reader that goes away must be reported like any failed write, not end the run.
  signal(SIGPIPE, SIG_IGN);
  std::thread(watchStopSignals, signals).detach();
}

int stopSignal() { return gStopSignal.load(); }

const int* stopSignalNumbers(size_t& count) {
  count = sizeof kStopSignals / sizeof kStopSignals[0];
  return kStopSignals;
}

void watchChildGroup(pid_t group) {
  for (std::atomic<pid_t>& place : gWatchedGroups) {
    pid_t free = 0;
    if (place.compare_exchange_strong(free, group)) {
      return;
    }
  }
}

void forgetChildGroup(pid_t group) {
  for (std::atomic<pid_t>& place : gWatchedGroups) {
    pid_t watched = group;
    place.compare_exchange_strong(watched, 0);
  }
}

void beginBoxWait() { gBoxWaiting.store(true); }

void endBoxWait() { gBoxWaiting.store(false); }

WriteOutcome writeUnlessStopped(int descriptor, const void* bytes, size_t sizeBytes,
                                const std::function<void(double)>& stillWaiting) {
  // The stop signals are blocked in this thread, so nothing would interrupt a write that waits on
  // a reader. Only a file on disk never waits; anything else gets at most a pipe buffer's worth at
  // a time, the most that room for one write promises to take without waiting.
  // A descriptor that never blocks takes as much as there is room for at once.
  struct stat target = {};
  const bool mayWait = fstat(descriptor, &target) != 0 || !S_ISREG(target.st_mode);
  const bool neverBlocks = (fcntl(descriptor, F_GETFL) & O_NONBLOCK) != 0;
  const size_t largestWrite = mayWait && !neverBlocks ? PIPE_BUF : sizeBytes;
  const char* next = static_cast<const char*>(bytes);
  size_t left = sizeBytes;
  auto lastTaken = std::chrono::steady_clock::now();
  while (left > 0) {
    if (gStopSignal.load() != 0) {
      return WriteOutcome::Stopped;
    }
    pollfd room = {descriptor, POLLOUT, 0};
    const int ready = poll(&room, 1, kWriteWaitMilliseconds);
    if (ready < 0 && errno != EINTR) {
      return WriteOutcome::Failed;
    }
    if (ready <= 0) {
      if (stillWaiting) {
        stillWaiting(std::chrono::duration<double>(std::chrono::steady_clock::now() - lastTaken).count());
      }
      continue;
    }
    const ssize_t written = write(descriptor, next, std::min(left, largestWrite));
    if (written < 0 && errno != EINTR && errno != EAGAIN) {
      return WriteOutcome::Failed;
    }
    if (written > 0) {
      next += written;
      left -= static_cast<size_t>(written);
      lastTaken = std::chrono::steady_clock::now();
    }
  }
  return WriteOutcome::Written;
}

WriteOutcome openForWritingUnlessStopped(const char* path, int& descriptor) {
  // Opening a named pipe for writing blocks until a reader opens it, where no signal could end the
  // wait; opened without blocking it fails with ENXIO until then, so the wait is ours to bound.
  for (;;) {
    descriptor = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0644);
    if (descriptor >= 0) {
      // Writes wait for room themselves (writeUnlessStopped); the descriptor blocks as usual.
      const int flags = fcntl(descriptor, F_GETFL);
      fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
      return WriteOutcome::Written;
    }
    if (errno != ENXIO && errno != EINTR) {
      return WriteOutcome::Failed;
    }
    if (gStopSignal.load() != 0) {
      return WriteOutcome::Stopped;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kWriteWaitMilliseconds));
  }
}

}  // namespace platform
