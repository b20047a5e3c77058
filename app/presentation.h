// The presentation as one object: its clock, its end, whether it is paused, its scenes and
// everything the frames change. Every frame goes through frame(), whose kind says what it does.
// A jump ahead plays the frames in between without showing them; a jump back reads back the state
// start-up left and plays forward from 0, so every jump lands on the picture a run without jumps
// shows at that time.
#pragma once

#include <cstdint>
#include <functional>

#include "core/frame_timer.h"
#include "core/state_record.h"
#include "core/vector3.h"
#include "sequence/scene_list.h"
#include "sequence/title_scene.h"

// The longest frame the presentation moves on by: a slower frame counts as this long.
constexpr float kMaxFrameDeltaSeconds = 0.1f;
// The step of frames played without showing while following the clock, and of the benchmark.
constexpr float kShortFrameSeconds = 1.0f / 60.0f;
constexpr float kJumpSeconds = 5.0f;

// What a frame does. Only shown and paused frames apply the mouse and keys: frames played without
// showing move the rig on its springs alone.
enum class FrameKind {
  Shown,       // moved on, then drawn
  Settling,    // moved on, then drawn but not shown: a picture that feeds on earlier ones settles
  LayersOnly,  // moved on; only the pictures later frames are made from are drawn
  Hidden,      // moved on, nothing drawn
  Paused,      // only the rig camera moves; the scenes are drawn as they stood
};

enum class PlaybackRequest { None, TogglePause, JumpAhead, JumpBack, GoToStart };

// The key that asks for a playback change, or None for keys that do not.
PlaybackRequest requestForKey(uint32_t virtualKey);

// The moving light of a frame at time t: it circles the scene and flickers in height with the
// random fraction r (0 to 0.9999).
Vector3 movingLightAt(float timeSeconds, float randomFraction);

class Presentation {
 public:
  Presentation();

  // One frame of this kind at timeSeconds, moved on by dtSeconds, drawn into drawable.
  void frame(FrameKind kind, float timeSeconds, float dtSeconds, const Drawable& drawable);
  // The frame due now: while paused the picture of the pause, otherwise the frame at the clock's
  // time, shown.
  void playDueFrame(const Drawable& drawable);
  // The clock's next sample: by the fixed step, by the music heard, or (paused, or without music)
  // by the clock alone.
  void moveClockOn();
  // A frame that follows the clock takes its time as it begins, so that what it shows is what is
  // heard while it is drawn and shown; fixed steps and a pause move on after each frame instead.
  bool takesTimeAsFrameBegins() const { return !paused_ && fixedStepSeconds <= 0.0f; }
  // The presentation has passed its end, or a jump asked for the end: the frame due now is the
  // run's last.
  bool pastEnd() const { return endRequested_ || (!paused_ && clock.elapsed > endSeconds); }
  // The time of the picture on the window.
  float pictureSeconds() const { return paused_ ? pausedAt_ : shownSeconds_; }
  bool paused() const { return paused_; }
  // The clock's last frame duration, at most kMaxFrameDeltaSeconds.
  float frameDelta() const;

  // Jumps and pause. A jump goes to targetSeconds, limited to 0 … the end, with the music; the
  // frames it draws are drawn into drawable.
  void apply(PlaybackRequest request, const Drawable& drawable);
  void seek(float targetSeconds, const Drawable& drawable);
  void setPaused(bool paused);
  // Plays frames without showing them until the clock reaches targetSeconds; only the last ones
  // the scenes need to settle are drawn, into the back buffer. Stops early at a stop signal.
  // Returns the number of frames played.
  int fastForward(float targetSeconds, const Drawable& drawable);

  // What the frames change: the random sequence, the tweens, the rig camera and its lift, the
  // moving light, the scenes.
  StateRecord captureState() const;
  void restoreState(const StateRecord& state);
  // Places the light the world's models are lit by. Every frame places it after its scenes have
  // drawn; start-up places it once, so the first frame is lit like the rest.
  static void placeLight();
  // Keeps the state as start-up left it ...
  void keepStart();
  // ... and goes back to it, with the clock at 0.
  void rewind();

  FrameTimer clock;
  SceneList scenes;
  // The run ends once the presentation passes this (--end-at, or the presentation's own end);
  // jumps stop there, and a jump to it ends the run.
  float endSeconds = kPresentationEndSeconds;
  float fixedStepSeconds = 0.0f;  // > 0: the clock steps by this much every frame
  float targetLift = 0.0f;        // raises the rig's target after each step; a tween drives it
  Vector3 movingLight;
  // The rig camera's eye as this frame began: where the per-pixel lighting puts the viewer.
  Vector3 eyeCopy;
  // Told every half second while a jump plays frames, with the share of them done (0 to 1).
  std::function<void(float doneShare)> reportJumpProgress;

 private:
  void advance(const FrameContext& frame, bool liveInput);
  void draw(const FrameContext& frame);
  void stepRig(float dtSeconds, const Drawable& drawable, bool liveInput);
  void startMusicAt(float timeSeconds);

  bool paused_ = false;
  // The clock as the pause found it, for resuming exactly there.
  int64_t pausedTicks_ = 0;
  float pausedDelta_ = 0.0f;
  float pausedAt_ = 0.0f;      // the time of the picture shown while paused
  float shownSeconds_ = 0.0f;  // the time of the last frame shown
  StateRecord start_;
  bool startKept_ = false;
  bool endRequested_ = false;  // a jump ahead reached the end; a seek clears it
};

// Makes the presentation's scenes, in the order they play, loads them and makes their surfaces for
// drawable, and places the rig with its tweens: what start-up does, and what tests that play the
// whole presentation do.
void composePresentation(Presentation& show, const Drawable& drawable);
