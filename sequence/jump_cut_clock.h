// The outdoor scene's clock: presentation time until 49 s, then random jump cuts through the flight.
// One instance serves every frame of the run, shared by whatever outdoor scene draws.
#pragma once

constexpr float kJumpCutsStartSeconds = 49.0f;

class JumpCutClock {
 public:
  // The scene time for a frame at presentation time timeSeconds. Past 49 s every frame counts the
  // countdown down by dtSeconds; when it runs out it is drawn anew (3 to 6 s) with a new cut point
  // (2 to 42 s), and that frame still shows the presentation time. Draws two random fractions per
  // restart, countdown first.
  float sceneTime(float timeSeconds, float dtSeconds);

  float cutCountdown = -1.0f;  // seconds until the next cut; negative restarts at the next frame
  float cutClock = 0.0f;       // scene time of the running cut
};

JumpCutClock& jumpCutClock();
