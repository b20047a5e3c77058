#include "effects/particle_emmiter.h"


#include <algorithm>
#include <cassert>
#include <cmath>

#include "core/draw_counts.h"
#include "core/matrix4.h"
#include "core/random.h"
#include "effects/effect_pass.h"
#include "gpu/matrix_helpers.h"
#include "gpu/texture_manager.h"

namespace {

// Largest tilt of a scattered velocity away from the base direction, radians.
constexpr float kMaxTiltRadians = 0.5f;
constexpr float kFullTurnRadians = 6.283f;
constexpr float kAlphaThreshold = 0.01f;
// Alpha built from brightness, against the same 1 % threshold as the alpha test.
constexpr int kSpriteAlphaMode = 2;

// 2 × size wide and 1 × size tall, with the lower edge through the particle.
void drawQuad(DrawLayer& layer, const Particle& particle, const Vector3& across, const Vector3& rise) {
  const Vector3& p = particle.position;
  layer.color(1.0f, 1.0f, 1.0f, particle.fade);
  countDraw(2);
  layer.begin(Primitive::Quads);
  layer.texCoord(0.0f, 1.0f);
  layer.vertex(p.x - across.x + rise.x, p.y - across.y + rise.y, p.z - across.z + rise.z);
  layer.texCoord(1.0f, 1.0f);
  layer.vertex(p.x + across.x + rise.x, p.y + across.y + rise.y, p.z + across.z + rise.z);
  layer.texCoord(1.0f, 0.0f);
  layer.vertex(p.x + across.x, p.y + across.y, p.z + across.z);
  layer.texCoord(0.0f, 0.0f);
  layer.vertex(p.x - across.x, p.y - across.y, p.z - across.z);
  layer.end();
}

// The share of the viewport's width between two points; any point on or behind the eye's plane
// makes it the widest.
float widthShare(const Matrix4& clip, const Vector3& left, const Vector3& right) {
  const Vector3 a = clip.transform(Vector3(left.x, left.y, left.z, 1.0f));
  const Vector3 b = clip.transform(Vector3(right.x, right.y, right.z, 1.0f));
  if (!(a.w > 1.0e-6f) || !(b.w > 1.0e-6f)) {
    return SpriteWidthRange::kWidestShare;
  }
  // Normalised device coordinates run over 2 units across the viewport.
  return std::fabs(a.x / a.w - b.x / b.w) * 0.5f;
}

bool takesAll(const SpriteWidthRange& widths) {
  return widths.lowShare <= 0.0f && widths.highShare >= SpriteWidthRange::kWidestShare;
}

bool takes(const SpriteWidthRange& widths, const Matrix4& clip, const Vector3& left, const Vector3& right) {
  if (takesAll(widths)) {
    return true;
  }
  const float share = widthShare(clip, left, right);
  return share >= widths.lowShare && (share < widths.highShare || widths.highShare >= SpriteWidthRange::kWidestShare);
}

}  // namespace

ParticleEmmiter::ParticleEmmiter() = default;

ParticleEmmiter::~ParticleEmmiter() = default;

const char* ParticleEmmiter::getName() const { return "ParticleEmmiter"; }

void ParticleEmmiter::setup(int count, float lifetimeSeconds, const Vector3& startPosition, float sizeAtStart,
                            float sizeAtEnd, unsigned int spriteTexture) {
  const int slots = std::max(count, 0);
  Particle slot;
  slot.position = startPosition;
  slot.velocity = velocity;
  slot.acceleration = acceleration;
  particles.insert(particles.end(), static_cast<size_t>(slots), slot);

  lifetime = lifetimeSeconds;
  // With no slots the interval is infinite, so the emitter never spawns.
  emitInterval = lifetimeSeconds / static_cast<float>(slots);
  position = startPosition;
  startSize = sizeAtStart;
  endSize = sizeAtEnd;
  texture = spriteTexture;
}

void ParticleEmmiter::setPosition(float x, float y, float z, float w) {
  position = Vector3(x, y, z, w);
  previousPosition = position;
}

void ParticleEmmiter::setTexture(const std::string& fileName) {
  texture = textureManager().loadTexture(fileName, kSpriteAlphaMode, kAlphaThreshold);
}

void ParticleEmmiter::simulate(float timeSeconds, float dtSeconds) {
  (void)timeSeconds;
  switch (mode) {
    case EmitPoint:
    case EmitArea:
    case EmitTrail:
      simulateMoving(dtSeconds);
      break;
    case EmitVolume:
      simulateVolume(dtSeconds);
      break;
    default:
      break;
  }
}

