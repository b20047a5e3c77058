#include "platform/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/stop_signals.h"

extern char** environ;

namespace platform {
namespace {

// A file of our own for the child's standard error, gone from the folder as soon as it is made:
// in $TMPDIR, else (unset, or no file can be made there) in /tmp. -1, with the reason in error,
// when neither takes it.
int privateFile(std::string& error) {
  const char* chosen = std::getenv("TMPDIR");
  std::vector<std::string> folders;
  if (chosen != nullptr && *chosen != '\0') {
    folders.push_back(chosen);
  }
  folders.push_back("/tmp");
  for (const std::string& folder : folders) {
    std::string pattern = folder + "/orvo-gl-XXXXXX";
    const int descriptor = mkostemp(pattern.data(), O_CLOEXEC);
    if (descriptor >= 0) {
      unlink(pattern.c_str());
      error.clear();
      return descriptor;
    }
    error += std::string(error.empty() ? "" : "; ") + "cannot make a temporary file for its messages in " + folder +
             ": " + std::strerror(errno);
  }
  return -1;
}

std::vector<char*> argumentPointers(const std::vector<std::string>& arguments) {
  std::vector<char*> pointers;
  for (const std::string& argument : arguments) {
    pointers.push_back(const_cast<char*>(argument.c_str()));
  }
  pointers.push_back(nullptr);
  return pointers;
}

// Spawns with the given descriptors as the child's standard input, output and error. The child
// gets default signal handling and an empty signal mask: ours blocks the stop signals and ignores
// SIGPIPE, which the child would otherwise inherit.
int spawn(const std::vector<std::string>& arguments, int inputFrom, int outputTo, int errorsTo, bool ownGroup,
          pid_t& pid) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inputFrom, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, outputTo, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errorsTo, STDERR_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  size_t stopSignalCount = 0;
  const int* stopSignals = stopSignalNumbers(stopSignalCount);
  for (size_t i = 0; i < stopSignalCount; ++i) {
    sigaddset(&defaults, stopSignals[i]);
  }
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
  if (ownGroup) {
    flags |= POSIX_SPAWN_SETPGROUP;
    posix_spawnattr_setpgroup(&attributes, 0);
  }
  posix_spawnattr_setflags(&attributes, flags);
  std::vector<char*> argv = argumentPointers(arguments);
  const int result = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return result;
}

// Waits for the child to end; the raw wait status, or -1.
int waitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      return -1;
    }
  }
  return status;
}

// Waits for the child like waitFor, but once a stop signal has come gives it only `graceSeconds`
// more: then its group is asked to end (SIGCONT first, so a stopped child hears it) and, half a
// second later, made to. endedByUs tells whether that was needed.
int waitForUnlessStopped(pid_t pid, double graceSeconds, bool& endedByUs) {
  using Clock = std::chrono::steady_clock;
  constexpr auto kStep = std::chrono::milliseconds(20);
  constexpr double kKillAfterTermSeconds = 0.5;
  bool stopped = false;
  Clock::time_point stopSeen;
  int endingsSent = 0;  // 1: asked to end, 2: made to
  for (;;) {
    int status = 0;
    const pid_t ended = waitpid(pid, &status, WNOHANG);
    if (ended == pid) {
      return status;
    }
    if (ended < 0 && errno != EINTR) {
      return -1;
    }
    if (!stopped && stopSignal() != 0) {
      stopped = true;
      stopSeen = Clock::now();
    }
    const double sinceStop = stopped ? std::chrono::duration<double>(Clock::now() - stopSeen).count() : 0.0;
    if (stopped && endingsSent == 0 && sinceStop >= graceSeconds) {
      endedByUs = true;
      kill(-pid, SIGCONT);
      kill(-pid, SIGTERM);
      endingsSent = 1;
    } else if (endingsSent == 1 && sinceStop >= graceSeconds + kKillAfterTermSeconds) {
      kill(-pid, SIGKILL);
      endingsSent = 2;
    }
    std::this_thread::sleep_for(kStep);
  }
}

// The exit status, or 128 + the signal that ended it, as a shell reports it.
int shellStatus(int waitStatus) {
  if (waitStatus < 0) {
    return -1;
  }
  return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
}

