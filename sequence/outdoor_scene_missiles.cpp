// The outdoor scene's missile step: launches, flights with their flare trails, explosions where
// flights end, then the trails and explosions move on.
#include "sequence/outdoor_scene.h"

#include "effects/particle_explosion.h"

namespace {

constexpr float kBlastScale = 8.0f;

}  // namespace

void OutdoorScene::stepMissiles(float timeSeconds, float dtSeconds) {
  const GroundHeight groundHeight = [this](float x, float z) { return terrain.heightAt(x, z); };
  for (Missile& missile : missiles) {
    if (!missile.body) {
      continue;
    }
    launchWhenReady(missile, timeSeconds);
    if (isInFlight(missile, timeSeconds)) {
      if (missile.trail == nullptr) {
        const Vector3& start = missile.body->position;
        launchTrail(missile).setPosition(start.x, start.y, start.z, start.w);
      }
      Vector3 blastCentre;
      if (flyMissile(missile, timeSeconds, dtSeconds, groundHeight, blastCentre)) {
        std::unique_ptr<ParticleExplosion> explosion = takeExplosion(spareExplosions_);
        explosion->create(kBlastScale, blastCentre);
        explosions.add(std::move(explosion));
      }
    }
    // Only the current position: the trail spawns along the path from where it was last frame.
    if (missile.trail != nullptr) {
      missile.trail->position = missile.body->position;
    }
  }
  for (CGameObj* child : trails.children) {
    if (auto* const trail = dynamic_cast<ParticleEmmiter*>(child)) {
      trail->simulate(timeSeconds, dtSeconds);
    }
  }
  simulateExplosions(explosions, dtSeconds, spareExplosions_);
}