void ParticleEmmiter::writeState(StateRecord& record) const {
  record.writeAll(particles);
  record.write(emitAccumulator);
  record.write(position);
  record.write(previousPosition);
}

void ParticleEmmiter::readState(StateReader& reader) {
  const std::size_t poolSize = particles.size();
  reader.readAll(particles);
  assert(particles.size() == poolSize && "state written by another pool");
  (void)poolSize;
  reader.read(emitAccumulator);
  reader.read(position);
  reader.read(previousPosition);
}

// Simulation

bool ParticleEmmiter::takeSpawn() {
  // Strictly greater: with dt equal to the interval the first spawn comes on the second step.
  if (emitAccumulator > emitInterval) {
    emitAccumulator -= emitInterval;
    return true;
  }
  return false;
}

void ParticleEmmiter::simulateMoving(float dtSeconds) {
  emitAccumulator += dtSeconds;
  float extentX = 0.0f;
  float extentZ = 0.0f;
  if (mode == EmitArea) {
    position = Vector3(boxMin.x, boxMin.y, boxMin.z, 0.0f);
    extentX = boxMax.x - boxMin.x;
    extentZ = boxMax.z - boxMin.z;
  }
  for (Particle& particle : particles) {
    if (particle.life > 0.0f) {
      liveStepMoving(particle, dtSeconds);
    } else if (takeSpawn()) {
      if (mode == EmitPoint) {
        spawnPoint(particle);
      } else if (mode == EmitArea) {
        spawnArea(particle, extentX, extentZ);
      } else {
        spawnTrail(particle);
      }
    }
  }
  if (mode == EmitTrail) {
    previousPosition = position;
  }
}

void ParticleEmmiter::simulateVolume(float dtSeconds) {
  emitAccumulator += dtSeconds;
  position = Vector3(boxMin.x, boxMin.y, boxMin.z, 0.0f);
  const float extentX = boxMax.x - boxMin.x;
  const float extentY = boxMax.y - boxMin.y;
  const float extentZ = boxMax.z - boxMin.z;
  for (Particle& particle : particles) {
    if (particle.life > 0.0f) {
      liveStepVolume(particle, dtSeconds);
    } else if (takeSpawn()) {
      spawnVolume(particle, extentX, extentY, extentZ);
    }
  }
}

void ParticleEmmiter::liveStepMoving(Particle& particle, float dtSeconds) const {
  particle.position.addScaled(particle.velocity, dtSeconds);
  // The full dt², not half of it: the presentation's motion is tuned to this.
  particle.position.addScaled(particle.acceleration, dtSeconds * dtSeconds);
  particle.velocity.addScaled(particle.acceleration, dtSeconds);
  particle.life -= dtSeconds;
  // Particles born with more than one lifetime stay opaque until they have one lifetime left.
  particle.fade = std::min(particle.life / lifetime, 1.0f);
  particle.size = startSize + (endSize - startSize) * (1.0f - particle.fade) + particle.sizeJitter;
}

void ParticleEmmiter::liveStepVolume(Particle& particle, float dtSeconds) const {
  particle.life -= dtSeconds;
  const float ratio = particle.life / lifetime;
  // Fades in over the first half of the life and out over the second.
  const float rise = 2.0f - 2.0f * ratio;
  if (rise > 2.0f) {
    particle.fade = 0.0f;
  } else if (rise > 1.0f) {
    particle.fade = 2.0f - rise;
  } else {
    particle.fade = rise;
  }
  particle.size = startSize + (endSize - startSize) * (1.0f - ratio) + particle.sizeJitter;
}

// Spawns. Every random draw advances the one process-wide sequence, so the draws keep this order.

void ParticleEmmiter::spawnPoint(Particle& particle) const {
  particle.position = position;
  particle.velocity = velocity;
  particle.acceleration = acceleration;
  particle.life = (randomFraction() + 1.0f) * lifetime;
  particle.sizeJitter = randomFraction() * 0.5f;
  scatterVelocity(particle);
}

void ParticleEmmiter::spawnArea(Particle& particle, float extentX, float extentZ) const {
  const float dz = randomFraction() * extentZ;
  const float dx = randomFraction() * extentX;
  spawnPoint(particle);
  particle.position += Vector3(dx, 0.0f, dz, 0.0f);
}

void ParticleEmmiter::spawnVolume(Particle& particle, float extentX, float extentY, float extentZ) const {
  const float dz = randomFraction() * extentZ;
  const float dy = randomFraction() * extentY;
  const float dx = randomFraction() * extentX;
  particle.position = position + Vector3(dx, dy, dz, 0.0f);
  particle.life = lifetime;
  particle.sizeJitter = randomFraction() * 0.5f + 0.8f;
}

