// One frame of the presentation, in two halves, and the objects every frame works on: the window,
// the frame timer, the scene list, the rig's target lift, the moving light and the rig eye the
// lighting sees. Playback plays frames through these; the main loop shows them.
#pragma once

#include "app/gl_window.h"
#include "core/frame_timer.h"
#include "core/vector3.h"
#include "sequence/scene_list.h"
#include "sequence/title_scene.h"

// The longest frame the presentation moves on by: a slower frame counts as this long.
constexpr float kMaxFrameDeltaSeconds = 0.1f;
// The step of frames played without showing while following the clock, and of the benchmark.
constexpr float kShortFrameSeconds = 1.0f / 60.0f;

// The frame duration the frame sees: the timer's, at most kMaxFrameDeltaSeconds.
float clampedFrameDelta(const FrameTimer& timer);

// Whether a frame's advance applies the mouse and keys: only frames that are shown do. Frames
// played without showing (a jump) move the rig on its springs alone.
enum class FrameInput { Live, Ignored };

// The two halves of a frame. Advancing moves everything on (tweens, the moving light and its random
// draw, the scenes, the rig camera under the mouse); drawing issues the frame's GL work.
void advanceFrame(float timeSeconds, float dtSeconds, FrameInput input);
void drawFrame(float timeSeconds, float dtSeconds);
// A frame while paused: only the rig camera moves, and the scenes are drawn as they stood at
// pausedAtSeconds.
void pausedFrame(float pausedAtSeconds, float dtSeconds);

// The moving light of a frame at time t: it circles the scene and flickers in height with the
// random fraction r (0 to 0.9999).
Vector3 movingLightAt(float timeSeconds, float randomFraction);

GLWindow& glWindow();
FrameTimer& frameTimer();
SceneList& sceneList();
float& targetLift();
Vector3& movingLight();
// The rig camera's eye x, y, z as of this frame: where the per-pixel lighting puts the viewer.
Vector3& eyeCopy();
