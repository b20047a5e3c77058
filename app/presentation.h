// The program's spine: start-up, the message-polling main loop, one frame, and shutdown.
#pragma once

#include "app/benchmark.h"
#include "app/gl_window.h"
#include "app/options.h"
#include "core/frame_timer.h"
#include "core/vector3.h"
#include "platform/native_window.h"
#include "sequence/scene_list.h"

constexpr float kPresentationEndSeconds = 154.0f;
constexpr float kMaxFrameDeltaSeconds = 0.1f;

// The frame duration the frame sees: the timer's, at most kMaxFrameDeltaSeconds.
float clampedFrameDelta(const FrameTimer& timer);

// Runs start-up, the main loop and shutdown; the process exit status. The benchmark reports the
// allocations the counter sees, when one is given.
int runPresentation(const AppOptions& options, AllocationCounter countAllocations = nullptr);

bool startUp(const AppOptions& options);
// Returns the number of frames drawn.
long mainLoop();
bool frameStep();
// The two halves of a frame. Advancing moves everything on (tweens, the moving light and its random
// draw, the scenes, the rig camera under the mouse); drawing issues the frame's GL work.
void advanceFrame(float timeSeconds, float dtSeconds);
void drawFrame(float timeSeconds, float dtSeconds);
// A frame while paused: only the rig camera moves, and the scenes are drawn as they stand.
void pausedFrame(float dtSeconds);
// Sets the fixed-function light and the rig camera's view for the next frame.
void updateCameraAndLights(float dtSeconds);
void shutDown();

// Records input, size and activity from the window's messages.
long windowProcedure(const platform::WindowMessage& message);

// The moving light of a frame at time t: it circles the scene and flickers in height with the
// random fraction r (0 to 0.9999).
Vector3 movingLightAt(float timeSeconds, float randomFraction);

// The global objects of the application layer.
GLWindow& glWindow();
FrameTimer& frameTimer();
SceneList& sceneList();
float& targetLift();
Vector3& movingLight();
// The rig camera's eye x, y, z as of this frame: where the per-pixel lighting puts the viewer.
Vector3& eyeCopy();
