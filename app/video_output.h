// A finished video of the presentation: the frames drawn off-screen go through a pipe to an ffmpeg
// process, which encodes them with the music cut to the same span into a part file of the run's own
// beside FILE (FILE.XXXXXX.part), renamed to FILE once ffmpeg has finished and said so. A run that
// fails leaves an existing FILE untouched and no part file.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "gpu/frame_readback.h"
#include "platform/child_process.h"

// What the video holds: frameCount frames of width × height at framesPerSecond, the first at
// startSeconds of the presentation, and the music from the same second.
struct VideoPlan {
  std::string path;
  int width = 0;
  int height = 0;
  int framesPerSecond = 0;
  long frameCount = 0;
  double startSeconds = 0.0;
  std::string musicPath;  // missing or damaged: a video without sound, said on stderr
};

// The number of frames from startSeconds up to, not including, endSeconds: the frames of a video
// that lasts exactly the time between them; 0 when the span is empty.
long videoFrameCount(double startSeconds, double endSeconds, int framesPerSecond);

class VideoOutput {
 public:
  // Before anything is drawn: ffmpeg is on PATH with the encoders the file's name asks for and
  // takes pictures of the size, a part file can be written beside FILE, and nothing that cannot be
  // replaced (a folder) stands at FILE. False, with one line on stderr saying what is wrong.
  static bool check(const std::string& path, int width, int height);

  // Starts ffmpeg. False, with a line on stderr, when it cannot be started.
  bool begin(const VideoPlan& plan);
  // Reads the frame just drawn and hands the one before it to ffmpeg. False when ffmpeg no longer
  // takes frames (it ended, or a stop signal came while it had no room).
  bool afterFrame();
  // Every frame of the plan has been drawn.
  bool complete() const { return framesDrawn_ >= plan_.frameCount; }
  // Hands over the last frame, closes ffmpeg's input and waits for it. With all frames given and
  // ffmpeg content, the part file becomes FILE and one line says what was made: status 0. Stopped
  // by a signal, the part file is kept playable up to where it stopped (unless ffmpeg did not finish
  // it within its grace period); otherwise it goes, and how ffmpeg ended and its last lines are
  // shown: status 3.
  int finish(bool stopped);

 private:
  bool send(const uint8_t* frame);
  void reportProgress(bool last);

  VideoPlan plan_;
  std::string partPath_;
  platform::ChildProcess encoder_;
  FrameReadback readback_;
  long framesDrawn_ = 0;
  long framesSent_ = 0;
  bool broken_ = false;  // ffmpeg stopped taking frames
  bool stallReported_ = false;
  bool onTerminal_ = false;
  int lastTenth_ = 0;
  std::chrono::steady_clock::time_point began_;
  std::chrono::steady_clock::time_point lastShown_;
  // Where the time went, for the log: reading frames back (with a software renderer, waiting for
  // it to finish the frame included), and handing them to ffmpeg (waiting for room in its pipe
  // included); the rest is drawing.
  double readbackSeconds_ = 0.0;
  double handOverSeconds_ = 0.0;
};
