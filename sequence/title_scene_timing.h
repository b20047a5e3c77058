// When and where the titles, lines and bubbles are at a moment of the title scene: the scene's
// timing arithmetic, apart from its drawing. Scene time x runs from 0 at 90 s of the presentation.
#pragma once

#include "core/picture_shape.h"
#include "core/vector3.h"

constexpr float kTitleSceneStartSeconds = 90.0f;
constexpr float kTitleSceneSeconds = 64.0f;
// The presentation ends with the title scene.
constexpr float kPresentationEndSeconds = kTitleSceneStartSeconds + kTitleSceneSeconds;
constexpr int kTitleCount = 4;
constexpr float kTitleSlotSeconds = 15.0f;
// The bubbles' surface: a third of the drawable each way (266 × 200 at 800 × 600, and while the
// size is unknown); it is stretched over the window.
SurfaceSize bubbleSurfaceSize(int drawableWidth, int drawableHeight);

// A title flies in from kTitleInPoint to the centre and out toward kTitleOutPoint.
extern const Vector3 kTitleInPoint;
extern const Vector3 kTitleCentre;
extern const Vector3 kTitleOutPoint;

// Which title is up at scene time x (0 to 64 s): one every 15 s, the last one to the end.
int titleSlotAt(float sceneSeconds);
// How far through its slot the title is: 0 at its start, 1 after 15 s; the last one runs past 1.
float titleSlotFraction(float sceneSeconds, int slot);
// In during the first fifth of the slot, held, out during the last fifth and on beyond.
Vector3 titlePosition(float slotFraction);
float titleRockingDegrees(float slotFraction);  // about the horizontal axis
// How much of the previous line picture the feedback keeps (0.1 to 0.5), and how bright the
// shimmering copy of the previous title is (0.4 to 0.6), for a frame of dtSeconds.
float lineTrailLevel(float dtSeconds);
float titleShimmerLevel(float dtSeconds);
// The scene plays from 90 s to 154 s of presentation time, both included.
bool titleSceneDraws(float timeSeconds);
// The line field is drawn as a cage of three planes in seconds 4 to 8, 12 to 16, ... of the scene.
bool lineCageShown(float sceneSeconds);
