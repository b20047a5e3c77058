// Moving about in the presentation: pausing, jumping ahead and back, playing it again from 0.
#include "app/presentation.h"

#include <chrono>

#include "audio/sound_player.h"
#include "core/debug_log.h"
#include "core/input_state.h"
#include "platform/stop_signals.h"

namespace {

constexpr int kMusicEntry = 0;
constexpr double kJumpProgressSeconds = 0.5;

}  // namespace

PlaybackRequest requestForKey(uint32_t virtualKey) {
  switch (virtualKey) {
    case letterKey('P'):
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

void Presentation::apply(PlaybackRequest request, const Drawable& drawable) {
  // While paused the picture is the one at pausedAt; otherwise the frame about to be drawn.
  const float now = paused_ ? pausedAt_ : clock.elapsed;
  switch (request) {
    case PlaybackRequest::TogglePause:
      setPaused(!paused_);
      break;
    case PlaybackRequest::JumpAhead:
      // A jump to the end or beyond ends the run at once, also when the end was already reached:
      // there is nothing past it to play.
      if (now + kJumpSeconds >= endSeconds) {
        endRequested_ = true;
      } else {
        seek(now + kJumpSeconds, drawable);
      }
      break;
    case PlaybackRequest::JumpBack:
      seek(now - kJumpSeconds, drawable);
      break;
    case PlaybackRequest::GoToStart:
      seek(0.0f, drawable);
      break;
    case PlaybackRequest::None:
      break;
  }
}

int Presentation::fastForward(float targetSeconds, const Drawable& drawable) {
  const float fromSeconds = clock.elapsed;
  const float step = fixedStepSeconds > 0.0f ? fixedStepSeconds : kShortFrameSeconds;
  const float drawFrom = targetSeconds - (static_cast<float>(scenes.framesToSettle(targetSeconds)) + 0.5f) * step;
  auto lastReport = std::chrono::steady_clock::now();
  // A stop signal ends the jump where it is; the run then ends as usual.
  const auto goOn = [&](float time) {
    if (time >= targetSeconds || platform::stopSignal() != 0) {
      return false;
    }
    const auto now = std::chrono::steady_clock::now();
    if (reportJumpProgress && now - lastReport >= std::chrono::duration<double>(kJumpProgressSeconds)) {
      lastReport = now;
      reportJumpProgress((time - fromSeconds) / (targetSeconds - fromSeconds));
    }
    return true;
  };
  int frames = 0;
  if (fixedStepSeconds > 0.0f) {
    // The clock itself steps by the fixed step: the frames are the very ones of a run from 0, and
    // every picture that later ones feed on is drawn, so what is shown is the same to the pixel.
    while (goOn(clock.elapsed)) {
      frame(clock.elapsed >= drawFrom ? FrameKind::Settling : FrameKind::LayersOnly, clock.elapsed, frameDelta(),
            drawable);
      clock.update();
      ++frames;
    }
    return frames;
  }
  // Following the clock, frames are not repeatable anyway: the last frames before the target are
  // enough for a picture that differs from a run from 0 by no more than the faintest trace.
  float time = clock.elapsed;
  float delta = frameDelta();
  while (goOn(time)) {
    frame(time >= drawFrom ? FrameKind::Settling : FrameKind::Hidden, time, delta, drawable);
    time += step;
    delta = step;
    ++frames;
  }
  clock.rebase(clock.ticksOf(time));
  return frames;
}

void Presentation::seek(float targetSeconds, const Drawable& drawable) {
  float target = targetSeconds < 0.0f ? 0.0f : targetSeconds;
  target = target > endSeconds ? endSeconds : target;
  const float now = paused_ ? pausedAt_ : clock.elapsed;
  const auto began = std::chrono::steady_clock::now();
  // A seek lands on a frame at or before the end, so the run goes on from there.
  endRequested_ = false;
  if (target < now || (paused_ && target <= now)) {
    rewind();
  }
  const int frames = fastForward(target, drawable);
  DebugLog::append(kLogFileName, "Playback: to %.2f s, %d frames played without showing in %.3f s\r\n",
                   static_cast<double>(target), frames,
                   std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
  if (paused_) {
    // The paused picture shows the frame at the new time, so its state is moved on now; resuming
    // goes on with the frame after it.
    frame(FrameKind::Hidden, clock.elapsed, frameDelta(), drawable);
    pausedAt_ = clock.elapsed;
    clock.update();
    pausedTicks_ = clock.elapsedTicks();
    pausedDelta_ = clock.delta;
  }
  startMusicAt(clock.elapsed);
}

void Presentation::setPaused(bool paused) {
  if (paused == paused_) {
    return;
  }
  if (paused) {
    // The picture stays the last one drawn; resuming goes on with the frame that was due next.
    pausedTicks_ = clock.elapsedTicks();
    pausedDelta_ = clock.delta;
    pausedAt_ = shownSeconds_;
  } else {
    clock.rebase(pausedTicks_);
    clock.delta = pausedDelta_;
  }
  paused_ = paused;
  soundPlayer().pauseMusic(paused);
}

// Starting the music stops what played before, so a failed start leaves none playing.
void Presentation::startMusicAt(float timeSeconds) {
  SoundPlayer& player = soundPlayer();
  if (player.playFrom(kMusicEntry, timeSeconds) && paused_) {
    player.pauseMusic(true);
  }
}