// The last lines of a text, up to `count` of them, without its final line ends.
std::string lastLinesOf(std::string text, int count) {
  while (!text.empty() && text.back() == '\n') {
    text.pop_back();
  }
  size_t from = text.size();
  for (int line = 0; line < count && from > 0; ++line) {
    const size_t lineEnd = text.rfind('\n', from - 1);
    if (lineEnd == std::string::npos) {
      return text;
    }
    from = lineEnd;
  }
  return from < text.size() ? text.substr(from + 1) : text;
}

// Everything in a file, or its last 16 kB when it is longer than 64 kB.
std::string textOf(int descriptor) {
  std::string text;
  char buffer[4096];
  ssize_t got = 0;
  off_t offset = 0;
  while ((got = pread(descriptor, buffer, sizeof buffer, offset)) > 0) {
    text.append(buffer, static_cast<size_t>(got));
    offset += got;
    // Only the end matters; a chatty child must not fill our memory.
    if (text.size() > 65536) {
      text.erase(0, text.size() - 16384);
    }
  }
  return text;
}

}  // namespace

ChildProcess::~ChildProcess() {
  finish();
  if (errors_ >= 0) {
    close(errors_);
  }
}

bool ChildProcess::start(const std::vector<std::string>& arguments, std::string& error) {
  int pipeEnds[2] = {-1, -1};
  errors_ = privateFile(error);
  if (errors_ < 0) {
    return false;
  }
  const int discard = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (discard < 0 || pipe2(pipeEnds, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    if (discard >= 0) {
      close(discard);
    }
    return false;
  }
  pid_t pid = -1;
  const int result = spawn(arguments, pipeEnds[0], discard, errors_, true, pid);
  close(pipeEnds[0]);
  close(discard);
  if (result != 0) {
    close(pipeEnds[1]);
    error = std::strerror(result);
    return false;
  }
  pid_ = pid;
  watchChildGroup(pid_);
  input_ = pipeEnds[1];
  // A frame is large: a larger pipe lets the child take more of it while we draw the next one.
  // Writes never block, so that a stop signal can end a wait for room.
  fcntl(input_, F_SETPIPE_SZ, 1 << 20);
  fcntl(input_, F_SETFL, fcntl(input_, F_GETFL) | O_NONBLOCK);
  return true;
}

int ChildProcess::finish() {
  if (input_ >= 0) {
    close(input_);
    input_ = -1;
  }
  if (pid_ >= 0) {
    waitStatus_ = waitForUnlessStopped(pid_, kStopGraceSeconds, endedByUs_);
    forgetChildGroup(pid_);
    pid_ = -1;
  }
  return shellStatus(waitStatus_);
}

std::string ChildProcess::howItEnded() const {
  if (waitStatus_ < 0) {
    return "could not be waited for";
  }
  if (WIFEXITED(waitStatus_)) {
    return "ended with status " + std::to_string(WEXITSTATUS(waitStatus_));
  }
  const int signal = WTERMSIG(waitStatus_);
  return "was ended by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
}

std::string ChildProcess::lastErrorLines(int count) const {
  return errors_ < 0 ? std::string() : lastLinesOf(textOf(errors_), count);
}

bool runForOutput(const std::vector<std::string>& arguments, std::string& output, std::string& error) {
  int pipeEnds[2] = {-1, -1};
  const int errors = privateFile(error);
  if (errors < 0) {
    return false;
  }
  const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (nothing < 0 || pipe2(pipeEnds, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    if (nothing >= 0) {
      close(nothing);
    }
    close(errors);
    return false;
  }
  pid_t pid = -1;
  const int result = spawn(arguments, nothing, pipeEnds[1], errors, false, pid);
  close(pipeEnds[1]);
  close(nothing);
  if (result != 0) {
    close(pipeEnds[0]);
    close(errors);
    error = result == ENOENT ? "not found" : std::strerror(result);
    return false;
  }
  char buffer[4096];
  ssize_t got = 0;
  while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
    if (got > 0) {
      output.append(buffer, static_cast<size_t>(got));
    }
  }
  close(pipeEnds[0]);
  const int status = shellStatus(waitFor(pid));
  const std::string lastError = lastLinesOf(textOf(errors), 1);
  close(errors);
  if (status != 0) {
    error = "it ended with status " + std::to_string(status) + (lastError.empty() ? "" : ": " + lastError);
    return false;
  }
  return true;
}

}  // namespace platform