void ParticleEmmiter::spawnTrail(Particle& particle) const {
  // A random point of the path the emitter took since the last step.
  const float t = randomFraction();
  particle.position = position * t + previousPosition * (1.0f - t);
  particle.velocity = velocity;
  particle.acceleration = acceleration;
  particle.life = (randomFraction() + 1.0f) * lifetime;
  particle.sizeJitter = randomFraction() * 0.5f;
}

void ParticleEmmiter::scatterVelocity(Particle& particle) const {
  // The turn about Y acts first, then the tilt about X: a vertical base velocity only ever
  // leans towards +Z.
  Matrix4 scatter;
  scatter.setRotationX(randomFraction() * kMaxTiltRadians);
  scatter.rotateY(randomFraction() * kFullTurnRadians);
  particle.velocity = scatter.transform(particle.velocity);
}

// Drawing

void ParticleEmmiter::render() { render(SpriteWidthRange{}); }

PassState ParticleEmmiter::spritePass() const {
  PassState pass = blendedEffectPass(blendSrc, blendDst, texEnvMode);
  pass.alphaTest = true;
  pass.alphaAbove = kAlphaThreshold;
  pass.scissorTest = true;
  return pass;
}

void ParticleEmmiter::render(const SpriteWidthRange& widths) {
  DrawLayer& layer = drawLayer();
  // A caller's own scissor box is left alone: the particles are then drawn whole.
  const bool callersScissor = layer.passState().scissorTest;
  const PassState pass = spritePass();
  layer.applyPass(pass);
  layer.bindTexture(0, texture);

  // The view's horizontal and vertical axes in the current object space, read once per emitter.
  const Matrix4 view = layer.matrix(MatrixStack::ModelView);
  const Vector3 right(view.m[0], view.m[4], view.m[8], 0.0f);
  const Vector3 up(view.m[1], view.m[5], view.m[9], 0.0f);
  if (callersScissor) {
    drawParticles(right, up, widths);
  } else {
    drawParticlesCropped(right, up, widths);
  }

  // The caller's choice of scissor test is its own again.
  if (!callersScissor) {
    PassState after = pass;
    after.scissorTest = false;
    layer.applyPass(after);
  }
}

void ParticleEmmiter::drawParticles(const Vector3& right, const Vector3& up, const SpriteWidthRange& widths) {
  DrawLayer& layer = drawLayer();
  // The matrices are read only when the widths are asked about.
  const Matrix4 clip = takesAll(widths) ? Matrix4() : currentClipMatrix();
  for (const Particle& particle : particles) {
    const Vector3 across = right * particle.size;
    if (particle.life > 0.0f && takes(widths, clip, particle.position - across, particle.position + across)) {
      drawQuad(layer, particle, across, up * particle.size);
    }
  }
}

// Most of a sprite's quad is often transparent, and the alpha test throws those pixels away only
// after they have been textured and tested. A scissor box round the part that can show saves that
// work. The picture stays the same but for the GL's rounding: a box changes where the rasteriser
// starts its sums, so a few pixels can move by a step or two of a channel.
void ParticleEmmiter::prepareDrawing() {
  measureSprite();
  drawLayer().preparePass(spritePass());
}

void ParticleEmmiter::measureSprite() {
  if (spriteExtent_.texture != texture) {
    spriteExtent_ = measureSpriteExtent(texture, kAlphaThreshold);
  }
}

void ParticleEmmiter::drawParticlesCropped(const Vector3& right, const Vector3& up, const SpriteWidthRange& widths) {
  measureSprite();
  DrawLayer& layer = drawLayer();
  const Matrix4 clip = currentClipMatrix();
  const Viewport& area = layer.viewport();
  const int viewport[4] = {area.x, area.y, area.width, area.height};

  // The whole viewport for a quad that cannot be cut, so the test stays on for the whole batch.
  const ScissorBox whole{viewport[0], viewport[1], viewport[2], viewport[3]};
  for (const Particle& particle : particles) {
    if (particle.life <= 0.0f) {
      continue;
    }
    const Vector3 across = right * particle.size;
    const Vector3 rise = up * particle.size;
    const Vector3& p = particle.position;
    if (!takes(widths, clip, p - across, p + across)) {
      continue;
    }
    ScissorBox box;
    if (!spriteScissor(clip, viewport, spriteExtent_, p - across, p + across, p - across + rise, box)) {
      box = whole;
    }
    layer.setScissor(Viewport{box.x, box.y, box.width, box.height});
    drawQuad(layer, particle, across, rise);
  }
}
