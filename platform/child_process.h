// Another program run beside ours: started from PATH with its standard input a pipe we feed and its
// standard error kept in a private file, read when it has ended. It runs in a process group of its
// own, so a Ctrl-C at the terminal reaches only us and we decide how it ends; a stop signal while we
// wait for it gives it a short grace period, then ends its group, so none is ever left behind.
#pragma once

#include <string>
#include <vector>

namespace platform {

class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();  // finish()

  // Starts arguments[0], found on PATH, with the rest as its arguments; its standard output is
  // discarded. False, with the reason in error (what failed and errno's text), when it cannot be
  // started.
  bool start(const std::vector<std::string>& arguments, std::string& error);
  // The write end of the child's standard input, non-blocking; -1 once closed.
  int input() const { return input_; }
  // Closes the child's input and waits for it to end: its exit status, or 128 + the signal that
  // ended it; -1 when none was started. Once a stop signal has come, it waits at most
  // kStopGraceSeconds more, then ends the child's process group. A second call returns the same.
  int finish();
  // How the child ended, for a message: "ended with status 1", "was ended by signal 9 (Killed)".
  std::string howItEnded() const;
  // The child was still running when the grace period after a stop signal ran out.
  bool endedByUs() const { return endedByUs_; }
  // The last lines the child wrote on its standard error, up to `count` of them.
  std::string lastErrorLines(int count) const;

  static constexpr double kStopGraceSeconds = 2.0;

 private:
  int pid_ = -1;
  int input_ = -1;
  int errors_ = -1;  // the private file its standard error goes to
  int waitStatus_ = -1;
  bool endedByUs_ = false;
};

// Runs arguments[0] from PATH to its end and returns what it wrote on standard output. False, with
// the reason in error, when it could not be started or did not end with status 0 (then with its
// last line on standard error); error is "not found" when it is not on PATH.
bool runForOutput(const std::vector<std::string>& arguments, std::string& output, std::string& error);

}  // namespace platform
