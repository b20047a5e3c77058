#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "core/random.h"
#include "effects/particle_emmiter.h"
#include "tests/support/private_working_folder.h"

namespace {

// The sprites are asked of the texture manager, which logs every attempt: keep those lines in a
// log of this test's own.
class ParticleEmmiterTest : public ::testing::Test {
 protected:
  PrivateWorkingFolder workingFolder_;
};

int aliveCount(const ParticleEmmiter& emitter) {
  int alive = 0;
  for (const Particle& particle : emitter.particles) {
    alive += particle.life > 0.0f ? 1 : 0;
  }
  return alive;
}

void setUpPointEmitter(ParticleEmmiter& emitter, int count, float lifetime, const Vector3& baseVelocity) {
  emitter.mode = ParticleEmmiter::EmitPoint;
  emitter.velocity = baseVelocity;
  emitter.setup(count, lifetime, Vector3(), 1.0f, 2.0f, 0);
}

TEST_F(ParticleEmmiterTest, firstSpawnComesOnTheSecondStepWhenDtEqualsTheInterval) {
  seedRandom(1);
  ParticleEmmiter emitter;
  setUpPointEmitter(emitter, 4, 1.0f, Vector3(0.0f, 1.0f, 0.0f, 0.0f));
  ASSERT_FLOAT_EQ(emitter.emitInterval, 0.25f);

  emitter.simulate(0.0f, 0.25f);
  EXPECT_EQ(aliveCount(emitter), 0);
  emitter.simulate(0.0f, 0.25f);
  EXPECT_EQ(aliveCount(emitter), 1);
  EXPECT_FLOAT_EQ(emitter.emitAccumulator, 0.25f);
}

TEST_F(ParticleEmmiterTest, backlogBuildsWhileThePoolIsFullAndIsSpentWhenSlotsFreeUp) {
  seedRandom(2);
  ParticleEmmiter emitter;
  setUpPointEmitter(emitter, 3, 1.0f, Vector3());
  // One long step pays for all three slots at once.
  emitter.simulate(0.0f, 1.1f);
  EXPECT_EQ(aliveCount(emitter), 3);
  for (int step = 0; step < 5; ++step) {
    emitter.simulate(0.0f, 0.1f);
  }
  EXPECT_EQ(aliveCount(emitter), 3);
  EXPECT_GT(emitter.emitAccumulator, 0.4f);

  // Lives are 1 to 2 seconds: after this step every particle has died...
  emitter.simulate(0.0f, 2.0f);
  EXPECT_EQ(aliveCount(emitter), 0);
  // ...and the next step respawns all of them from the backlog.
  emitter.simulate(0.0f, 0.0f);
  EXPECT_EQ(aliveCount(emitter), 3);
}

TEST_F(ParticleEmmiterTest, pointSpawnDrawsLifeJitterTiltAndTurnInThatOrder) {
  seedRandom(42);
  const float lifeDraw = randomFraction();
  const float jitterDraw = randomFraction();
  const float tiltDraw = randomFraction();
  randomFraction();  // the turn, which leaves a vertical velocity as it is

  seedRandom(42);
  ParticleEmmiter emitter;
  setUpPointEmitter(emitter, 1, 2.0f, Vector3(0.0f, 3.0f, 0.0f, 0.0f));
  emitter.position = Vector3(5.0f, 6.0f, 7.0f, 0.0f);
  emitter.simulate(0.0f, 2.5f);

  const Particle& particle = emitter.particles[0];
  EXPECT_FLOAT_EQ(particle.life, (lifeDraw + 1.0f) * 2.0f);
  EXPECT_FLOAT_EQ(particle.sizeJitter, jitterDraw * 0.5f);
  EXPECT_FLOAT_EQ(particle.position.x, 5.0f);
  EXPECT_FLOAT_EQ(particle.position.y, 6.0f);
  EXPECT_FLOAT_EQ(particle.position.z, 7.0f);
  const float tilt = tiltDraw * 0.5f;
  EXPECT_FLOAT_EQ(particle.velocity.y, 3.0f * std::cos(tilt));
  EXPECT_FLOAT_EQ(particle.velocity.z, 3.0f * std::sin(tilt));
  // The respawned slot keeps the fade of its previous life, so it stays invisible this frame.
  EXPECT_EQ(particle.fade, 0.0f);
}

TEST_F(ParticleEmmiterTest, scatteredVelocitiesLeanOnlyTowardsPositiveZ) {
  seedRandom(3);
  const float speed = 4.5f;
  ParticleEmmiter emitter;
  setUpPointEmitter(emitter, 200, 1.0f, Vector3(0.0f, speed, 0.0f, 0.0f));
  emitter.simulate(0.0f, 1.5f);
  ASSERT_EQ(aliveCount(emitter), 200);
  float largestZ = 0.0f;
  for (const Particle& particle : emitter.particles) {
    EXPECT_EQ(particle.velocity.x, 0.0f);
    EXPECT_GE(particle.velocity.z, 0.0f);
    EXPECT_NEAR(particle.velocity.length(), speed, 1e-4f);
    largestZ = std::max(largestZ, particle.velocity.z);
  }
  // Tilts reach up to 0.5 radian.
  EXPECT_GT(largestZ, speed * std::sin(0.4f));
}

TEST_F(ParticleEmmiterTest, movingParticlesTakeTheFullDtSquaredAndFadeOverTheirLastLifetime) {
  ParticleEmmiter emitter;
  setUpPointEmitter(emitter, 1, 1.0f, Vector3());
  Particle& particle = emitter.particles[0];
  particle.life = 1.5f;
  particle.sizeJitter = 0.25f;
  particle.velocity = Vector3(1.0f, 0.0f, 0.0f, 0.0f);
  particle.acceleration = Vector3(0.0f, 2.0f, 0.0f, 0.0f);

  emitter.simulate(0.0f, 0.25f);
  EXPECT_FLOAT_EQ(particle.position.x, 0.25f);
  EXPECT_FLOAT_EQ(particle.position.y, 2.0f * 0.25f * 0.25f);
  EXPECT_FLOAT_EQ(particle.velocity.y, 0.5f);
  EXPECT_FLOAT_EQ(particle.fade, 1.0f);  // more than one lifetime left
  EXPECT_FLOAT_EQ(particle.size, 1.0f + 0.25f);

  emitter.simulate(0.0f, 0.75f);
  EXPECT_FLOAT_EQ(particle.fade, 0.5f);
  EXPECT_FLOAT_EQ(particle.size, 1.0f + 0.5f + 0.25f);
}

TEST_F(ParticleEmmiterTest, volumeParticlesStandStillAndArePeakOpaqueAtHalfLife) {
  seedRandom(4);
  ParticleEmmiter emitter;
  emitter.presetBubbleVolume(-1.0f, 2.0f, -3.0f, 1.0f, 4.0f, 3.0f, 2);
  emitter.emitAccumulator = 2.0f;  // enough backlog for both slots in the first step
  emitter.simulate(0.0f, 0.0f);
  ASSERT_EQ(aliveCount(emitter), 2);
  const Vector3 start = emitter.particles[0].position;
  EXPECT_GE(start.x, -1.0f);
  EXPECT_LT(start.x, 1.0f);
  EXPECT_GE(start.y, 2.0f);
  EXPECT_LT(start.y, 4.0f);
  EXPECT_GE(emitter.particles[0].sizeJitter, 0.8f);

  emitter.simulate(0.0f, 0.25f);
  EXPECT_FLOAT_EQ(emitter.particles[0].fade, 0.5f);  // rising
  emitter.simulate(0.0f, 0.25f);
  EXPECT_EQ(emitter.particles[0].fade, 1.0f);  // ratio 0.5
  emitter.simulate(0.0f, 0.25f);
  EXPECT_FLOAT_EQ(emitter.particles[0].fade, 0.5f);  // falling
  EXPECT_EQ(emitter.particles[0].position.x, start.x);
  EXPECT_EQ(emitter.particles[0].position.y, start.y);
  EXPECT_EQ(emitter.particles[0].position.z, start.z);
}

TEST_F(ParticleEmmiterTest, areaSpawnsOnTheGroundRectangle) {
  seedRandom(5);
  ParticleEmmiter emitter;
  emitter.presetSmokeArea(-100.0f, -50.0f, 100.0f, 50.0f, 70);
  emitter.emitAccumulator = 10.0f;
  emitter.simulate(0.0f, 0.0f);
  ASSERT_EQ(aliveCount(emitter), 70);
  for (const Particle& particle : emitter.particles) {
    EXPECT_GE(particle.position.x, -100.0f);
    EXPECT_LT(particle.position.x, 100.0f);
    EXPECT_GE(particle.position.z, -50.0f);
    EXPECT_LT(particle.position.z, 50.0f);
    EXPECT_EQ(particle.position.y, 0.0f);
  }
}

TEST_F(ParticleEmmiterTest, trailFromAStillEmitterSpawnsAtTheEmitterAndAlongTheMoveOtherwise) {
  seedRandom(6);
  ParticleEmmiter emitter;
  emitter.presetFlareTrail();
  emitter.setPosition(3.0f, 5.0f, -2.0f, 0.0f);
  emitter.simulate(0.0f, 0.1f);
  ASSERT_GT(aliveCount(emitter), 10);
  for (const Particle& particle : emitter.particles) {
    if (particle.life > 0.0f) {
      EXPECT_FLOAT_EQ(particle.position.x, 3.0f);
      EXPECT_FLOAT_EQ(particle.position.y, 5.0f);
      EXPECT_FLOAT_EQ(particle.position.z, -2.0f);
      EXPECT_GE(particle.life, 0.3f);
      EXPECT_LT(particle.life, 0.6f);
    }
  }

  // The owner moves the emitter by writing its position alone: spawns lie on the path.
  ParticleEmmiter moving;
  moving.presetFlareTrail();
  moving.setPosition(0.0f, 0.0f, 0.0f, 0.0f);
  moving.position = Vector3(10.0f, 0.0f, 0.0f, 0.0f);
  moving.simulate(0.0f, 0.1f);
  for (const Particle& particle : moving.particles) {
    if (particle.life > 0.0f) {
      EXPECT_GE(particle.position.x, 0.0f);
      EXPECT_LE(particle.position.x, 10.0f);
    }
  }
  EXPECT_EQ(moving.previousPosition.x, 10.0f);
}

TEST_F(ParticleEmmiterTest, secondPresetGrowsThePoolAndTakesTheNewInterval) {
  ParticleEmmiter emitter;
  emitter.presetSmokeArea(-1.0f, -1.0f, 1.0f, 1.0f, 70);
  emitter.presetSmokeArea(-1.0f, -1.0f, 1.0f, 1.0f, 30);
  EXPECT_EQ(emitter.particles.size(), 100u);
  EXPECT_FLOAT_EQ(emitter.emitInterval, 2.0f / 30.0f);

  ParticleEmmiter column;
  column.presetSmokeColumn();
  EXPECT_EQ(column.particles.size(), 25u);
  EXPECT_FLOAT_EQ(column.emitInterval, 0.08f);
}

TEST_F(ParticleEmmiterTest, unknownModeNeitherSpawnsNorAgesAndEmptySetupNeverSpawns) {
  ParticleEmmiter emitter;
  setUpPointEmitter(emitter, 2, 1.0f, Vector3());
  emitter.particles[0].life = 0.5f;
  emitter.mode = 7;
  emitter.simulate(0.0f, 5.0f);
  EXPECT_EQ(emitter.particles[0].life, 0.5f);
  EXPECT_EQ(emitter.particles[1].life, -1.0f);
  EXPECT_EQ(emitter.emitAccumulator, 0.0f);

  ParticleEmmiter empty;
  setUpPointEmitter(empty, 0, 1.0f, Vector3());
  empty.simulate(0.0f, 100.0f);
  EXPECT_TRUE(empty.particles.empty());
}

TEST_F(ParticleEmmiterTest, presetsAskForTheirSpritesAndKeepNameZeroWhenTheyAreMissing) {
  ParticleEmmiter column;
  column.presetSmokeColumn();
  ParticleEmmiter bubbles;
  bubbles.presetBubbleVolume(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 4);
  ParticleEmmiter flare;
  flare.presetFlareTrail();
  flare.setTexture("star.jpg");
  EXPECT_EQ(column.texture, 0u);
  EXPECT_EQ(flare.texture, 0u);

  std::ifstream logFile("debug.txt");
  std::stringstream log;
  log << logFile.rdbuf();
  for (const char* sprite : {"smoke.jpg", "BlueBubble.jpg", "flare.jpg", "star.jpg"}) {
    EXPECT_NE(log.str().find(std::string("TextureManager: image ") + sprite), std::string::npos) << sprite;
  }
}

}  // namespace
