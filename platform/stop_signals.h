// Stop signals (SIGINT, SIGTERM, SIGHUP): noted at any moment, a message box being up included, so
// that the program can end promptly and in order, restoring the display mode on its way out.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>

namespace platform {

enum class WriteOutcome { Written, Failed, Stopped };

// Blocks the stop signals in this and every later thread and hands them to one watcher thread;
// keeps SDL from installing handlers of its own. Call first thing, before any thread or SDL
// start-up. A second stop signal ends the process at once, with 128 + the signal, and every
// child process group being watched with it. A reader that goes away (SIGPIPE) no longer ends the
// process: the write fails with EPIPE instead.
void installStopSignalHandlers();
// The signals that stop the program, for a child that must get their default handling back.
const int* stopSignalNumbers(size_t& count);
// A child's process group that a second stop signal ends with the process (SIGKILL); a few at most.
void watchChildGroup(pid_t group);
void forgetChildGroup(pid_t group);
// The stop signal received, or 0 while none has been.
int stopSignal();
// While a box is up, a stop signal closes it (a closed box answers with its default).
void beginBoxWait();
void endBoxWait();
// Writes all the bytes to the descriptor, errno telling why when it fails. A reader that takes
// nothing (a full pipe) is waited for in short steps, so a stop signal ends the wait: the rest is
// then left unwritten. `stillWaiting`, when given, hears after each step how long (in seconds) the
// reader has taken nothing.
WriteOutcome writeUnlessStopped(int descriptor, const void* bytes, size_t sizeBytes,
                                const std::function<void(double)>& stillWaiting = {});
// Opens a file for writing, made or emptied. A named pipe that nobody reads yet is waited for in
// short steps until a reader comes or a stop signal arrives (Stopped, and -1 in descriptor).
WriteOutcome openForWritingUnlessStopped(const char* path, int& descriptor);

}  // namespace platform
