#include "platform/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace platform {
namespace {

// A file of our own for the child's standard error, gone from the folder as soon as it is made.
int privateFile() {
  const char* folder = std::getenv("TMPDIR");
  std::string pattern = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/orvo-gl-XXXXXX";
  const int descriptor = mkstemp(pattern.data());
  if (descriptor >= 0) {
    unlink(pattern.c_str());
    fcntl(descriptor, F_SETFD, FD_CLOEXEC);
  }
  return descriptor;
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
  for (const int signal : {SIGPIPE, SIGINT, SIGTERM}) {
    sigaddset(&defaults, signal);
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

int waitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      return -1;
    }
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
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
  errors_ = privateFile();
  const int discard = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (errors_ < 0 || discard < 0 || pipe2(pipeEnds, O_CLOEXEC) != 0) {
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
    status_ = waitFor(pid_);
    pid_ = -1;
  }
  return status_;
}

std::string ChildProcess::lastErrorLines(int count) const {
  if (errors_ < 0) {
    return std::string();
  }
  std::string text;
  char buffer[4096];
  ssize_t got = 0;
  off_t offset = 0;
  while ((got = pread(errors_, buffer, sizeof buffer, offset)) > 0) {
    text.append(buffer, static_cast<size_t>(got));
    offset += got;
    // Only the end matters; a chatty child must not fill our memory.
    if (text.size() > 65536) {
      text.erase(0, text.size() - 16384);
    }
  }
  while (!text.empty() && text.back() == '\n') {
    text.pop_back();
  }
  size_t from = text.size();
  for (int line = 0; line < count && from != std::string::npos && from > 0; ++line) {
    from = text.rfind('\n', from - 1);
  }
  return from == std::string::npos ? text : text.substr(from + 1);
}

bool runForOutput(const std::vector<std::string>& arguments, std::string& output, std::string& error) {
  int pipeEnds[2] = {-1, -1};
  const int nothing = open("/dev/null", O_RDWR | O_CLOEXEC);
  if (nothing < 0 || pipe2(pipeEnds, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    if (nothing >= 0) {
      close(nothing);
    }
    return false;
  }
  pid_t pid = -1;
  const int result = spawn(arguments, nothing, pipeEnds[1], nothing, false, pid);
  close(pipeEnds[1]);
  close(nothing);
  if (result != 0) {
    close(pipeEnds[0]);
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
  const int status = waitFor(pid);
  if (status != 0) {
    error = "it ended with status " + std::to_string(status);
    return false;
  }
  return true;
}

}  // namespace platform
