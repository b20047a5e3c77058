// A one-shot burst of glowing fragments that wait, fly out under gravity and drag, grow, pass
// through a colour ramp from black through orange and grey back to black, and expire.
// Nothing is respawned; expired fragments stay in the array.
#pragma once

#include <vector>

#include "core/state_record.h"
#include "core/vector3.h"
#include "gpu/draw_layer.h"
#include "world/c_game_obj.h"

struct FragmentColour {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
};

struct Fragment {
  Vector3 position;
  Vector3 velocity;  // units per second
  FragmentColour colour;
  float age = 0.0f;     // seconds since the start; negative while the fragment waits
  float size = 0.0f;    // half-size of the quad
  float growth = 0.0f;  // relative size growth per second
};

// Its own scale (the fragments' start size) stands beside the world-object part's.
class ParticleExplosion : public CGameObj {
 public:
  static constexpr int kFragmentCount = 30;

  ParticleExplosion();
  ~ParticleExplosion() override;

  const char* getName() const override;  // "ParticleExplosion"
  // Draws the flying fragments as squares facing the view, with no transform and no children;
  // draws nothing without a texture.
  void render() override;

  // Back to the state of a new explosion, keeping the fragments' storage for the next burst.
  void reset();
  // Sets the tuning from the scale, asks for the sprite and spawns the 30 fragments.
  void create(float scaleValue, const Vector3& where);
  void spawn(int count, const Vector3& where);
  void simulate(float dtSeconds);
  bool isFinished() const;  // true once every fragment has expired (or there are none)
  // The fragments, the tuning create() chose and the sprite, as they stand ...
  void writeState(StateRecord& record) const;
  // ... and back.
  void readState(StateReader& reader);

  // Piecewise-linear through six stops, black at 0 and at 1.
  static FragmentColour colourRamp(float t);

  std::vector<Fragment> fragments;
  float minSpeed = 0.0f;
  float maxSpeed = 0.0f;
  float maxTilt = 0.0f;   // radians
  float maxDelay = 0.0f;  // seconds
  float maxAge = 0.0f;    // seconds
  float drag = 0.0f;      // per second
  float spread = 0.0f;    // half-size of the start cube
  int expiredCount = 0;
  unsigned int texture = 0;
  float scale = 0.0f;  // start size of every fragment
  Vector3 gravity;
  Vector3 centre;
};

// The pass a container of explosions is drawn with: additive blending, depth-tested without depth
// writes, unlit, textured on unit 0, no culling.
PassState explosionPass();
// Applies it.
void beginExplosionDraw();
