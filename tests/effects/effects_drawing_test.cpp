#include <gtest/gtest.h>

#include <GL/glew.h>

#include <vector>

#include "core/random.h"
#include "effects/particle_emmiter.h"
#include "effects/particle_explosion.h"
#include "gpu/matrix_helpers.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/offscreen_surface.h"
#include "tests/support/private_working_folder.h"

namespace {

// Sprite requests are logged: keep those lines in a log of this test's own.
class EffectsDrawing : public ::testing::Test {
 protected:
  PrivateWorkingFolder workingFolder_;
};

bool isLit(const Pixel& pixel) { return pixel.r > 8 || pixel.g > 8 || pixel.b > 8; }

// A 4 × 4 opaque white sprite.
GLuint createWhiteTexture() {
  const std::vector<unsigned char> white(4 * 4 * 4, 255);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, white.data());
  return name;
}

void expectDepthWritesOnAndBlendingOff() {
  GLboolean depthWrites = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  EXPECT_EQ(depthWrites, GL_TRUE);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(EffectsDrawing, emitterQuadsStandOnTheirParticlesAndLeaveTheSceneStateBehind) {
  REQUIRE_GL_CONTEXT();
  OffscreenSurface surface;
  ASSERT_TRUE(surface.ready());
  const GLuint sprite = createWhiteTexture();
  surface.begin();
  setFixedPerspective(0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f);

  ParticleEmmiter emitter;
  emitter.mode = ParticleEmmiter::EmitPoint;
  emitter.setup(1, 1.0f, Vector3(), 1.0f, 1.0f, sprite);
  Particle& particle = emitter.particles[0];
  particle.life = 0.5f;
  particle.fade = 1.0f;
  particle.size = 2.0f;
  emitter.render();
  surface.end();

  // The quad spans 2 × size across and size upwards from the particle in the middle of the view,
  // so the upper half of the picture is lit and the lower half is not.
  EXPECT_GT(surface.countPixels(isLit), 100);
  const int middle = surface.size() / 2;
  EXPECT_GT(surface.pixel(middle, middle + 4).r, 200);
  EXPECT_EQ(surface.pixel(middle, middle - 4).r, 0);
  expectDepthWritesOnAndBlendingOff();
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  glDeleteTextures(1, &sprite);
}

TEST_F(EffectsDrawing, simulatedEmitterShowsFromTheFrameAfterItsFirstSpawn) {
  REQUIRE_GL_CONTEXT();
  OffscreenSurface surface;
  const GLuint sprite = createWhiteTexture();
  seedRandom(21);
  ParticleEmmiter emitter;
  emitter.presetSmokeColumn();
  emitter.texture = sprite;

  surface.begin();
  setFixedPerspective(0.0f, 2.0f, 12.0f, 0.0f, 2.0f, 0.0f);
  emitter.simulate(0.0f, 0.1f);
  emitter.render();
  surface.end();
  EXPECT_EQ(surface.countPixels(isLit), 0);  // the one spawn is drawn with fade 0 this frame

  for (int frame = 0; frame < 10; ++frame) {
    emitter.simulate(0.0f, 0.1f);
  }
  surface.begin();
  emitter.render();
  surface.end();
  EXPECT_GT(surface.countPixels(isLit), 50);
  glDeleteTextures(1, &sprite);
}

TEST_F(EffectsDrawing, explosionDrawsBetweenBeginAndEndAndNothingWithoutTexture) {
  REQUIRE_GL_CONTEXT();
  OffscreenSurface surface;
  const GLuint sprite = createWhiteTexture();
  seedRandom(22);
  ParticleExplosion explosion;
  explosion.create(1.0f, Vector3());
  explosion.texture = 0;
  for (int frame = 0; frame < 10; ++frame) {
    explosion.simulate(0.1f);
  }

  surface.begin();
  setFixedPerspective(0.0f, 0.0f, 30.0f, 0.0f, 0.0f, 0.0f);
  beginExplosionDraw();
  explosion.render();
  endExplosionDraw();
  surface.end();
  EXPECT_EQ(surface.countPixels(isLit), 0);

  explosion.texture = sprite;
  surface.begin();
  beginExplosionDraw();
  explosion.render();
  endExplosionDraw();
  surface.end();
  EXPECT_GT(surface.countPixels(isLit), 20);
  expectDepthWritesOnAndBlendingOff();
  glDeleteTextures(1, &sprite);
}

}  // namespace
