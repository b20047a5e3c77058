#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <vector>

#include "core/random.h"
#include "effects/particle_emmiter.h"
#include "effects/particle_explosion.h"
#include "gpu/draw_layer.h"
#include "gpu/matrix_helpers.h"
#include "gpu/render_target.h"
#include "gpu/textured_quad.h"
#include "platform/gl_binding_record.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/offscreen_surface.h"
#include "tests/support/private_working_folder.h"
#include "tests/world/plain_view.h"
#include "world/mesh.h"
#include "world/terrain.h"

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
  platform::bindTexture2D(0, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, white.data());
  return name;
}

TEST_F(EffectsDrawing, emitterQuadsStandOnTheirParticles) {
  REQUIRE_GL_CONTEXT();
  OffscreenSurface surface;
  ASSERT_TRUE(surface.ready());
  const GLuint sprite = createWhiteTexture();
  beginSurface(surface);
  setFixedPerspective(Drawable{}, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f);

  ParticleEmmiter emitter;
  emitter.mode = ParticleEmmiter::EmitPoint;
  emitter.setup(1, 1.0f, Vector3(), 1.0f, 1.0f, sprite);
  Particle& particle = emitter.particles[0];
  particle.life = 0.5f;
  particle.fade = 1.0f;
  particle.size = 2.0f;
  // Drawn through the world-object slot: the world-object transform has no effect on particles.
  CGameObj& worldObject = emitter;
  worldObject.position = Vector3(100.0f, 0.0f, 0.0f, 0.0f);
  worldObject.scale = 5.0f;
  EXPECT_STREQ(worldObject.getName(), "ParticleEmmiter");
  worldObject.render();
  surface.end();

  // The quad spans 2 × size across and size upwards from the particle in the middle of the view,
  // so the upper half of the picture is lit and the lower half is not.
  EXPECT_GT(surface.countPixels(isLit), 100);
  const int middle = surface.size() / 2;
  EXPECT_GT(surface.pixel(middle, middle + 4).r, 200);
  EXPECT_EQ(surface.pixel(middle, middle - 4).r, 0);
  platform::deleteTextures(1, &sprite);
}

// A 32 × 16 trilinear sprite with alpha: a bright disc in the middle, black and transparent round it.
GLuint createDiscTexture() {
  const int width = 32;
  const int height = 16;
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4, 0);
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const float dx = (static_cast<float>(column) + 0.5f - 16.0f) / 8.0f;
      const float dy = (static_cast<float>(row) + 0.5f - 8.0f) / 8.0f;
      const float level = std::max(0.0f, 1.0f - dx * dx - dy * dy);
      std::fill_n(&pixels[(static_cast<size_t>(row) * width + column) * 4], 4, static_cast<unsigned char>(level * 255));
    }
  }
  GLuint name = 0;
  glGenTextures(1, &name);
  platform::bindTexture2D(0, name);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  return name;
}

// Particles of every size from a few pixels to wider than the picture, some reaching past its edges.
void placeDiscParticles(ParticleEmmiter& emitter, GLuint sprite) {
  emitter.setup(12, 1.0f, Vector3(), 1.0f, 1.0f, sprite);
  for (int n = 0; n < 12; ++n) {
    Particle& particle = emitter.particles[static_cast<size_t>(n)];
    particle.life = 0.5f;
    particle.fade = 0.3f + 0.06f * static_cast<float>(n);
    particle.size = 0.05f * static_cast<float>((n + 1) * (n + 1));
    particle.position = Vector3(-3.0f + 0.6f * static_cast<float>(n), -2.0f + 0.3f * static_cast<float>(n), 0.0f, 0.0f);
  }
}

// A 96-pixel surface and an emitter of disc particles on the disc sprite, freed with it.
class DiscParticles : public EffectsDrawing {
 protected:
  void SetUp() override {
    REQUIRE_GL_CONTEXT();
    surface_ = std::make_unique<OffscreenSurface>(96);
    ASSERT_TRUE(surface_->ready());
    sprite_ = createDiscTexture();
    placeDiscParticles(emitter_, sprite_);
  }
  void TearDown() override {
    if (sprite_ != 0) {
      platform::deleteTextures(1, &sprite_);
    }
  }

  std::unique_ptr<OffscreenSurface> surface_;
  GLuint sprite_ = 0;
  ParticleEmmiter emitter_;
};

// Every pixel of the surface after the draws, each of them the emitter drawing some of its particles.
std::vector<Pixel> drawDiscParticles(OffscreenSurface& surface, ParticleEmmiter& emitter,
                                     std::initializer_list<SpriteWidthRange> draws) {
  beginSurface(surface);
  setFixedPerspective(Drawable{}, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f);
  for (const SpriteWidthRange& widths : draws) {
    emitter.render(widths);
  }
  surface.end();
  std::vector<Pixel> pixels;
  for (int y = 0; y < surface.size(); ++y) {
    for (int x = 0; x < surface.size(); ++x) {
      pixels.push_back(surface.pixel(x, y));
    }
  }
  return pixels;
}

int litCount(const std::vector<Pixel>& pixels) {
  return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), isLit));
}

