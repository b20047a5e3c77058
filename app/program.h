// The program's spine: start-up, the message-polling main loop, and shutdown.
#pragma once

#include "app/benchmark.h"
#include "app/options.h"
#include "platform/native_window.h"

// Runs start-up, the main loop and shutdown; the process exit status. The benchmark reports the
// allocations the counter sees, when one is given.
int runPresentation(const AppOptions& options, AllocationCounter countAllocations = nullptr);

bool startUp(const AppOptions& options);
// Returns the number of frames drawn.
long mainLoop();
void shutDown();

// Records input, size and activity from the window's messages.
long windowProcedure(const platform::WindowMessage& message);
