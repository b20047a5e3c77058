#include "effects/particle_explosion.h"

#include "core/draw_counts.h"
#include "core/matrix4.h"
#include "core/random.h"
#include "effects/effect_pass.h"
#include "gpu/draw_layer.h"
#include "gpu/texture_manager.h"

namespace {

constexpr float kFullTurnRadians = 6.283f;

// The ramp's stops, 0.2 apart: black, orange, warm grey, two greys, black.
constexpr FragmentColour kRampStops[6] = {
    {0.0f, 0.0f, 0.0f}, {0.5f, 0.3f, 0.2f}, {0.4f, 0.4f, 0.3f},
    {0.3f, 0.3f, 0.3f}, {0.2f, 0.2f, 0.2f}, {0.0f, 0.0f, 0.0f},
};

}  // namespace

ParticleExplosion::ParticleExplosion() = default;

ParticleExplosion::~ParticleExplosion() = default;

const char* ParticleExplosion::getName() const { return "ParticleExplosion"; }

void ParticleExplosion::reset() {
  fragments.clear();
  minSpeed = maxSpeed = maxTilt = maxDelay = maxAge = drag = spread = scale = 0.0f;
  expiredCount = 0;
  texture = 0;
  gravity = Vector3();
  centre = Vector3();
}

void ParticleExplosion::create(float scaleValue, const Vector3& where) {
  minSpeed = 1.5f * scaleValue;
  maxSpeed = 3.5f * scaleValue;
  maxTilt = 2.2f;
  maxDelay = 1.5f;
  maxAge = 2.2f;
  drag = 0.4f * scaleValue;
  spread = 0.5f * scaleValue;
  scale = scaleValue;
  gravity = Vector3(0.0f, -scaleValue, 0.0f, 0.0f);
  // Alpha equal to the brightness: the sprite's dark rim fades out.
  // Named once: a blast during the show looks its sprite up without making a new string.
  static const std::string kSpriteName("explodeparticle.jpg");
  texture = textureManager().loadTexture(kSpriteName, 4, 0.0f);
  spawn(kFragmentCount, where);
}

void ParticleExplosion::spawn(int count, const Vector3& where) {
  centre = where;
  if (count > 0) {
    fragments.reserve(fragments.size() + static_cast<size_t>(count));
  }
  // Every draw advances the one process-wide sequence, so the draws keep this order.
  Matrix4 scatter;
  for (int i = 0; i < count; ++i) {
    Fragment fragment;
    fragment.colour = colourRamp(0.0f);
    const float u1 = randomFraction();
    const float u2 = randomFraction();
    const float u3 = randomFraction();
    const float u4 = randomFraction();
    fragment.position = centre + Vector3((1.0f - 2.0f * u3) * spread, (1.0f - 2.0f * u2) * spread,
                                         (1.0f - 2.0f * u4) * spread, 0.0f);
    // The same draw sets speed and delay: the faster a fragment, the later it starts.
    const float speed = minSpeed + (maxSpeed - minSpeed) * u1;
    fragment.age = -maxDelay * u1;
    fragment.size = scale;
    fragment.velocity = Vector3(0.0f, speed, 0.0f, 0.0f);
    fragment.growth = randomFraction();
    // The turn about Y acts first and leaves the vertical velocity as it is, so the launch
    // directions lie in the Y–Z plane on the +Z side.
    scatter.setRotationX(randomFraction() * maxTilt);
    scatter.rotateY(randomFraction() * kFullTurnRadians);
    fragment.velocity = scatter.transform(fragment.velocity);
    fragments.push_back(fragment);
  }
}

