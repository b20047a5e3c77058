// The program's command-line options. With none, the presentation runs as designed.
#pragma once

#include <string>
#include <vector>

#include "platform/gl_capabilities.h"
#include "sequence/title_scene.h"

struct ScreenshotRequest {
  float timeSeconds = 0.0f;  // the first frame drawn at or after this presentation time
  std::string path;          // a PNG file
};

constexpr int kDefaultVideoRate = 60;
// The drawable's size where the run draws off-screen and --size does not say: a video's, and that
// of screenshots and captures made without a display.
constexpr int kDefaultVideoWidth = 1920;
constexpr int kDefaultVideoHeight = 1080;
constexpr int kDefaultOffscreenWidth = 800;
constexpr int kDefaultOffscreenHeight = 600;
constexpr int kSmallestFrameSide = 16;
constexpr int kLargestFrameSide = 16384;

struct AppOptions {
  bool windowed = false;   // skip the full-screen attempt and its question
  bool seedGiven = false;  // seed the random sequence with `seed` instead of the clock
  unsigned int seed = 0;
  bool reportFrameRate = false;   // print the frame count and frames per second at exit
  float fixedStepSeconds = 0.0f;  // > 0: every frame advances presentation time by this much
  // > 0: the fixed step is 1 / this many seconds, counted in whole frames ("--fixed-step 1/30")
  int fixedStepRate = 0;
  float endSeconds = kPresentationEndSeconds;  // the run ends once the presentation passes this
  std::vector<ScreenshotRequest> screenshots;
  std::string capturePath;  // every frame as raw RGB rows, top row first; "-" is stdout
  float startSeconds = 0.0f;  // the presentation starts here, the music with it (0 to 154)
  bool loop = false;          // after the end, start again from 0 instead of ending
  bool desktop = false;       // full screen at the display's own size, without switching its mode
  bool silent = false;        // no sound output at all
  // Plays everything windowed, silent, at a fixed step of 1/60 s and a fixed seed, as fast as it
  // can, and prints the frame times and counts as one JSON line.
  bool benchmark = false;
  bool unattended = false;  // answer every box with its default instead of waiting for someone
  // Asks for a debug context, logs every message the GL gives, and counts its errors.
  bool debugGL = false;
  // The context asked for with --gl; without it, compatibility with core and ES as fallbacks.
  bool contextKindGiven = false;
  platform::GLContextKind contextKind = platform::GLContextKind::Compatibility;
  // Samples per pixel for multisampled drawing (2, 4 or 8); 0 draws without.
  int msaaSamples = 0;
  // A finished video file (.mp4, .mkv or .webm), drawn off-screen at videoRate frames per second
  // and encoded with the music; empty for none.
  std::string videoPath;
  int videoRate = kDefaultVideoRate;
  // The drawable's size for runs drawn off-screen and the window's for windowed runs (--size); 0 for
  // the run's default.
  int frameWidth = 0;
  int frameHeight = 0;
  // No window is shown and no display needed: SDL's offscreen driver draws (see drawOffScreenWhereNeeded).
  bool offScreen = false;
  // The drawing surfaces stay at their full size for the drawable, even where frames then come slowly.
  bool fullDetail = false;
};

// The shortest fixed step: below it a run of 154 s would take more than a million frames, and the
// step would round to nothing in the frame timer's ticks.
constexpr float kShortestFixedStepSeconds = 0.0001f;
// The latest presentation time any option takes, in seconds.
constexpr float kMaxOptionSeconds = 1.0e6f;

enum class OptionsOutcome { Run, ExitSuccess, ExitUsage };

// The presentation never moves on by more than kMaxFrameDeltaSeconds a frame: a video slower than
// that shows every Nth of its frames, N being this.
int presentationStepsPerVideoFrame(int videoRate);

// A video is always drawn off-screen; so is a run that makes screenshots or a capture where there
// is no display, at 800 x 600 unless --size says. Other runs need a display.
void drawOffScreenWhereNeeded(AppOptions& options, bool displayAvailable);

// Plain play, windowed or full screen, shrinks the drawing surfaces when frames come too slowly;
// runs whose frames must be exact (fixed steps, screenshots, captures, videos, the benchmark) and
// --full-detail keep them at the full size.
bool surfacesFollowFrameTime(const AppOptions& options);

// Fills options from argv. Text to print (help, version or the usage error) goes to message.
OptionsOutcome parseOptions(int argc, const char* const argv[], AppOptions& options, std::string& message);
const char* usageText();
