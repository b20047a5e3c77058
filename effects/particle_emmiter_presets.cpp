// The presentation's four particle effects: a smoke column, rising puffs over a ground rectangle,
// a box of twinkling bubbles and a short flare trail.
#include "effects/particle_emmiter.h"

#include "gpu/texture_manager.h"

namespace {

// Every preset pulls its particles down gently; only the moving modes feel it.
const Vector3 kGentleFall(0.0f, -0.04f, 0.0f, 0.0f);

// The smoke puff with its soft-edged alpha mask.
unsigned int loadSmokeSprite() { return textureManager().loadTextureWithMask("smoke.jpg", "smokealpha.jpg"); }

}  // namespace

void ParticleEmmiter::presetSmokeColumn() {
  mode = EmitPoint;
  velocity = Vector3(0.0f, 0.5f, 0.0f, 0.0f);
  acceleration = kGentleFall;
  setup(25, 2.0f, Vector3(), 1.3f, 4.5f, 0);
  texture = loadSmokeSprite();
}

void ParticleEmmiter::presetSmokeArea(float minX, float minZ, float maxX, float maxZ, int count) {
  boxMin = Corner{minX, 0.0f, minZ};
  boxMax = Corner{maxX, 0.0f, maxZ};
  mode = EmitArea;
  velocity = Vector3(0.0f, 1.5f, 0.0f, 0.0f);
  acceleration = kGentleFall;
  setup(count, 2.0f, Vector3(), 0.1f, 1.4f, 0);
  texture = loadSmokeSprite();
}

void ParticleEmmiter::presetBubbleVolume(float minX, float minY, float minZ, float maxX, float maxY, float maxZ,
                                         int count) {
  boxMin = Corner{minX, minY, minZ};
  boxMax = Corner{maxX, maxY, maxZ};
  mode = EmitVolume;
  velocity = Vector3(0.0f, 0.5f, 0.0f, 0.0f);
  acceleration = kGentleFall;
  setup(count, 1.0f, Vector3(), 1.7f, 2.1f, 0);
  texture = textureManager().loadTextureWithMask("BlueBubble.jpg", "smokealpha.jpg");
}

void ParticleEmmiter::presetFlareTrail() {
  mode = EmitTrail;
  velocity = Vector3(0.0f, 0.5f, 0.0f, 0.0f);
  acceleration = kGentleFall;
  setup(80, 0.3f, Vector3(6.0f, 0.0f, 0.0f, 0.0f), 0.1f, 1.4f, 0);
  texture = textureManager().loadTexture("flare.jpg", 2, 0.01f);
}
