// A fixed pool of textured, camera-facing quads that are born, move, grow, fade and are reborn.
// Slots are never removed, only reused; the pool grows in setup only, never while simulating.
#pragma once

#include <string>
#include <vector>

#include "core/state_record.h"
#include "core/vector3.h"
#include "gpu/draw_layer.h"
#include "gpu/sprite_extent.h"
#include "world/c_game_obj.h"

// One pool slot, copied by value.
struct Particle {
  Vector3 position;
  Vector3 velocity;      // units per second
  Vector3 acceleration;  // units per second²
  float life = -1.0f;    // seconds left; the slot is alive while above 0
  float sizeJitter = 1.0f;
  float size = 1.0f;  // half-width of the quad
  // Alpha of the particle colour. A fresh slot starts at 0, so the frame of its first spawn draws
  // it invisible, like every later respawn.
  float fade = 0.0f;
};

// Which live particles a draw takes: those whose quad, as seen now, spans a share of the
// viewport's width from lowShare up to (not including) highShare. A quad reaching behind the eye
// counts as wider than any share.
struct SpriteWidthRange {
  float lowShare = 0.0f;
  float highShare = kWidestShare;
  static constexpr float kWidestShare = 1.0e30f;
};

// Its own position, velocity and acceleration stand beside those of the world-object part; the
// world-object transform has no effect on the particles.
class ParticleEmmiter : public CGameObj {
 public:
  enum EmitMode : int { EmitPoint = 0, EmitArea = 1, EmitVolume = 2, EmitTrail = 3 };
  struct Corner {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
  };

  ParticleEmmiter();
  ~ParticleEmmiter() override;

  const char* getName() const override;  // "ParticleEmmiter"
  // Draws the live particles in the current coordinate space: no transform, no children.
  void render() override;
  // The same for the particles whose width lies in the range only.
  void render(const SpriteWidthRange& widths);

  // Appends count slots (existing slots stay) and sets the timing, sizes and sprite.
  void setup(int count, float lifetime, const Vector3& position, float startSize, float endSize,
             unsigned int texture);
  void setPosition(float x, float y, float z, float w);  // also sets previousPosition
  // Pixels darker than 1 % of full brightness become transparent; a failed load leaves name 0.
  void setTexture(const std::string& fileName);
  // Measures where the current sprite can show, when it has changed since the last measurement;
  // drawing does it too, but doing it while loading keeps the frames free of allocations.
  void measureSprite();
  // While loading: measures the sprite and has the drawing layer make what the sprites' pass
  // draws with.
  void prepareDrawing();
  // One step of the current mode; timeSeconds has no effect, dtSeconds is the frame duration.
  void simulate(float timeSeconds, float dtSeconds);
  // What simulating changes: the particles, the spawn accumulator and the emitter's positions ...
  void writeState(StateRecord& record) const;
  // ... and back; the pool keeps its size, so the record must come from a pool of the same size.
  void readState(StateReader& reader);

  // The presentation's four effects, meant for a fresh emitter (a second call appends more slots).
  void presetSmokeColumn();
  void presetSmokeArea(float minX, float minZ, float maxX, float maxZ, int count);
  void presetBubbleVolume(float minX, float minY, float minZ, float maxX, float maxY, float maxZ, int count);
  void presetFlareTrail();

  std::vector<Particle> particles;
  float lifetime = 1.0f;      // base life of a particle, seconds
  float emitInterval = 1.0f;  // lifetime / slot count, seconds
  float emitAccumulator = 0.0f;
  float startSize = 1.0f;
  float endSize = 1.0f;
  Vector3 position;
  Vector3 previousPosition;  // where the last EmitTrail step left the emitter
  Vector3 velocity;          // given to new particles
  Vector3 acceleration;      // given to new particles
  unsigned int texture = 0;
  Corner boxMin;
  Corner boxMax;
  int mode = EmitPoint;
  BlendFactor blendSrc = BlendFactor::SourceAlpha;
  BlendFactor blendDst = BlendFactor::One;
  TextureMode texEnvMode = TextureMode::Modulate;

 private:
  // The spawn backlog pays for one more particle; takes the interval off when it does.
  bool takeSpawn();
  void simulateMoving(float dtSeconds);
  void simulateVolume(float dtSeconds);
  void liveStepMoving(Particle& particle, float dtSeconds) const;
  void liveStepVolume(Particle& particle, float dtSeconds) const;
  void spawnPoint(Particle& particle) const;
  void spawnArea(Particle& particle, float extentX, float extentZ) const;
  void spawnVolume(Particle& particle, float extentX, float extentY, float extentZ) const;
  void spawnTrail(Particle& particle) const;
  void scatterVelocity(Particle& particle) const;
  // The pass the sprites are drawn with: blended by the emitter's factors, alpha-tested, unlit,
  // textured on unit 0, depth-tested without depth writes, inside a scissor box.
  PassState spritePass() const;
  void drawParticles(const Vector3& right, const Vector3& up, const SpriteWidthRange& widths);
  void drawParticlesCropped(const Vector3& right, const Vector3& up, const SpriteWidthRange& widths);

  // Where the sprite can pass the alpha test, measured when a new texture is first drawn.
  SpriteExtent spriteExtent_;
};
