// The outdoor scene's frame: scene clock, moving parts, world drawn into the shared render target,
// then the target laid over the window in the colour of the moment.
#include "sequence/outdoor_scene.h"

#include <algorithm>
#include <cassert>

#include "core/effects_register.h"
#include "effects/particle_explosion.h"
#include "gpu/draw_layer.h"
#include "gpu/matrix_helpers.h"
#include "gpu/render_target.h"
#include "gpu/textured_quad.h"
#include "sequence/jump_cut_clock.h"
#include "sequence/scene_pass.h"
#include "world/mesh.h"
#include "world/placed_box.h"
#include "world/view_volume.h"

namespace {

constexpr float kGreenTintSeconds = 80.0f;
constexpr float kWingsDegreesPerSecond = 20.0f;
constexpr float kTurretDegreesPerSecond = 36.0f;
constexpr float kArmStartDegrees = 35.0f;
constexpr float kArmDegreesPerSecond = -6.0f;

// Palms and windmills wait below the ground until they rise or drop in; while the eye is clear of
// the ground they cannot be seen there.
bool buried(const GroundOcclusion& ground, const CStatic3D& object) {
  float boxMin[3];
  float boxMax[3];
  return placedBox(object, boxMin, boxMax) && ground.hides(boxMin, boxMax);
}

void setRotation(CGameObj& object, float axisX, float axisY, float axisZ, float angleDegrees) {
  object.rotationAxis[0] = axisX;
  object.rotationAxis[1] = axisY;
  object.rotationAxis[2] = axisZ;
  object.rotationAngle = angleDegrees;
}

}  // namespace

const float kOutdoorEyePath[kOutdoorCameraPointCount * 3] = {
    -100.0f, 230.0f, 0.0f,
    -80.0f,  35.0f,  -30.0f,
    60.0f,   20.0f,  30.0f,
    -10.0f,  25.0f,  80.0f,
    30.0f,   25.0f,  -10.0f,
    -50.0f,  35.0f,  100.0f,
    -70.0f,  60.0f,  50.0f,
    -70.0f,  180.0f, 50.0f,
};
const float kOutdoorTargetPath[kOutdoorCameraPointCount * 3] = {
    -10.0f, 10.0f,  0.0f,
    -40.0f, 5.0f,   -20.0f,
    60.0f,  2.0f,   30.0f,
    0.0f,   5.0f,   0.0f,
    30.0f,  15.0f,  -110.0f,
    -35.0f, 3.0f,   80.0f,
    50.0f,  50.0f,  50.0f,
    70.0f,  180.0f, 50.0f,
};

bool outdoorSceneDraws(float timeSeconds) { return timeSeconds <= kOutdoorSceneEndSeconds; }

TintColour outdoorTint(float timeSeconds) {
  if (timeSeconds <= kJumpCutsStartSeconds) {
    return TintColour{1.0f, 1.0f, 1.0f, 1.0f};
  }
  if (timeSeconds <= kGreenTintSeconds) {
    return TintColour{0.0f, 1.0f, 0.0f, 1.0f};
  }
  return TintColour{0.6f, (kOutdoorSceneEndSeconds - timeSeconds) * 0.1f, 0.0f, 1.0f};
}

void OutdoorScene::init() {
  camera.setPaths(kCameraFlightSeconds, kOutdoorCameraPointCount, kOutdoorEyePath, kOutdoorCameraPointCount,
                 kOutdoorTargetPath);
}

void OutdoorScene::advance(const FrameContext& frame) {
  const float timeSeconds = frame.timeSeconds;
  const float dtSeconds = frame.dtSeconds;
  if (!outdoorSceneDraws(timeSeconds)) {
    return;
  }
  sceneSeconds_ = jumpCutClock().sceneTime(timeSeconds, dtSeconds);
  animateParts(sceneSeconds_);
  camera.update(sceneSeconds_);
  // Missiles fly in presentation time, whatever cut the camera shows.
  stepMissiles(timeSeconds, dtSeconds);
  for (ParticleEmmiter& emitter : emitters) {
    emitter.simulate(sceneSeconds_, dtSeconds);
  }
}

void OutdoorScene::draw(const FrameContext& frame) {
  if (!outdoorSceneDraws(frame.timeSeconds)) {
    return;
  }
  beginTargetFrame(frame.drawable);
  camera.applyView(frame.drawable);
  drawWorld(frame.timeSeconds);
  drawEffects();
  composite(frame);
}

