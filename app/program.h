// The program's spine: start-up, the message-polling main loop, and shutdown. The sections live in
// program_start_up.cpp, program_window_input.cpp, program_main_loop.cpp and program.cpp.
#pragma once

#include "app/benchmark.h"
#include "app/options.h"
#include "platform/native_window.h"

class VideoOutput;

// Runs start-up, the main loop and shutdown; the process exit status. The benchmark reports the
// allocations the counter sees, when one is given.
int runPresentation(const AppOptions& options, AllocationCounter countAllocations = nullptr);

bool startUp(const AppOptions& options);
// Returns the number of frames drawn.
long mainLoop();
// A video's frames: one shown frame for each of the video's, with the presentation's own steps
// between them played without showing where the video is slower than the presentation's longest
// step. No window messages, keys or pacing: nobody watches. Returns the number of frames drawn.
long videoLoop(VideoOutput& video, int stepsPerVideoFrame);
void shutDown();

// Records input, size and activity from the window's messages.
long windowProcedure(const platform::WindowMessage& message);

// A jump that takes a while shows in the window's title how far it has come, since the window
// shows no new frame meanwhile; the title goes back once the jump is over.
void showJumpProgress(float doneShare);
void endJumpProgress();

// Seconds of a steady clock, for measuring frames.
double steadySeconds();
// The display's frame period, or that of 60 Hz where its rate is not known.
double displayFramePeriod();
