// The flight of the outdoor scene's missiles: launch values, the fall under gravity, when a flight
// ends, where it explodes and how the model is turned along its path.
#pragma once

#include <functional>
#include <memory>

#include <vector>

#include "core/vector3.h"
#include "effects/particle_emmiter.h"
#include "effects/particle_explosion.h"
#include "world/c_static_3d.h"

class ObjectGroup;

constexpr float kMissilesReadySeconds = 20.0f;  // no launch before this presentation time
constexpr float kMissileLaunchX = 195.0f;
constexpr float kMissileLaunchY = 20.0f;
constexpr float kMissileFlightSeconds = 9.0f;  // a flight that has not hit the ground ends after this
constexpr float kMissileGravity = -24.8f;      // units per second²
constexpr float kMissileScale = 2.0f;

struct MissileLaunch {
  float launchTime = -1.0f;  // presentation time at which the missile starts to fly
  Vector3 position;
  Vector3 velocity;  // units per second
};

// A launch from presentation time timeSeconds: up to 4 s of delay, a start point on the line
// x = 195, y = 20 between z = −40 and 40, and a velocity toward −x and upward. Draws five random
// fractions: the delay, the start z, then the three that make the velocity's z, y and x.
MissileLaunch drawMissileLaunch(float timeSeconds);

// One step of the flight: gravity changes the velocity, then the velocity moves the position.
void fallMissile(Vector3& velocity, Vector3& position, float dtSeconds);

// A flight ends when the missile comes within 2 units of the ground under it, or when it has flown
// for more than 9 seconds.
bool missileFlightEnds(const Vector3& position, float groundHeight, float timeSeconds, float launchTime);

// Where the explosion of a missile at position starts: one unit above it.
Vector3 explosionPoint(const Vector3& position);

// The axis and angle (degrees) that turn the model's +x onto the direction of velocity. A zero
// velocity has no direction: false, and the outputs stay as they were.
bool orientationAlong(const Vector3& velocity, float axis[3], float& angleDegrees);

// One of the launcher's missiles: waiting (launch time negative or still ahead), in flight, or
// exploded and waiting again.
struct Missile {
  Vector3 velocity;                  // units per second
  float launchTime = -1.0f;          // negative while waiting to be launched
  std::unique_ptr<CStatic3D> body;   // "missile.3ds"; null when the model could not be loaded
  ParticleEmmiter* trail = nullptr;  // held by the scene's trails; null until the first flight
  // Made with the scene, so that the first flight finds its trail ready; null once it is in use.
  std::unique_ptr<ParticleEmmiter> spareTrail;
};

// Explosions made ready ahead of time, and finished ones kept for the next blast, so that a
// blast during the show allocates nothing. Its capacity is the most it keeps.
using ExplosionSpares = std::vector<std::unique_ptr<ParticleExplosion>>;

// Fills the spares up to their capacity with explosions that have room for their fragments.
void prepareExplosionSpares(ExplosionSpares& spares, std::size_t count);
// A fresh explosion: a spare when there is one, otherwise a new one.
std::unique_ptr<ParticleExplosion> takeExplosion(ExplosionSpares& spares);

// The ground height under (x, z).
using GroundHeight = std::function<float(float x, float z)>;

// A waiting missile is launched once the presentation passes 20 s: launch time, start point,
// velocity and scale 2 (the draws of drawMissileLaunch). True when it was launched now.
bool launchWhenReady(Missile& missile, float timeSeconds);
// Between its launch time and now (both exclusive); only then is it drawn.
bool isInFlight(const Missile& missile, float timeSeconds);
// One frame of a flight: the fall, the end of the flight, the turn along the path. At the end the
// missile waits again and blastCentre is where its explosion starts; true then.
bool flyMissile(Missile& missile, float timeSeconds, float dtSeconds, const GroundHeight& groundHeight,
                Vector3& blastCentre);

// Takes every explosion out of the group, back to the spares while they have room.
void retireExplosions(ObjectGroup& explosions, ExplosionSpares& spares);
// Simulates every explosion in the group in order and takes out each one that has finished: it
// goes back to the spares while they have room, and is freed otherwise. The explosion that moves
// into the emptied place is simulated in the same walk.
void simulateExplosions(ObjectGroup& explosions, float dtSeconds, ExplosionSpares& spares);
