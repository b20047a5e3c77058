// Stop signals (SIGINT, SIGTERM): noted at any moment, a message box being up included, so that
// the program can end promptly and in order, restoring the display mode on its way out.
#pragma once

namespace platform {

// Blocks the stop signals in this and every later thread and hands them to one watcher thread;
// keeps SDL from installing handlers of its own. Call first thing, before any thread or SDL
// start-up. A second stop signal ends the process at once, with 128 + the signal.
void installStopSignalHandlers();
// The stop signal received, or 0 while none has been.
int stopSignal();
// While a box is up, a stop signal closes it (a closed box answers with its default).
void beginBoxWait();
void endBoxWait();

}  // namespace platform
