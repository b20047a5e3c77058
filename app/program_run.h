// What one run of the program keeps between its start-up, its window's messages, its main loop
// and its shutdown, in one place: the window, the presentation, and what the run was asked for.
// The window procedure is called from the platform with no room for a pointer of ours, so the run
// is reached through programRun().
#pragma once

#include <deque>

#include "app/benchmark.h"
#include "app/frame_capture.h"
#include "app/gl_window.h"
#include "app/presentation.h"
#include "app/scripted_keys.h"
#include "app/surface_sizing.h"
#include "core/resource_paths.h"
#include "gpu/frame_context.h"
#include "gpu/gl_debug_report.h"
#include "gpu/off_window_frame.h"

// The window's title, and the one it goes back to after a jump's progress.
constexpr char kWindowTitle[] = "Game";
constexpr char kMusicFile[] = "Vallomere.mp3";

struct ProgramRun {
  GLWindow window;  // the presentation's one window
  Presentation presentation;
  bool loop = false;  // play again from 0 at the end
  bool overlayShown = false;  // F1's time overlay
  // Playback changes asked for by keys, in the order the keys came; carried out before a frame.
  std::deque<PlaybackRequest> pendingRequests;
  ScriptedKeyPlayer scriptedKeys;
  BenchmarkRecord* benchmark = nullptr;  // set for a benchmark run: every frame is recorded
  GLDebugReport* debugReport = nullptr;  // set for a --gl-debug run: the GL's messages are gathered
  // The largest difference seen between a frame's time and the music heard as it starts, in
  // seconds; negative when the music was never the clock.
  double largestMusicGap = -1.0;
  bool titleShowsJump = false;  // the window's title says how far a long jump has come
  FrameCapture capture;
  // A capture keeps the drawable's size at start-up: once the window's size differs, the frames are
  // drawn off the window at that size and shown in the window, scaled, at the window's own size.
  OffWindowFrame offWindowFrame;
  int windowWidth = 0;
  int windowHeight = 0;
  SurfaceSizing surfaces;
  ResourcePaths paths;  // where the loaders read from
};

ProgramRun& programRun();

// What frames are drawn into now: the window's drawable and the surfaces' size for it.
Drawable currentDrawable();
