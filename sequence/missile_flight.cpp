#include "sequence/missile_flight.h"

#include <cmath>

#include "core/random.h"
#include "effects/particle_explosion.h"
#include "sequence/object_group.h"

namespace {

constexpr float kMissileSpeedScale = 5.7f;
constexpr float kGroundClearance = 2.0f;
constexpr double kDegreesPerRadian = 57.295827908797776;

}  // namespace

MissileLaunch drawMissileLaunch(float timeSeconds) {
  MissileLaunch launch;
  launch.launchTime = timeSeconds + randomFraction() * 4.0f;
  launch.position = Vector3(kMissileLaunchX, kMissileLaunchY, 40.0f - randomFraction() * 80.0f, 0.0f);
  const float sideways = randomFraction();
  const float upward = randomFraction();
  const float forward = randomFraction();
  launch.velocity =
      Vector3(-7.0f - forward * 5.0f, upward * 3.0f + 7.0f, 0.3f - sideways * 0.6f, 0.0f) * kMissileSpeedScale;
  return launch;
}

void fallMissile(Vector3& velocity, Vector3& position, float dtSeconds) {
  velocity += Vector3(0.0f, kMissileGravity, 0.0f, 0.0f) * dtSeconds;
  position += velocity * dtSeconds;
}

bool missileFlightEnds(const Vector3& position, float groundHeight, float timeSeconds, float launchTime) {
  return position.y - kGroundClearance < groundHeight || timeSeconds > launchTime + kMissileFlightSeconds;
}

Vector3 explosionPoint(const Vector3& position) {
  return Vector3(position.x, position.y + 1.0f, position.z, 0.0f);
}

bool orientationAlong(const Vector3& velocity, float axis[3], float& angleDegrees) {
  Vector3 direction = velocity;
  direction.normalize();
  const float length = direction.length();
  if (length == 0.0f) {
    return false;
  }
  // The model points along +x.
  const Vector3 modelAxis(1.0f, 0.0f, 0.0f, 1.0f);
  const Vector3 turnAxis = modelAxis.cross(direction);
  axis[0] = turnAxis.x;
  axis[1] = turnAxis.y;
  axis[2] = turnAxis.z;
  // Rounding can push the cosine of a unit vector just past 1, where acos has no value.
  double cosine = modelAxis.dot(direction) / (length * modelAxis.length());
  cosine = cosine > 1.0 ? 1.0 : (cosine < -1.0 ? -1.0 : cosine);
  angleDegrees = static_cast<float>(std::acos(cosine) * kDegreesPerRadian);
  return true;
}

bool launchWhenReady(Missile& missile, float timeSeconds) {
  if (missile.launchTime >= 0.0f || timeSeconds <= kMissilesReadySeconds || !missile.body) {
    return false;
  }
  const MissileLaunch launch = drawMissileLaunch(timeSeconds);
  missile.launchTime = launch.launchTime;
  missile.body->position = launch.position;
  missile.velocity = launch.velocity;
  missile.body->scale = kMissileScale;
  return true;
}

bool isInFlight(const Missile& missile, float timeSeconds) {
  return missile.launchTime > 0.0f && missile.launchTime < timeSeconds;
}

bool flyMissile(Missile& missile, float timeSeconds, float dtSeconds, const GroundHeight& groundHeight,
                Vector3& blastCentre) {
  if (!missile.body) {
    return false;
  }
  CStatic3D& body = *missile.body;
  fallMissile(missile.velocity, body.position, dtSeconds);
  const float ground = groundHeight(body.position.x, body.position.z);
  const bool ended = missileFlightEnds(body.position, ground, timeSeconds, missile.launchTime);
  if (ended) {
    blastCentre = explosionPoint(body.position);
    missile.launchTime = -1.0f;
  }
  orientationAlong(missile.velocity, body.rotationAxis, body.rotationAngle);
  return ended;
}

void prepareExplosionSpares(ExplosionSpares& spares, std::size_t count) {
  spares.reserve(count);
  while (spares.size() < spares.capacity()) {
    auto explosion = std::make_unique<ParticleExplosion>();
    explosion->fragments.reserve(ParticleExplosion::kFragmentCount);
    spares.push_back(std::move(explosion));
  }
}

std::unique_ptr<ParticleExplosion> takeExplosion(ExplosionSpares& spares) {
  if (spares.empty()) {
    return std::make_unique<ParticleExplosion>();
  }
  std::unique_ptr<ParticleExplosion> explosion = std::move(spares.back());
  spares.pop_back();
  return explosion;
}

namespace {

// Takes child number index out of the group; an explosion goes back to the spares while they have
// room, anything else is freed.
void retireChild(ObjectGroup& explosions, std::size_t index, ExplosionSpares& spares) {
  std::unique_ptr<CGameObj> taken = explosions.takeChild(index);
  auto* const explosion = dynamic_cast<ParticleExplosion*>(taken.get());
  if (explosion == nullptr || spares.size() >= spares.capacity()) {
    return;
  }
  explosion->reset();
  taken.release();
  spares.emplace_back(explosion);
}

}  // namespace

void retireExplosions(ObjectGroup& explosions, ExplosionSpares& spares) {
  while (!explosions.children.empty()) {
    retireChild(explosions, explosions.children.size() - 1, spares);
  }
}

void simulateExplosions(ObjectGroup& explosions, float dtSeconds, ExplosionSpares& spares) {
  std::size_t index = 0;
  while (index < explosions.children.size()) {
    auto* const explosion = dynamic_cast<ParticleExplosion*>(explosions.children[index]);
    if (explosion == nullptr) {
      ++index;
      continue;
    }
    explosion->simulate(dtSeconds);
    if (explosion->isFinished()) {
      retireChild(explosions, index, spares);
    } else {
      ++index;
    }
  }
}
