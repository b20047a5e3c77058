#include "app/playback.h"

#include <chrono>
#include <cstdio>

#include "app/frame.h"
#include "audio/sound_player.h"
#include "core/debug_log.h"
#include "core/input_state.h"
#include "core/random.h"
#include "sequence/camera.h"
#include "sequence/tween_timeline.h"

namespace {

constexpr int kMusicEntry = 0;

// What keepPresentationStart() found, apart from what the scenes and the timeline keep themselves.
struct KeptStart {
  bool kept = false;
  unsigned int randomState = 0;
  RigCamera rig;
  float targetLift = 0.0f;
};

KeptStart& keptStart() {
  static KeptStart kept;
  return kept;
}

enum class HiddenDrawing { None, Feedback, Whole };

// One frame that is not shown: its state always moves on; it is drawn as far as asked.
void hiddenFrame(float timeSeconds, float dtSeconds, HiddenDrawing drawing) {
  advanceFrame(timeSeconds, dtSeconds, FrameInput::Ignored);
  if (drawing == HiddenDrawing::Whole) {
    drawFrame(timeSeconds, dtSeconds);
  } else if (drawing == HiddenDrawing::Feedback) {
    sceneList().drawFeedbackAll(timeSeconds, dtSeconds);
  }
}

// Starting the music stops what played before, so a failed start leaves none playing.
void startMusicAt(float timeSeconds) {
  SoundPlayer& player = soundPlayer();
  if (player.playFrom(kMusicEntry, timeSeconds) && playback().paused) {
    player.pauseMusic(true);
  }
}

}  // namespace

PlaybackState& playback() {
  static PlaybackState state;
  return state;
}

PlaybackRequest requestForKey(uint32_t virtualKey) {
  switch (virtualKey) {
    case 'P':
      return PlaybackRequest::TogglePause;
    case kKeyRight:
      return PlaybackRequest::JumpAhead;
    case kKeyLeft:
      return PlaybackRequest::JumpBack;
    case kKeyHome:
      return PlaybackRequest::GoToStart;
    default:
      return PlaybackRequest::None;
  }
}

void applyPlaybackRequests() {
  PlaybackState& state = playback();
  while (!state.pending.empty()) {
    const PlaybackRequest request = state.pending.front();
    state.pending.pop_front();
    applyPlaybackRequest(request);
  }
}

void applyPlaybackRequest(PlaybackRequest request) {
  PlaybackState& state = playback();
  // While paused the picture is the one at pausedAt; otherwise the frame about to be drawn.
  const float now = state.paused ? state.pausedAt : frameTimer().elapsed;
  switch (request) {
    case PlaybackRequest::TogglePause:
      setPaused(!state.paused);
      break;
    case PlaybackRequest::JumpAhead:
      seekPresentation(now + kJumpSeconds);
      break;
    case PlaybackRequest::JumpBack:
      seekPresentation(now - kJumpSeconds);
      break;
    case PlaybackRequest::GoToStart:
      seekPresentation(0.0f);
      break;
    case PlaybackRequest::None:
      break;
  }
}

void keepPresentationStart() {
  KeptStart& kept = keptStart();
  kept.kept = true;
  kept.randomState = randomState();
  kept.rig = rigCamera();
  kept.targetLift = targetLift();
  tweenTimeline().keepStart();
  sceneList().keepStartAll();
}

void rewindPresentation() {
  const KeptStart& kept = keptStart();
  if (!kept.kept) {
    return;
  }
  setRandomState(kept.randomState);
  rigCamera() = kept.rig;
  targetLift() = kept.targetLift;
  tweenTimeline().rewind();
  sceneList().rewindAll();
  frameTimer().reset();
}

int fastForward(float targetSeconds) {
  int frames = 0;
  FrameTimer& timer = frameTimer();
  const PlaybackState& state = playback();
  const float step = state.fixedStepSeconds > 0.0f ? state.fixedStepSeconds : kShortFrameSeconds;
  const float drawFrom = targetSeconds - (static_cast<float>(sceneList().framesToSettle(targetSeconds)) + 0.5f) * step;
  if (state.fixedStepSeconds > 0.0f) {
    // The timer itself steps by the fixed step: the frames are the very ones of a run from 0, and
    // every picture that later ones feed on is drawn, so what is shown is the same to the pixel.
    while (timer.elapsed < targetSeconds) {
      hiddenFrame(timer.elapsed, clampedFrameDelta(timer),
                  timer.elapsed >= drawFrom ? HiddenDrawing::Whole : HiddenDrawing::Feedback);
      timer.update();
      ++frames;
    }
    return frames;
  }
  // Following the clock, frames are not repeatable anyway: the last frames before the target are
  // enough for a picture that differs from a run from 0 by no more than the faintest trace.
  float time = timer.elapsed;
  float delta = clampedFrameDelta(timer);
  while (time < targetSeconds) {
    hiddenFrame(time, delta, time >= drawFrom ? HiddenDrawing::Whole : HiddenDrawing::None);
    time += step;
    delta = step;
    ++frames;
  }
  timer.rebase(timer.ticksOf(time));
  return frames;
}

void seekPresentation(float targetSeconds) {
  PlaybackState& state = playback();
  float target = targetSeconds < 0.0f ? 0.0f : targetSeconds;
  target = target > state.endSeconds ? state.endSeconds : target;
  const float now = state.paused ? state.pausedAt : frameTimer().elapsed;
  const auto began = std::chrono::steady_clock::now();
  if (target < now || (state.paused && target <= now)) {
    rewindPresentation();
  }
  const int frames = fastForward(target);
  DebugLog::append(kLogFileName, "Playback: to %.2f s, %d frames played without showing in %.3f s\r\n",
                   static_cast<double>(target), frames,
                   std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
  if (state.paused) {
    // The paused picture shows the frame at the new time, so its state is moved on now; resuming
    // goes on with the frame after it.
    FrameTimer& timer = frameTimer();
    advanceFrame(timer.elapsed, clampedFrameDelta(timer), FrameInput::Ignored);
    state.pausedAt = timer.elapsed;
    timer.update();
    state.pausedTicks = timer.elapsedTicks();
    state.pausedDelta = timer.delta;
  }
  startMusicAt(frameTimer().elapsed);
}

void setPaused(bool paused) {
  PlaybackState& state = playback();
  if (paused == state.paused) {
    return;
  }
  FrameTimer& timer = frameTimer();
  if (paused) {
    // The picture stays the last one drawn; resuming goes on with the frame that was due next.
    state.pausedTicks = timer.elapsedTicks();
    state.pausedDelta = timer.delta;
    state.pausedAt = state.shownSeconds;
  } else {
    timer.rebase(state.pausedTicks);
    timer.delta = state.pausedDelta;
  }
  state.paused = paused;
  soundPlayer().pauseMusic(paused);
}
