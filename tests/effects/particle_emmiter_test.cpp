#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "gpu/texture_manager.h"
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

TEST_F(ParticleEmmiterTest, firstSpawnComesOnTheSecondStepAndABacklogRespawnsManyAtOnce) {
  seedRandom(1);
  ParticleEmmiter emitter;
  setUpPointEmitter(emitter, 4, 1.0f, Vector3());
  emitter.simulate(0.0f, 0.25f);  // exactly one interval: not yet
  EXPECT_EQ(aliveCount(emitter), 0);
  emitter.simulate(0.0f, 0.25f);
  EXPECT_EQ(aliveCount(emitter), 1);

  // Lives are 1 to 2 seconds; the backlog keeps growing while slots are busy...
  emitter.simulate(0.0f, 0.9f);
  EXPECT_EQ(aliveCount(emitter), 4);
  emitter.simulate(0.0f, 2.0f);
  EXPECT_EQ(aliveCount(emitter), 0);
  // ...and is spent on every free slot in one step.
  emitter.simulate(0.0f, 0.0f);
  EXPECT_EQ(aliveCount(emitter), 4);
}

TEST_F(ParticleEmmiterTest, pointSpawnDrawsLifeJitterTiltAndTurnInThatOrderAndMovesWithFullDtSquared) {
  seedRandom(42);
  const float lifeDraw = randomFraction();
  const float jitterDraw = randomFraction();
  const float tiltDraw = randomFraction();

  seedRandom(42);
  ParticleEmmiter emitter;
  setUpPointEmitter(emitter, 1, 2.0f, Vector3(0.0f, 3.0f, 0.0f, 0.0f));
  emitter.position = Vector3(5.0f, 6.0f, 7.0f, 0.0f);
  emitter.simulate(0.0f, 2.5f);
  const Particle& particle = emitter.particles[0];
  EXPECT_FLOAT_EQ(particle.life, (lifeDraw + 1.0f) * 2.0f);
  EXPECT_FLOAT_EQ(particle.sizeJitter, jitterDraw * 0.5f);
  EXPECT_FLOAT_EQ(particle.velocity.y, 3.0f * std::cos(tiltDraw * 0.5f));
  EXPECT_FLOAT_EQ(particle.velocity.z, 3.0f * std::sin(tiltDraw * 0.5f));
  EXPECT_EQ(particle.position.x, 5.0f);
  EXPECT_EQ(particle.fade, 0.0f);  // invisible in the frame of its spawn

  Particle& moving = emitter.particles[0];
  moving.position = Vector3();
  moving.velocity = Vector3();
  moving.acceleration = Vector3(0.0f, 2.0f, 0.0f, 0.0f);
  moving.life = 1.0f;
  emitter.simulate(0.0f, 0.5f);
  EXPECT_FLOAT_EQ(moving.position.y, 2.0f * 0.25f);
  EXPECT_FLOAT_EQ(moving.fade, 0.25f);
  EXPECT_FLOAT_EQ(moving.size, 1.0f + 0.75f + moving.sizeJitter);
}

TEST_F(ParticleEmmiterTest, pointAndAreaVelocitiesLeanOnlyTowardsPositiveZ) {
  seedRandom(3);
  ParticleEmmiter point;
  setUpPointEmitter(point, 200, 1.0f, Vector3(0.0f, 4.5f, 0.0f, 0.0f));
  point.simulate(0.0f, 1.5f);
  ParticleEmmiter area;
  area.presetSmokeArea(-100.0f, -50.0f, 100.0f, 50.0f, 70);
  area.simulate(0.0f, 10.0f);
  ASSERT_EQ(aliveCount(point), 200);
  ASSERT_EQ(aliveCount(area), 70);
  for (const ParticleEmmiter* emitter : {&point, &area}) {
    float largestZ = 0.0f;
    for (const Particle& particle : emitter->particles) {
      EXPECT_EQ(particle.velocity.x, 0.0f);
      EXPECT_GE(particle.velocity.z, 0.0f);
      largestZ = std::max(largestZ, particle.velocity.z / particle.velocity.length());
    }
    EXPECT_GT(largestZ, std::sin(0.4f));  // tilts reach up to 0.5 radian
  }
  for (const Particle& particle : area.particles) {
    EXPECT_TRUE(particle.position.x >= -100.0f && particle.position.x < 100.0f);
    EXPECT_TRUE(particle.position.z >= -50.0f && particle.position.z < 50.0f);
    EXPECT_EQ(particle.position.y, 0.0f);
  }
}

TEST_F(ParticleEmmiterTest, volumeParticlesStandStillAndArePeakOpaqueAtHalfLife) {
  seedRandom(4);
  ParticleEmmiter emitter;
  emitter.presetBubbleVolume(-1.0f, 2.0f, -3.0f, 1.0f, 4.0f, 3.0f, 1);
  emitter.simulate(0.0f, 1.5f);
  const Particle& particle = emitter.particles[0];
  ASSERT_EQ(particle.life, 1.0f);
  const Vector3 start = particle.position;
  EXPECT_TRUE(start.y >= 2.0f && start.y < 4.0f);

  const float expectedFades[3] = {0.5f, 1.0f, 0.5f};  // rising, ratio 0.5, falling
  for (float expected : expectedFades) {
    emitter.simulate(0.0f, 0.25f);
    EXPECT_EQ(particle.fade, expected);
  }
  EXPECT_EQ(particle.position.x, start.x);
  EXPECT_EQ(particle.position.y, start.y);
  EXPECT_EQ(particle.position.z, start.z);
}

TEST_F(ParticleEmmiterTest, trailFromAStillEmitterSpawnsEveryParticleAtTheEmitter) {
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
      EXPECT_TRUE(particle.life >= 0.3f && particle.life < 0.6f);
    }
  }
}

TEST_F(ParticleEmmiterTest, secondPresetGrowsThePoolAndEveryPresetAsksForItsSprite) {
  // Pictures missing in another test's folder are remembered as missing: this test has its own.
  textureManager().failedNames.clear();
  ParticleEmmiter emitter;
  emitter.presetSmokeArea(-1.0f, -1.0f, 1.0f, 1.0f, 70);
  emitter.presetSmokeArea(-1.0f, -1.0f, 1.0f, 1.0f, 30);
  EXPECT_EQ(emitter.particles.size(), 100u);
  EXPECT_FLOAT_EQ(emitter.emitInterval, 2.0f / 30.0f);

  ParticleEmmiter column;
  column.presetSmokeColumn();
  ParticleEmmiter bubbles;
  bubbles.presetBubbleVolume(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 4);
  ParticleEmmiter flare;
  flare.presetFlareTrail();
  flare.setTexture("star.jpg");
  EXPECT_EQ(flare.texture, 0u);  // no such pictures here
  std::ifstream logFile("debug.txt");
  std::stringstream log;
  log << logFile.rdbuf();
  for (const char* sprite : {"smoke.jpg", "BlueBubble.jpg", "flare.jpg", "star.jpg"}) {
    EXPECT_NE(log.str().find(std::string("TextureManager: image ") + sprite), std::string::npos) << sprite;
  }
}

}  // namespace