int largestChannelDifference(const Pixel& a, const Pixel& b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

TEST_F(DiscParticles, particlesCutToTheirVisiblePartShowWhatWholeQuadsShow) {
  OffscreenSurface& surface = *surface_;
  ParticleEmmiter& emitter = emitter_;

  DrawLayer& layer = drawLayer();
  const std::vector<Pixel> cut = drawDiscParticles(surface, emitter, {SpriteWidthRange{}});
  EXPECT_FALSE(layer.passState().scissorTest);
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  // A caller's own scissor test keeps every quad whole.
  PassState scissored;
  scissored.scissorTest = true;
  layer.applyPass(scissored);
  layer.setScissor(Viewport{0, 0, 4096, 4096});
  const std::vector<Pixel> whole = drawDiscParticles(surface, emitter, {SpriteWidthRange{}});
  EXPECT_TRUE(layer.passState().scissorTest);
  EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
  layer.applyPass(PassState{});

  int lit = 0;
  int differing = 0;
  for (size_t i = 0; i < whole.size(); ++i) {
    lit += isLit(whole[i]) ? 1 : 0;
    const int difference = largestChannelDifference(cut[i], whole[i]);
    differing += difference > 0 ? 1 : 0;
    // Only the GL's rounding may tell the two apart.
    ASSERT_LE(difference, 3) << "pixel " << i % 96 << ", " << i / 96;
  }
  EXPECT_GT(lit, 96 * 96 / 6);
  EXPECT_LT(differing, 96 * 96 / 100);
}

TEST_F(DiscParticles, narrowAndWideParticlesDrawnApartAddUpToWhatOneDrawShows) {
  OffscreenSurface& surface = *surface_;
  ParticleEmmiter& emitter = emitter_;
  const SpriteWidthRange narrow{0.0f, 0.5f};
  const SpriteWidthRange wide{0.5f, SpriteWidthRange::kWidestShare};

  const std::vector<Pixel> together = drawDiscParticles(surface, emitter, {SpriteWidthRange{}});
  const std::vector<Pixel> apart = drawDiscParticles(surface, emitter, {wide, narrow});
  // The sprites add onto what is there, so the order of the two draws makes no difference.
  for (size_t i = 0; i < together.size(); ++i) {
    ASSERT_LE(largestChannelDifference(apart[i], together[i]), 1) << "pixel " << i % 96 << ", " << i / 96;
  }
  // Each draw takes some of the particles and leaves the others out.
  const int narrowLit = litCount(drawDiscParticles(surface, emitter, {narrow}));
  const int wideLit = litCount(drawDiscParticles(surface, emitter, {wide}));
  const int allLit = litCount(together);
  EXPECT_GT(narrowLit, 200);
  EXPECT_GT(wideLit, 200);
  EXPECT_LT(narrowLit, allLit - 200);
  EXPECT_LT(wideLit, allLit - 200);
}

// A hill in the middle of a 20 × 20 square.
void buildHill(Terrain& terrain) {
  const int side = 32;
  std::vector<uint8_t> levels(side * side);
  for (int z = 0; z < side; ++z) {
    for (int x = 0; x < side; ++x) {
      const int dx = x - side / 2;
      const int dz = z - side / 2;
      levels[z * side + x] = static_cast<uint8_t>(std::max(0, 255 - 2 * (dx * dx + dz * dz)));
    }
  }
  terrain.buildFromHeights(HeightGrid(side, side, levels), TerrainBox{-10.0f, -2.0f, -10.0f, 10.0f, 3.0f, 10.0f}, 2,
                           2, 6, 6);
}

int litWindowPixels(int width, int height) {
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  int lit = 0;
  for (size_t i = 0; i < pixels.size(); i += 4) {
    lit += isLit(Pixel{pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]}) ? 1 : 0;
  }
  return lit;
}

TEST_F(EffectsDrawing, groundSmokeAndExplosionDrawnIntoATargetShowOnTheWindow) {
  REQUIRE_GL_CONTEXT();
  RenderTarget target;
  ASSERT_TRUE(target.createFramebuffer());
  ASSERT_EQ(target.addTarget(64, 64, GL_RGBA, true), 0);
  const GLuint sprite = createWhiteTexture();
  seedRandom(23);
  Terrain terrain;
  buildHill(terrain);
  ParticleEmmiter smoke;
  smoke.presetSmokeColumn();
  smoke.texture = sprite;
  smoke.position = Vector3(0.0f, terrain.heightAt(0.0f, 0.0f), 0.0f, 0.0f);
  ParticleExplosion explosion;
  explosion.create(1.0f, Vector3(3.0f, 4.0f, 0.0f, 0.0f));
  explosion.texture = sprite;
  for (int frame = 0; frame < 10; ++frame) {
    smoke.simulate(0.0f, 0.1f);
    explosion.simulate(0.1f);
  }

  DrawLayer& layer = drawLayer();
  target.bindFramebuffer();
  target.attachTarget(0, 0);
  layer.setViewport(Viewport{0, 0, 64, 64});
  layer.setClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  layer.clear(true, true);
  setFixedPerspective(Drawable{}, 0.0f, 12.0f, 22.0f, 0.0f, 0.0f, 0.0f);
  // The ground unlit and untextured, hiding what lies behind it.
  PassState ground;
  ground.depthTest = true;
  layer.applyPass(ground);
  terrain.draw(kDrawVertexArrays);
  smoke.render();
  beginExplosionDraw();
  CGameObj& worldObject = explosion;
  EXPECT_STREQ(worldObject.getName(), "ParticleExplosion");
  worldObject.render();
  target.unbindFramebuffer();

  layer.setViewport(Viewport{0, 0, 256, 256});
  layer.clear(true, true);
  EXPECT_EQ(litWindowPixels(256, 256), 0);
  pushMatrices();
  setOrtho2D(0.0f, 1.0f, 0.0f, 1.0f);
  layer.applyPass(texturedPass());
  layer.bindTexture(0, target.surfaces[0].texture);
  layer.color(1.0f, 1.0f, 1.0f);
  drawTexturedQuad(0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f);
  popMatrices();
  // The ground alone covers more than a third of the picture.
  EXPECT_GT(litWindowPixels(256, 256), 256 * 256 / 3);
  layer.bindTexture(0, 0);
  layer.applyPass(PassState{});
  platform::deleteTextures(1, &sprite);
}

}  // namespace