void OutdoorScene::resizeSurfaces(const FrameContext& frame) {
  RenderTarget& target = renderTarget();
  EffectsRegister& effects = effectsRegister();
  const SurfaceSize size = frame.drawable.surfaceSize;
  if (!targetMade_) {
    targetMade_ = true;
    if (target.createFramebuffer() && target.addTarget(size.width, size.height, kColourSurfaceFormat, true) >= 0) {
      effects.switchOn(Effect::LandscapeSurface);
    } else {
      effects.switchOff(Effect::LandscapeSurface, target.lastRefusal(), frame.timeSeconds);
    }
    return;
  }
  // Without its surface the world is drawn straight into the window.
  if (effects.isOn(Effect::LandscapeSurface) && !target.resizeTarget(0, size.width, size.height)) {
    effects.switchOff(Effect::LandscapeSurface, target.lastRefusal(), frame.timeSeconds);
    target.releaseTargets();
  }
}

std::vector<CGameObj*> OutdoorScene::movingObjects() const {
  std::vector<CGameObj*> objects(palms.children.begin(), palms.children.end());
  objects.insert(objects.end(), windmills.children.begin(), windmills.children.end());
  for (const Missile& missile : missiles) {
    if (missile.body) {
      objects.push_back(missile.body.get());
    }
  }
  return objects;
}

void OutdoorScene::writeState(StateRecord& record) const {
  for (const ParticleEmmiter& emitter : emitters) {
    emitter.writeState(record);
  }
  for (const CGameObj* object : movingObjects()) {
    record.write(placementOf(*object));
  }
  for (const Missile& missile : missiles) {
    record.write(missile.launchTime);
    record.write(missile.velocity);
  }
  // The trails in flight, in the order they first flew, each with the missile it follows.
  record.write(static_cast<uint64_t>(trails.children.size()));
  for (const CGameObj* child : trails.children) {
    const auto owner = std::find_if(missiles.begin(), missiles.end(),
                                    [child](const Missile& missile) { return missile.trail == child; });
    record.write(static_cast<int32_t>(owner - missiles.begin()));
    static_cast<const ParticleEmmiter*>(child)->writeState(record);
  }
  record.write(static_cast<uint64_t>(explosions.children.size()));
  for (const CGameObj* child : explosions.children) {
    static_cast<const ParticleExplosion*>(child)->writeState(record);
  }
  record.write(jumpCutClock());
  record.write(sceneSeconds_);
  record.write(camera.eye);
  record.write(camera.target);
}

void OutdoorScene::readState(StateReader& reader) {
  for (ParticleEmmiter& emitter : emitters) {
    emitter.readState(reader);
  }
  for (CGameObj* object : movingObjects()) {
    ObjectPlacement placement;
    reader.read(placement);
    applyPlacement(*object, placement);
  }
  for (Missile& missile : missiles) {
    reader.read(missile.launchTime);
    reader.read(missile.velocity);
    spareTrailAgain(missile);
  }
  uint64_t trailCount = 0;
  reader.read(trailCount);
  for (uint64_t n = 0; n < trailCount && !reader.failed(); ++n) {
    int32_t owner = 0;
    reader.read(owner);
    assert(owner >= 0 && owner < kMissileCount && "a trail state names no missile");
    launchTrail(missiles[owner]).readState(reader);
  }
  // Explosions go back to the spares, and the recorded ones come from them, so that playing again
  // allocates nothing either.
  retireExplosions(explosions, spareExplosions_);
  uint64_t explosionCount = 0;
  reader.read(explosionCount);
  for (uint64_t n = 0; n < explosionCount && !reader.failed(); ++n) {
    std::unique_ptr<ParticleExplosion> explosion = takeExplosion(spareExplosions_);
    explosion->readState(reader);
    explosions.add(std::move(explosion));
  }
  reader.read(jumpCutClock());
  reader.read(sceneSeconds_);
  reader.read(camera.eye);
  reader.read(camera.target);
}

ParticleEmmiter& OutdoorScene::launchTrail(Missile& missile) {
  std::unique_ptr<ParticleEmmiter> trail = std::move(missile.spareTrail);
  if (!trail) {
    trail = std::make_unique<ParticleEmmiter>();
    trail->presetFlareTrail();
  }
  missile.trail = trail.get();
  trails.add(std::move(trail));
  return *missile.trail;
}

void OutdoorScene::spareTrailAgain(Missile& missile) {
  const auto place = std::find(trails.children.begin(), trails.children.end(), missile.trail);
  missile.trail = nullptr;
  if (place == trails.children.end() || freshTrail_.bytes().empty()) {
    return;
  }
  std::unique_ptr<CGameObj> taken = trails.takeChild(static_cast<std::size_t>(place - trails.children.begin()));
  if (!taken) {
    return;
  }
  missile.spareTrail.reset(static_cast<ParticleEmmiter*>(taken.release()));
  StateReader fresh(freshTrail_);
  missile.spareTrail->readState(fresh);
}

