#include "app/frame.h"

#include <GL/glew.h>

#include <cmath>

#include "core/input_state.h"
#include "core/random.h"
#include "gpu/shader_manager.h"
#include "sequence/camera.h"
#include "sequence/tween_timeline.h"

GLWindow& glWindow() {
  static GLWindow window;
  return window;
}

FrameTimer& frameTimer() {
  static FrameTimer timer(platform::performanceTicks());
  return timer;
}

SceneList& sceneList() {
  static SceneList list;
  return list;
}

float& targetLift() {
  static float lift = 0.0f;
  return lift;
}

Vector3& movingLight() {
  static Vector3 light;
  return light;
}

Vector3& eyeCopy() {
  static Vector3 eye;
  return eye;
}

Vector3 movingLightAt(float timeSeconds, float randomFraction) {
  Vector3 light;
  light.x = static_cast<float>(std::sin(timeSeconds) * 70.0);
  light.y = static_cast<float>(randomFraction * std::sin(timeSeconds + 1.5) * 100.0 + 50.0);
  light.z = static_cast<float>(std::cos(timeSeconds) * 50.0);
  return light;
}

float clampedFrameDelta(const FrameTimer& timer) {
  return timer.delta > kMaxFrameDeltaSeconds ? kMaxFrameDeltaSeconds : timer.delta;
}

namespace {

// Page Up / Page Down, orbit on the right button, pan on the left (faster with Space).
void steerRig(RigCamera& rig, const InputState& input, float dtSeconds) {
  if (input.keyState[kKeyPageUp] == 1) {
    rig.setEyeDistance(rig.eyeDistance() * 1.1f);
  }
  if (input.keyState[kKeyPageDown] == 1) {
    rig.setEyeDistance(rig.eyeDistance() * 0.91f);
  }
  // Before the first size message the window has no width to measure the cursor against.
  const bool hasArea = input.viewportWidth > 0 && input.viewportHeight > 0;
  if (input.rightButton && hasArea) {
    const float across = static_cast<float>(input.mouseX) / static_cast<float>(input.viewportWidth) - 0.5f;
    const float down = static_cast<float>(input.mouseY) / static_cast<float>(input.viewportHeight) - 0.5f;
    rig.orbit(across * dtSeconds * 4.0f);
    rig.height -= down * dtSeconds * 40.0f;
  }
  if (input.leftButton) {
    const bool fast = input.keyState[kKeySpace] == 1;
    rig.pan(input.mouseX, input.mouseY, input.viewportWidth, input.viewportHeight, dtSeconds,
            fast ? 150.0f : 50.0f, fast ? 330.0f : 30.0f);
  }
}

void setFixedLight() {
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_COLOR_MATERIAL);
  // A directional light, placed with whatever model-view matrix the last scene left behind.
  const GLfloat position[] = {30.0f, 45.0f, 80.0f, 0.0f};
  const GLfloat ambient[] = {0.4f, 0.4f, 0.4f, 0.0f};
  const GLfloat diffuse[] = {0.7f, 0.7f, 0.7f, 0.0f};
  const GLfloat specular[] = {0.5f, 0.5f, 0.5f, 0.0f};
  glLightfv(GL_LIGHT1, GL_POSITION, position);
  glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
  glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
  glLightfv(GL_LIGHT1, GL_SPECULAR, specular);
  glEnable(GL_LIGHT1);
  glEnable(GL_LIGHTING);
}

// The per-pixel lighting sees the rig's eye as the frame began, before the rig steps.
void copyRigEye() {
  const RigCamera& rig = rigCamera();
  eyeCopy().x = rig.eye.x;
  eyeCopy().y = rig.eye.y;
  eyeCopy().z = rig.eye.z;
}

// Mouse and keys steer the rig (in frames that are shown), then its springs take one step.
void stepRig(float dtSeconds, FrameInput input) {
  RigCamera& rig = rigCamera();
  if (input == FrameInput::Live) {
    steerRig(rig, inputState(), dtSeconds);
  }
  rig.update(dtSeconds);
  rig.target.y += targetLift();
}

}  // namespace

void advanceFrame(float timeSeconds, float dtSeconds, FrameInput input) {
  tweenTimeline().update(dtSeconds);
  movingLight() = movingLightAt(timeSeconds, randomFraction());
  copyRigEye();
  sceneList().advanceAll(timeSeconds, dtSeconds);
  stepRig(dtSeconds, input);
}

void drawFrame(float timeSeconds, float dtSeconds) {
  glEnable(GL_TEXTURE_2D);
  shaderManager().setEyeAndLight(eyeCopy(), movingLight());
  sceneList().drawAll(timeSeconds, dtSeconds);
  setFixedLight();
  rigCamera().applyView();
}

void pausedFrame(float pausedAtSeconds, float dtSeconds) {
  copyRigEye();
  stepRig(dtSeconds, FrameInput::Live);
  // Drawn with no time passing: the picture stays that of the pause.
  drawFrame(pausedAtSeconds, 0.0f);
}
