#include <gtest/gtest.h>

#include <GL/glew.h>

#include "core/random.h"
#include "effects/particle_emmiter.h"
#include "effects/particle_explosion.h"
#include "gpu/matrix_helpers.h"
#include "tests/effects/draw_canvas.h"
#include "tests/support/gl_test_context.h"

namespace {

TEST(EffectsDrawing, emitterQuadsStandOnTheirParticlesAndRestoreDepthWrites) {
  REQUIRE_GL_CONTEXT();
  DrawCanvas canvas;
  ASSERT_TRUE(canvas.complete());
  const GLuint sprite = makeWhiteTexture();
  setFixedPerspective(0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f);

  ParticleEmmiter emitter;
  emitter.mode = ParticleEmmiter::EmitPoint;
  emitter.setup(1, 1.0f, Vector3(), 1.0f, 1.0f, sprite);
  Particle& particle = emitter.particles[0];
  particle.life = 0.5f;
  particle.fade = 1.0f;
  particle.size = 2.0f;
  emitter.render();

  // The quad spans 2 × size across and size upwards from the particle at the centre of the view,
  // so the upper half of the canvas is lit and the lower half is not.
  EXPECT_GT(canvas.litPixels(), 100);
  GLubyte above[4] = {0, 0, 0, 0};
  GLubyte below[4] = {0, 0, 0, 0};
  glReadPixels(DrawCanvas::kSize / 2, DrawCanvas::kSize / 2 + 4, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, above);
  glReadPixels(DrawCanvas::kSize / 2, DrawCanvas::kSize / 2 - 4, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, below);
  EXPECT_GT(above[0], 200);
  EXPECT_EQ(below[0], 0);

  GLboolean depthWrites = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  EXPECT_EQ(depthWrites, GL_TRUE);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  glDeleteTextures(1, &sprite);
}

TEST(EffectsDrawing, simulatedEmitterShowsFromTheFrameAfterItsFirstSpawn) {
  REQUIRE_GL_CONTEXT();
  DrawCanvas canvas;
  const GLuint sprite = makeWhiteTexture();
  setFixedPerspective(0.0f, 2.0f, 12.0f, 0.0f, 2.0f, 0.0f);
  seedRandom(21);

  ParticleEmmiter emitter;
  emitter.presetSmokeColumn();
  emitter.texture = sprite;
  emitter.simulate(0.0f, 0.1f);
  emitter.render();
  EXPECT_EQ(canvas.litPixels(), 0);  // the one spawn is drawn with fade 0 this frame
  for (int frame = 0; frame < 10; ++frame) {
    emitter.simulate(0.0f, 0.1f);
  }
  emitter.render();
  EXPECT_GT(canvas.litPixels(), 50);
  glDeleteTextures(1, &sprite);
}

TEST(EffectsDrawing, explosionDrawsBetweenBeginAndEndAndNothingWithoutTexture) {
  REQUIRE_GL_CONTEXT();
  DrawCanvas canvas;
  const GLuint sprite = makeWhiteTexture();
  setFixedPerspective(0.0f, 0.0f, 30.0f, 0.0f, 0.0f, 0.0f);
  seedRandom(22);

  ParticleExplosion explosion;
  explosion.create(1.0f, Vector3());
  for (int frame = 0; frame < 10; ++frame) {
    explosion.simulate(0.1f);
  }
  beginExplosionDraw();
  explosion.render();  // no sprite: draws nothing
  EXPECT_EQ(canvas.litPixels(), 0);
  explosion.texture = sprite;
  explosion.render();
  endExplosionDraw();
  EXPECT_GT(canvas.litPixels(), 20);

  GLboolean depthWrites = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  EXPECT_EQ(depthWrites, GL_TRUE);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  glDeleteTextures(1, &sprite);
}

}  // namespace
