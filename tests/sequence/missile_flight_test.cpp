#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/random.h"
#include "effects/particle_explosion.h"
#include "sequence/missile_flight.h"
#include "sequence/object_group.h"

namespace {

TEST(MissileFlight, launchDrawsDelayStartAndVelocityInThatOrder) {
  seedRandom(9);
  const float delay = randomFraction();
  const float start = randomFraction();
  const float u1 = randomFraction();
  const float u2 = randomFraction();
  const float u3 = randomFraction();
  seedRandom(9);

  const MissileLaunch launch = drawMissileLaunch(21.0f);
  EXPECT_FLOAT_EQ(launch.launchTime, 21.0f + delay * 4.0f);
  EXPECT_EQ(launch.position.x, 195.0f);
  EXPECT_EQ(launch.position.y, 20.0f);
  EXPECT_FLOAT_EQ(launch.position.z, 40.0f - start * 80.0f);
  EXPECT_FLOAT_EQ(launch.velocity.x, (-7.0f - u3 * 5.0f) * 5.7f);
  EXPECT_FLOAT_EQ(launch.velocity.y, (u2 * 3.0f + 7.0f) * 5.7f);
  EXPECT_FLOAT_EQ(launch.velocity.z, (0.3f - u1 * 0.6f) * 5.7f);
  EXPECT_EQ(launch.velocity.w, 0.0f);
}

TEST(MissileFlight, modelIsTurnedFromPlusXOntoTheFlightDirection) {
  float axis[3] = {0.0f, 0.0f, 0.0f};
  float angle = 0.0f;
  ASSERT_TRUE(orientationAlong(Vector3(0.0f, 5.0f, 0.0f), axis, angle));
  EXPECT_FLOAT_EQ(axis[2], 1.0f);
  EXPECT_NEAR(angle, 90.0f, 1e-4f);

  ASSERT_TRUE(orientationAlong(Vector3(-3.0f, 3.0f, 0.0f), axis, angle));
  EXPECT_NEAR(angle, 135.0f, 1e-3f);

  // Straight along the model's axis: no turn, and no invalid angle from rounding.
  ASSERT_TRUE(orientationAlong(Vector3(7.0f, 0.0f, 0.0f), axis, angle));
  EXPECT_EQ(angle, 0.0f);

  axis[0] = 0.5f;
  angle = 12.0f;
  EXPECT_FALSE(orientationAlong(Vector3(), axis, angle));
  EXPECT_EQ(axis[0], 0.5f);
  EXPECT_EQ(angle, 12.0f);
}

Missile missileInFlight(const Vector3& position, const Vector3& velocity, float launchTime) {
  Missile missile;
  missile.body = std::make_unique<CStatic3D>();
  missile.body->position = position;
  missile.velocity = velocity;
  missile.launchTime = launchTime;
  return missile;
}

TEST(MissileFlight, missileHittingTheGroundExplodesOneUnitAboveAndRelaunchesFrom195) {
  const GroundHeight flatGround = [](float, float) { return 5.0f; };
  Missile missile = missileInFlight(Vector3(10.0f, 7.5f, 3.0f), Vector3(-40.0f, -10.0f, 0.0f), 22.0f);
  ASSERT_TRUE(isInFlight(missile, 25.0f));

  Vector3 blastCentre;
  ASSERT_TRUE(flyMissile(missile, 25.0f, 0.1f, flatGround, blastCentre));
  const Vector3& hit = missile.body->position;
  EXPECT_LT(hit.y - 2.0f, 5.0f);
  EXPECT_EQ(blastCentre.x, hit.x);
  EXPECT_FLOAT_EQ(blastCentre.y, hit.y + 1.0f);
  EXPECT_EQ(blastCentre.z, hit.z);
  EXPECT_EQ(missile.launchTime, -1.0f);
  EXPECT_FALSE(isInFlight(missile, 25.0f));

  seedRandom(4);
  const float delay = randomFraction();
  seedRandom(4);
  ASSERT_TRUE(launchWhenReady(missile, 25.1f));
  EXPECT_EQ(missile.body->position.x, 195.0f);
  EXPECT_EQ(missile.body->position.y, 20.0f);
  EXPECT_EQ(missile.body->scale, 2.0f);
  EXPECT_FLOAT_EQ(missile.launchTime, 25.1f + delay * 4.0f);
  // Waiting for its launch time, it is neither drawn nor launched again.
  EXPECT_EQ(isInFlight(missile, 25.1f), false);
  EXPECT_FALSE(launchWhenReady(missile, 25.2f));
}

TEST(MissileFlight, noLaunchUntilTwentySecondsAndFlightsEndAfterNine) {
  Missile missile;
  missile.body = std::make_unique<CStatic3D>();
  EXPECT_FALSE(launchWhenReady(missile, 20.0f));
  EXPECT_EQ(missile.launchTime, -1.0f);

  const GroundHeight deepGround = [](float, float) { return -1000.0f; };
  Missile high = missileInFlight(Vector3(0.0f, 100.0f, 0.0f), Vector3(-40.0f, 0.0f, 0.0f), 21.0f);
  Vector3 blastCentre;
  EXPECT_FALSE(flyMissile(high, 30.0f, 0.1f, deepGround, blastCentre));
  // Turned along its path: toward −x and a little downward, nearly half a turn from +x.
  const float expectedDegrees = 180.0f - std::atan2(2.48f, 40.0f) * 57.29578f;
  EXPECT_NEAR(high.body->rotationAngle, expectedDegrees, 1e-3f);
  EXPECT_LT(high.body->rotationAxis[2], 0.0f);
  EXPECT_TRUE(flyMissile(high, 30.01f, 0.1f, deepGround, blastCentre));

  Missile withoutBody;
  EXPECT_FALSE(launchWhenReady(withoutBody, 30.0f));
}

// An explosion with one fragment of the given age; past maxAge it counts as finished.
std::unique_ptr<ParticleExplosion> explosionAged(float ageSeconds) {
  auto explosion = std::make_unique<ParticleExplosion>();
  explosion->maxAge = 2.2f;
  Fragment fragment;
  fragment.age = ageSeconds;
  explosion->fragments.push_back(fragment);
  return explosion;
}

TEST(MissileFlight, finishedExplosionsLeaveTheGroupWithoutSkippingTheNextOne) {
  ObjectGroup explosions;
  explosions.add(explosionAged(10.0f));
  explosions.add(explosionAged(10.0f));
  CGameObj* const running = explosions.add(explosionAged(-1.0f));
  explosions.add(explosionAged(10.0f));

  // Room for two spares: two finished explosions are kept for the next blasts, the third is freed.
  ExplosionSpares spares;
  spares.reserve(2);
  simulateExplosions(explosions, 0.1f, spares);
  ASSERT_EQ(explosions.children.size(), 1u);
  EXPECT_EQ(explosions.children[0], running);
  EXPECT_FLOAT_EQ(static_cast<ParticleExplosion*>(running)->fragments[0].age, -0.9f);
  ASSERT_EQ(spares.size(), 2u);
  for (const std::unique_ptr<ParticleExplosion>& spare : spares) {
    EXPECT_TRUE(spare->fragments.empty());
    EXPECT_GE(spare->fragments.capacity(), 1u);
    EXPECT_EQ(spare->parentCount, 0);
  }

  // A kept explosion comes back as good as new, and blasts like one.
  std::unique_ptr<ParticleExplosion> reused = takeExplosion(spares);
  ParticleExplosion fresh;
  seedRandom(5);
  reused->create(8.0f, Vector3(1.0f, 2.0f, 3.0f, 0.0f));
  seedRandom(5);
  fresh.create(8.0f, Vector3(1.0f, 2.0f, 3.0f, 0.0f));
  ASSERT_EQ(reused->fragments.size(), fresh.fragments.size());
  EXPECT_FLOAT_EQ(reused->fragments[7].velocity.y, fresh.fragments[7].velocity.y);
  EXPECT_EQ(reused->expiredCount, 0);
  retireExplosions(explosions, spares);
  EXPECT_TRUE(explosions.children.empty());
  EXPECT_EQ(spares.size(), 2u);
}

TEST(MissileFlight, sparesAreReadyWithRoomForEveryFragment) {
  ExplosionSpares spares;
  prepareExplosionSpares(spares, 3);
  ASSERT_EQ(spares.size(), 3u);
  EXPECT_GE(spares[0]->fragments.capacity(), static_cast<size_t>(ParticleExplosion::kFragmentCount));
  takeExplosion(spares);
  takeExplosion(spares);
  takeExplosion(spares);
  EXPECT_NE(takeExplosion(spares), nullptr);  // none left: a new one
}

}  // namespace
