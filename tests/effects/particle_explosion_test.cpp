#include <gtest/gtest.h>

#include <cmath>

#include "core/random.h"
#include "effects/particle_explosion.h"
#include "tests/support/private_working_folder.h"

namespace {

// The sprites are asked of the texture manager, which logs every attempt: keep those lines in a
// log of this test's own.
class ParticleExplosionTest : public ::testing::Test {
 protected:
  PrivateWorkingFolder workingFolder_;
};

void expectColour(const FragmentColour& colour, float r, float g, float b) {
  EXPECT_NEAR(colour.r, r, 1e-6f);
  EXPECT_NEAR(colour.g, g, 1e-6f);
  EXPECT_NEAR(colour.b, b, 1e-6f);
}

TEST_F(ParticleExplosionTest, colourRampMeetsEveryStopAndEndsBlack) {
  expectColour(ParticleExplosion::colourRamp(0.0f), 0.0f, 0.0f, 0.0f);
  expectColour(ParticleExplosion::colourRamp(0.2f), 0.5f, 0.3f, 0.2f);
  expectColour(ParticleExplosion::colourRamp(0.4f), 0.4f, 0.4f, 0.3f);
  expectColour(ParticleExplosion::colourRamp(0.6f), 0.3f, 0.3f, 0.3f);
  expectColour(ParticleExplosion::colourRamp(0.8f), 0.2f, 0.2f, 0.2f);
  expectColour(ParticleExplosion::colourRamp(1.0f), 0.0f, 0.0f, 0.0f);
  // Just below a stop the colour is already close to it: the ramp is continuous.
  const FragmentColour belowStop = ParticleExplosion::colourRamp(0.39999f);
  EXPECT_NEAR(belowStop.r, 0.4f, 1e-4f);
  EXPECT_NEAR(belowStop.b, 0.3f, 1e-4f);
}

TEST_F(ParticleExplosionTest, spawnDrawsSevenFractionsPerFragmentInOrder) {
  seedRandom(11);
  float u[7];
  for (float& draw : u) {
    draw = randomFraction();
  }

  seedRandom(11);
  ParticleExplosion explosion;
  explosion.create(8.0f, Vector3(10.0f, 20.0f, 30.0f, 0.0f));
  ASSERT_EQ(explosion.fragments.size(), 30u);
  EXPECT_EQ(explosion.scale, 8.0f);
  EXPECT_EQ(explosion.gravity.y, -8.0f);
  const Fragment& first = explosion.fragments[0];
  EXPECT_FLOAT_EQ(first.position.x, 10.0f + (1.0f - 2.0f * u[2]) * 4.0f);
  EXPECT_FLOAT_EQ(first.position.y, 20.0f + (1.0f - 2.0f * u[1]) * 4.0f);
  EXPECT_FLOAT_EQ(first.position.z, 30.0f + (1.0f - 2.0f * u[3]) * 4.0f);
  const float speed = 12.0f + 16.0f * u[0];
  EXPECT_FLOAT_EQ(first.age, -1.5f * u[0]);
  EXPECT_EQ(first.size, 8.0f);
  EXPECT_FLOAT_EQ(first.growth, u[4]);
  const float tilt = u[5] * 2.2f;
  EXPECT_EQ(first.velocity.x, 0.0f);
  EXPECT_FLOAT_EQ(first.velocity.y, speed * std::cos(tilt));
  EXPECT_FLOAT_EQ(first.velocity.z, speed * std::sin(tilt));
}

TEST_F(ParticleExplosionTest, fragmentAtExactlyMaxAgeStillFliesAndTheBurstFinishesWhenAllHaveExpired) {
  ParticleExplosion explosion;
  explosion.create(1.0f, Vector3());
  explosion.maxAge = 2.0f;
  EXPECT_FALSE(explosion.isFinished());  // before the first step

  for (Fragment& fragment : explosion.fragments) {
    fragment.age = 1.5f;
  }
  const Vector3 before = explosion.fragments[0].position;
  explosion.simulate(0.5f);
  EXPECT_EQ(explosion.expiredCount, 0);
  EXPECT_FALSE(explosion.isFinished());
  EXPECT_NE(explosion.fragments[0].position.y, before.y);
  expectColour(explosion.fragments[0].colour, 0.0f, 0.0f, 0.0f);

  explosion.fragments[1].age = -1.0f;  // one fragment still waiting
  explosion.simulate(0.25f);
  EXPECT_EQ(explosion.expiredCount, 29);
  EXPECT_FALSE(explosion.isFinished());
  const Vector3 expired = explosion.fragments[0].position;
  explosion.simulate(3.0f);
  EXPECT_TRUE(explosion.isFinished());
  EXPECT_EQ(explosion.fragments[0].position.y, expired.y);

  ParticleExplosion empty;
  EXPECT_TRUE(empty.isFinished());
}

}  // namespace