void OutdoorScene::beginTargetFrame(const Drawable& drawable) {
  RenderTarget& target = renderTarget();
  DrawLayer& layer = drawLayer();
  drawsIntoTarget_ = effectsRegister().isOn(Effect::LandscapeSurface);
  if (drawsIntoTarget_) {
    target.bindFramebuffer();
    target.attachTarget(0, 0);
    layer.setViewport(Viewport{0, 0, target.surfaces[0].width, target.surfaces[0].height});
  } else {
    // Without a render surface the world goes straight to the window, untinted.
    layer.setViewport(drawable.viewport());
  }
  // Depth clears to the far plane, the context's own clear depth.
  layer.setClearColor(0.0f, 0.0f, 0.0f, 0.5f);
  layer.clear(true, true);
}

void OutdoorScene::animateParts(float sceneSeconds) {
  for (std::size_t n = 0; n < windmills.children.size() && n < windmillWings.size(); ++n) {
    if (windmillWings[n] != nullptr) {
      setRotation(*windmillWings[n], 0.0f, 0.0f, 1.0f, sceneSeconds * kWingsDegreesPerSecond);
    }
  }
  if (launcher != nullptr) {
    setRotation(*launcher, 0.0f, 1.0f, 0.0f, sceneSeconds * kTurretDegreesPerSecond);
  }
  if (launcherArm != nullptr) {
    setRotation(*launcherArm, 0.0f, 0.0f, 1.0f, kArmStartDegrees + sceneSeconds * kArmDegreesPerSecond);
  }
}

void OutdoorScene::drawWorld(float timeSeconds) {
  drawLayer().applyPass(litScenePass());
  const GroundOcclusion ground = GroundOcclusion::fromCurrentMatrices(terrain.cells);
  // The group adds no transform of its own; a windmill's wings are its child.
  for (CGameObj* child : windmills.children) {
    if (!buried(ground, *static_cast<const CStatic3D*>(child))) {
      child->render();
    }
  }
  for (Missile& missile : missiles) {
    if (missile.body && isInFlight(missile, timeSeconds) && !buried(ground, *missile.body)) {
      missile.body->render();
    }
  }
  // The base carries the turret and the arm; without a base the turret stands alone.
  CStatic3D* const launcherRoot = launcherBase != nullptr ? launcherBase : launcher;
  if (launcherRoot != nullptr) {
    launcherRoot->render();
  }
  drawPalmsInView(ground);
  terrain.draw(kDrawPerPixel);
  if (sky) {
    sky->render();
  }
  trails.render();
}

// Palms are most of what the scene sends to the GL, and at any moment many stand behind the camera
// or beside the view, or still wait below the ground: those are left out. The group adds no
// transform of its own.
void OutdoorScene::drawPalmsInView(const GroundOcclusion& ground) {
  const ViewVolume volume = ViewVolume::fromCurrentMatrices();
  for (CGameObj* child : palms.children) {
    const auto* palm = static_cast<const CStatic3D*>(child);
    // The sphere is the quicker test; the placed box also leaves out palms beside the view whose
    // sphere only grazes it.
    if (modelOutside(volume, *palm)) {
      continue;
    }
    float boxMin[3];
    float boxMax[3];
    const bool boxed = placedBox(*palm, boxMin, boxMax);
    if (!boxed || (!volume.boxOutside(boxMin, boxMax) && !ground.hides(boxMin, boxMax))) {
      child->render();
    }
  }
}

void OutdoorScene::drawEffects() {
  for (ParticleEmmiter& emitter : emitters) {
    emitter.render();
  }
  beginExplosionDraw();
  explosions.render();
}

void OutdoorScene::composite(const FrameContext& frame) {
  if (!drawsIntoTarget_) {
    return;
  }
  RenderTarget& target = renderTarget();
  target.attachTarget(-1, 0);
  target.unbindFramebuffer();

  DrawLayer& layer = drawLayer();
  layer.setViewport(frame.drawable.viewport());
  layer.setClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  layer.clear(true, true);
  // The window's depth was cleared just before: the depth test lets the picture through.
  layer.applyPass(scenePass());
  setOrtho2D(0.0f, 1.0f, 0.0f, 1.0f);
  // The texture is modulated by the current colour: this is where the tint is applied.
  const TintColour tint = outdoorTint(frame.timeSeconds);
  layer.color(tint.r, tint.g, tint.b, tint.a);
  layer.bindTexture(0, target.surfaces[0].texture);
  drawTexturedQuad(0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f);
  // The surface is drawn into again next frame; nothing may sample it then.
  layer.bindTexture(0, 0);
}
