// The presentation's frames, its clock and what its frames change.
#include "app/presentation.h"

#include <cassert>
#include <cmath>

#include "app/music_clock.h"
#include "audio/sound_player.h"
#include "core/input_state.h"
#include "core/random.h"
#include "gpu/draw_layer.h"
#include "gpu/shader_manager.h"
#include "platform/native_window.h"
#include "sequence/camera.h"
#include "sequence/tween_timeline.h"

Presentation::Presentation() : clock(platform::performanceTicks()) {}

Vector3 movingLightAt(float timeSeconds, float randomFraction) {
  Vector3 light;
  light.x = static_cast<float>(std::sin(timeSeconds) * 70.0);
  light.y = static_cast<float>(randomFraction * std::sin(timeSeconds + 1.5) * 100.0 + 50.0);
  light.z = static_cast<float>(std::cos(timeSeconds) * 50.0);
  return light;
}

float Presentation::frameDelta() const {
  return clock.delta > kMaxFrameDeltaSeconds ? kMaxFrameDeltaSeconds : clock.delta;
}

namespace {

// Page Up / Page Down, orbit on the right button, pan on the left (faster with Space). The cursor
// is measured against the drawable.
void steerRig(RigCamera& rig, const InputState& input, const Drawable& drawable, float dtSeconds) {
  if (input.keyState[kKeyPageUp] == 1) {
    rig.setEyeDistance(rig.eyeDistance() * 1.1f);
  }
  if (input.keyState[kKeyPageDown] == 1) {
    rig.setEyeDistance(rig.eyeDistance() * 0.91f);
  }
  // Before the first size message the window has no width to measure the cursor against.
  const bool hasArea = drawable.width > 0 && drawable.height > 0;
  if (input.rightButton && hasArea) {
    const float across = static_cast<float>(input.mouseX) / static_cast<float>(drawable.width) - 0.5f;
    const float down = static_cast<float>(input.mouseY) / static_cast<float>(drawable.height) - 0.5f;
    rig.orbit(across * dtSeconds * 4.0f);
    rig.height -= down * dtSeconds * 40.0f;
  }
  if (input.leftButton) {
    const bool fast = input.keyState[kKeySpace] == 1;
    rig.pan(input.mouseX, input.mouseY, drawable.width, drawable.height, dtSeconds,
            fast ? 150.0f : 50.0f, fast ? 330.0f : 30.0f);
  }
}

// The rig's eye x, y, z; the lighting has no use for its w.
void copyEye(const RigCamera& rig, Vector3& eye) {
  eye.x = rig.eye.x;
  eye.y = rig.eye.y;
  eye.z = rig.eye.z;
}

}  // namespace

// Frames

void Presentation::frame(FrameKind kind, float timeSeconds, float dtSeconds, const Drawable& drawable) {
  const FrameContext context = frameOf(timeSeconds, dtSeconds, drawable);
  switch (kind) {
    case FrameKind::Shown:
      advance(context, true);
      draw(context);
      return;
    case FrameKind::Settling:
      advance(context, false);
      draw(context);
      return;
    case FrameKind::LayersOnly:
      advance(context, false);
      scenes.drawFeedbackAll(context);
      return;
    case FrameKind::Hidden:
      advance(context, false);
      return;
    case FrameKind::Paused:
      copyEye(rigCamera(), eyeCopy);
      stepRig(dtSeconds, drawable, true);
      // Drawn with no time passing: the picture stays that of the pause.
      draw(frameOf(timeSeconds, 0.0f, drawable));
      return;
  }
}

void Presentation::playDueFrame(const Drawable& drawable) {
  if (paused_) {
    frame(FrameKind::Paused, pausedAt_, frameDelta(), drawable);
    return;
  }
  shownSeconds_ = clock.elapsed;
  frame(FrameKind::Shown, shownSeconds_, frameDelta(), drawable);
}

void Presentation::moveClockOn() {
  if (paused_ || fixedStepSeconds > 0.0f) {
    clock.update();
    return;
  }
  sampleClock(clock, [](double& seconds) { return soundPlayer().musicPosition(seconds); });
}

// Moving on: the tweens, the moving light and its random draw, the scenes, then the rig camera.
void Presentation::advance(const FrameContext& frame, bool liveInput) {
  tweenTimeline().update(frame.dtSeconds);
  movingLight = movingLightAt(frame.timeSeconds, randomFraction());
  // The per-pixel lighting sees the rig's eye as the frame began, before the rig steps.
  copyEye(rigCamera(), eyeCopy);
  scenes.advanceAll(frame);
  stepRig(frame.dtSeconds, frame.drawable, liveInput);
}

// Mouse and keys steer the rig (in frames that take input), then its springs take one step.
void Presentation::stepRig(float dtSeconds, const Drawable& drawable, bool liveInput) {
  RigCamera& rig = rigCamera();
  if (liveInput) {
    steerRig(rig, inputState(), drawable, dtSeconds);
  }
  rig.update(dtSeconds);
  rig.target.y += targetLift;
}

void Presentation::draw(const FrameContext& frame) {
  shaderManager().setEyeAndLight(eyeCopy, movingLight);
  scenes.drawAll(frame);
  placeLight();
  rigCamera().applyView(frame.drawable);
}

// What the frames change

StateRecord Presentation::captureState() const {
  StateRecord state;
  state.write(randomState());
  state.write(targetLift);
  state.write(movingLight);
  state.write(eyeCopy);
  rigCamera().writeState(state);
  tweenTimeline().writeState(state);
  scenes.writeStateAll(state);
  return state;
}

void Presentation::restoreState(const StateRecord& state) {
  StateReader reader(state);
  unsigned int random = 0;
  reader.read(random);
  setRandomState(random);
  reader.read(targetLift);
  reader.read(movingLight);
  reader.read(eyeCopy);
  rigCamera().readState(reader);
  tweenTimeline().readState(reader);
  scenes.readStateAll(reader);
  assert(!reader.failed() && reader.atEnd() && "a state read back differently from how it was written");
}

void Presentation::placeLight() {
  DrawLayer& layer = drawLayer();
  // A directional light, placed with whatever model-view matrix the last scene left behind.
  const float position[] = {30.0f, 45.0f, 80.0f, 0.0f};
  const float ambient[] = {0.4f, 0.4f, 0.4f, 0.0f};
  const float diffuse[] = {0.7f, 0.7f, 0.7f, 0.0f};
  const float specular[] = {0.5f, 0.5f, 0.5f, 0.0f};
  layer.setLight(position, ambient, diffuse, specular);
}

void Presentation::keepStart() {
  start_ = captureState();
  startKept_ = true;
}

void Presentation::rewind() {
  if (!startKept_) {
    return;
  }
  restoreState(start_);
  clock.reset();
}