void ParticleExplosion::simulate(float dtSeconds) {
  expiredCount = 0;
  for (Fragment& fragment : fragments) {
    fragment.age += dtSeconds;
    if (fragment.age < 0.0f) {
      continue;
    }
    if (fragment.age > maxAge) {
      ++expiredCount;
      continue;
    }
    fragment.size *= 1.0f + dtSeconds * fragment.growth;
    // Frames longer than 1 / drag turn the damping negative and reverse the fragment; the frame
    // delta is capped at 0.1 s, well below that for the presentation's scales.
    fragment.velocity *= 1.0f - dtSeconds * drag;
    fragment.velocity.addScaled(gravity, dtSeconds);
    fragment.position.addScaled(fragment.velocity, dtSeconds);
    fragment.colour = colourRamp(fragment.age / maxAge);
  }
}

bool ParticleExplosion::isFinished() const { return expiredCount >= static_cast<int>(fragments.size()); }

FragmentColour ParticleExplosion::colourRamp(float t) {
  int segment = 4;
  if (t < 0.2f) {
    segment = 0;
  } else if (t < 0.4f) {
    segment = 1;
  } else if (t < 0.6f) {
    segment = 2;
  } else if (t < 0.8f) {
    segment = 3;
  }
  const float f = (t - 0.2f * static_cast<float>(segment)) * 5.0f;
  const FragmentColour& from = kRampStops[segment];
  const FragmentColour& to = kRampStops[segment + 1];
  return FragmentColour{(1.0f - f) * from.r + f * to.r, (1.0f - f) * from.g + f * to.g,
                        (1.0f - f) * from.b + f * to.b};
}

void ParticleExplosion::render() {
  if (texture < 1) {
    return;
  }
  DrawLayer& layer = drawLayer();
  layer.bindTexture(0, texture);
  const Matrix4 view = layer.matrix(MatrixStack::ModelView);
  const Vector3 right(view.m[0], view.m[4], view.m[8], 0.0f);
  const Vector3 up(view.m[1], view.m[5], view.m[9], 0.0f);
  // The two diagonals of a view-facing square of half-size 1.
  const Vector3 rising = right + up;
  const Vector3 falling = right - up;

  for (const Fragment& fragment : fragments) {
    if (fragment.age < 0.0f || fragment.age > maxAge) {
      continue;
    }
    const Vector3 s = rising * fragment.size;
    const Vector3 d = falling * fragment.size;
    const Vector3& p = fragment.position;
    layer.color(fragment.colour.r, fragment.colour.g, fragment.colour.b, 1.0f);
    countDraw(2);
    layer.begin(Primitive::Quads);
    layer.texCoord(0.0f, 0.0f);
    layer.vertex(p.x - s.x, p.y - s.y, p.z - s.z);
    layer.texCoord(1.0f, 0.0f);
    layer.vertex(p.x + d.x, p.y + d.y, p.z + d.z);
    layer.texCoord(1.0f, 1.0f);
    layer.vertex(p.x + s.x, p.y + s.y, p.z + s.z);
    layer.texCoord(0.0f, 1.0f);
    layer.vertex(p.x - d.x, p.y - d.y, p.z - d.z);
    layer.end();
  }
}

// Additive on the colour: black adds nothing, so the ramp alone sets the brightness. Unlit, as the
// emitters drawn just before always left the fragments.
PassState explosionPass() {
  return blendedEffectPass(BlendFactor::SourceColor, BlendFactor::One, TextureMode::Modulate);
}

void beginExplosionDraw() { drawLayer().applyPass(explosionPass()); }


void ParticleExplosion::writeState(StateRecord& record) const {
  record.writeAll(fragments);
  for (const float value : {minSpeed, maxSpeed, maxTilt, maxDelay, maxAge, drag, spread, scale}) {
    record.write(value);
  }
  record.write(expiredCount);
  record.write(texture);
  record.write(gravity);
  record.write(centre);
}

void ParticleExplosion::readState(StateReader& reader) {
  reader.readAll(fragments);
  for (float* value : {&minSpeed, &maxSpeed, &maxTilt, &maxDelay, &maxAge, &drag, &spread, &scale}) {
    reader.read(*value);
  }
  reader.read(expiredCount);
  reader.read(texture);
  reader.read(gravity);
  reader.read(centre);
}
