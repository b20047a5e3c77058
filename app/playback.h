// Moving about in the presentation: starting anywhere, pausing, jumping ahead and back, playing it
// again from the start, and the small overlay with the time and frame rate.
// A jump ahead plays the frames in between without showing them; a jump back puts everything the
// frames change back as start-up left it and plays forward from 0, so every jump lands on the
// picture a run without jumps shows at that time.
#pragma once

#include <cstdint>
#include <deque>

#include "core/frame_timer.h"
#include "sequence/title_scene.h"

constexpr float kJumpSeconds = 5.0f;

enum class PlaybackRequest { None, TogglePause, JumpAhead, JumpBack, GoToStart };

struct PlaybackState {
  bool paused = false;
  bool overlayShown = false;
  // The run ends once the presentation passes this (--end-at, or the presentation's own end);
  // jumps stop there, and a jump to it ends the run.
  float endSeconds = kPresentationEndSeconds;
  float fixedStepSeconds = 0.0f;  // > 0: the frame timer steps by this much every frame
  std::deque<PlaybackRequest> pending;  // in the order the keys came
  // The frame timer as the pause found it, for resuming exactly there.
  int64_t pausedTicks = 0;
  float pausedDelta = 0.0f;
  float pausedAt = 0.0f;  // the time of the picture shown while paused
  float shownSeconds = 0.0f;  // the time of the last frame drawn
};

PlaybackState& playback();

// The key that asks for a playback change, or None for keys that do not.
PlaybackRequest requestForKey(uint32_t virtualKey);
// Carries out the pending requests, if any, before the next frame.
void applyPlaybackRequests();
void applyPlaybackRequest(PlaybackRequest request);

// Remembers, at the end of start-up, what the frames change: the random sequence, the tweens,
// the scenes and the rig camera.
void keepPresentationStart();
// Puts all of it back and restarts the frame timer at 0.
void rewindPresentation();
// Plays frames without showing them until the frame timer reaches targetSeconds: only the last
// ones the scenes need to settle are drawn, into the back buffer.
// Returns the number of frames played.
int fastForward(float targetSeconds);
// Jumps to targetSeconds, limited to 0 … the end, with the music; a jump back replays from 0.
void seekPresentation(float targetSeconds);
void setPaused(bool paused);

