// Loading the outdoor scene: ground, emitters, sky, missiles, palms, windmills and the launcher,
// with the random draws in this order.
#include "sequence/outdoor_scene.h"

#include "core/debug_log.h"
#include "core/random.h"
#include "effects/particle_explosion.h"
#include "gpu/draw_layer.h"
#include "sequence/scene_pass.h"
#include "sequence/tween_timeline.h"
#include "world/mesh.h"

namespace {

constexpr int kSmokeColumnCount = kOutdoorEmitterCount - 2;
// (x, z) of each smoke column, in emitter order from emitters[2]; y is the ground under it.
constexpr float kSmokeColumns[kSmokeColumnCount][2] = {
    {0.0f, -12.0f},  {-3.0f, 15.0f},  {-8.0f, 1.0f},   {15.0f, -4.0f},  {-20.0f, -8.0f}, {-23.0f, -8.0f},
    {13.0f, 18.0f},  {0.0f, -22.0f},  {-33.0f, 5.0f},  {-28.0f, 4.0f},  {15.0f, -24.0f}, {-20.0f, 8.0f},
    {-3.0f, -28.0f}, {3.0f, -28.0f},  {10.0f, -12.0f}, {-1.0f, 1.0f},   {40.0f, 50.0f},
};

constexpr float kPalmSunkDepth = 12.0f;  // a palm waits this far below the ground
constexpr float kPalmRiseSeconds = 0.7f;
constexpr std::size_t kMissileExplosionRoom = 2;  // explosions one missile can have running at once
constexpr float kWindmillWaitDepth = 68.0f;   // until it drops, a windmill waits below the ground
constexpr float kWindmillDropHeight = 228.0f;  // it falls from this far above its place
constexpr float kWindmillDropSeconds = 0.9f;
constexpr float kWindmillScale = 1.7f;
constexpr float kWingsHubHeight = 5.7f;

// The arm turns about this point of the launcher's frame.
constexpr float kArmPivotX = 0.32f;
constexpr float kArmPivotY = 3.45f;
constexpr float kLauncherX = -18.0f;
constexpr float kLauncherZ = -7.0f;

void logMissingModel(const char* fileName, const char* leftOut) {
  DebugLog::append(kLogFileName, "OutdoorScene: %s could not be loaded, %s left out\r\n", fileName, leftOut);
}

void logMissingMesh(const char* meshName) {
  DebugLog::append(kLogFileName, "OutdoorScene: rocketlauncher.3ds has no mesh %s, the launcher stands without it\r\n",
                   meshName);
}

// An object of fileName, until the file fails once: from then on it is not asked for again, since
// every attempt would be reported again, and one log line says what the scene leaves out.
std::unique_ptr<CStatic3D> createUnlessMissing(const char* fileName, bool& missing, const char* leftOut) {
  if (missing) {
    return nullptr;
  }
  std::unique_ptr<CStatic3D> object = CStatic3D::create(fileName);
  if (!object) {
    missing = true;
    logMissingModel(fileName, leftOut);
  }
  return object;
}

}  // namespace

void OutdoorScene::load(const FrameContext& /*firstFrame*/) {
  terrain.build("heightmap.jpg", TerrainBox{-200.0f, -20.0f, -200.0f, 200.0f, 44.0f, 200.0f}, 6, 6, 10, 10);
  terrain.setTexture("terraintexture.jpg");
  loadEmitters();
  sky = CStatic3D::create("sky.3ds");
  loadMissiles();
  {
    // Made and dropped at once, so that the explosion sprite is loaded now, not during the show.
    ParticleExplosion warmUp;
    warmUp.create(1.0f, Vector3());
  }
  OccupancyGrid grid;
  placePalms(grid);
  placeWindmills(grid);
  loadLauncher();
  // The programs the ground, the models and the explosions draw with are made now, not in a frame.
  for (const PassState& pass : {litScenePass(), scenePass(), explosionPass()}) {
    drawLayer().preparePass(pass);
  }
}

void OutdoorScene::loadEmitters() {
  emitters[0].presetSmokeArea(-100.0f, -100.0f, 100.0f, 100.0f, 70);
  emitters[0].setTexture("YellowBubble.jpg");
  emitters[1].presetBubbleVolume(-160.0f, 30.0f, -160.0f, 160.0f, 70.0f, 160.0f, 200);
  emitters[1].setTexture("star.jpg");
  for (int k = 0; k < kSmokeColumnCount; ++k) {
    const float x = kSmokeColumns[k][0];
    const float z = kSmokeColumns[k][1];
    ParticleEmmiter& column = emitters[2 + k];
    column.presetSmokeColumn();
    column.position = Vector3(x, terrain.heightAt(x, z), z, 0.0f);
    column.velocity = Vector3(0.0f, 4.5f, 0.0f, 0.0f);
    column.acceleration = Vector3(0.0f, -1.4f, 0.0f, 0.0f);
  }
  for (ParticleEmmiter& emitter : emitters) {
    emitter.prepareDrawing();
  }
}

void OutdoorScene::loadMissiles() {
  bool missing = false;
  for (Missile& missile : missiles) {
    missile.body = createUnlessMissing("missile.3ds", missing, "the missiles are");
    missile.launchTime = -1.0f;
    missile.trail = nullptr;
    missile.spareTrail = std::make_unique<ParticleEmmiter>();
    missile.spareTrail->presetFlareTrail();
    missile.spareTrail->prepareDrawing();
  }
  missiles[0].spareTrail->writeState(freshTrail_);
  // A trail per missile, and a few explosions at once for each: a flight ends within 9 s and
  // its blast lasts under 4 s.
  trails.reserve(kMissileCount);
  explosions.reserve(kMissileExplosionRoom * kMissileCount);
  prepareExplosionSpares(spareExplosions_, kMissileExplosionRoom * kMissileCount);
}

void OutdoorScene::placePalms(OccupancyGrid& grid) {
  bool missing = false;
  for (int n = 0; n < kPalmCount; ++n) {
    OccupancyGrid::Cell cell;
    if (!grid.claimRandomCell(cell)) {
      return;
    }
    const float ground = terrain.heightAt(cell.x, cell.z);
    std::unique_ptr<CStatic3D> palm = createUnlessMissing("palm02.3ds", missing, "the palms are");
    // Drawn whether or not the palm exists, so that every later draw stays the same.
    const float riseStart = randomFraction() * 9.0f + 8.0f;
    if (!palm) {
      continue;
    }
    const Vector3 sunk(cell.x, ground - kPalmSunkDepth, cell.z, 0.0f);
    palm->position = sunk;
    CGameObj* const placed = palms.add(std::move(palm));
    tweenTimeline().addVectorMove(&placed->position, sunk, Vector3(cell.x, ground, cell.z, 0.0f), riseStart,
                                  kPalmRiseSeconds);
  }
}

void OutdoorScene::placeWindmills(OccupancyGrid& grid) {
  bool bodyMissing = false;
  bool wingsMissing = false;
  for (int n = 0; n < kWindmillCount; ++n) {
    OccupancyGrid::Cell cell;
    if (!grid.claimRandomCell(cell)) {
      return;
    }
    const float ground = terrain.heightAt(cell.x, cell.z);
    std::unique_ptr<CStatic3D> body = createUnlessMissing("windmill_body.3ds", bodyMissing, "the windmills are");
    // Wings with no body to turn on are left out; a body without wings still stands.
    std::unique_ptr<CStatic3D> wings =
        body ? createUnlessMissing("windmill_wings.3ds", wingsMissing, "the windmill wings are") : nullptr;
    // Drawn whether or not the windmill exists, so that every later draw stays the same.
    const float turnDegrees = randomFraction() * 360.0f;
    const float dropStart = randomFraction() * 7.0f + 13.0f;
    // The drop moves the body: without one there is nothing to register it for.
    if (!body) {
      continue;
    }
    body->position = Vector3(cell.x, ground - kWindmillWaitDepth, cell.z, 0.0f);
    body->rotationAxis[0] = 0.0f;
    body->rotationAxis[1] = 1.0f;
    body->rotationAxis[2] = 0.0f;
    body->rotationAngle = turnDegrees;
    body->scale = kWindmillScale;
    const std::size_t index = windmills.children.size();
    CGameObj* const placed = windmills.add(std::move(body));
    if (wings) {
      wings->position = Vector3(0.0f, kWingsHubHeight, 0.0f, 0.0f);
      CStatic3D* const keptWings = wings.get();
      placed->addChild(windmills.keep(std::move(wings)));
      windmillWings[index] = keptWings;
    }
    tweenTimeline().addVectorMove(&placed->position, Vector3(cell.x, ground + kWindmillDropHeight, cell.z, 0.0f),
                                  Vector3(cell.x, ground - 1.0f, cell.z, 0.0f), dropStart, kWindmillDropSeconds);
  }
}

void OutdoorScene::loadLauncher() {
  std::unique_ptr<CStatic3D> turret = CStatic3D::create("rocketlauncher.3ds");
  if (!turret) {
    logMissingModel("rocketlauncher.3ds", "the launcher is");
    return;
  }
  std::unique_ptr<CStatic3D> base = turret->extractMesh("launcherb");
  std::unique_ptr<CStatic3D> arm = turret->extractMesh("launcherbp");
  launcher = turret.get();
  launcherBase = base.get();
  launcherArm = arm.get();
  launcherParts.keep(std::move(turret));
  launcherParts.keep(std::move(base));
  launcherParts.keep(std::move(arm));

  // Without a base the turret itself stands on the ground.
  CStatic3D* root = launcher;
  if (launcherBase != nullptr) {
    launcherBase->addChild(launcher);
    root = launcherBase;
  } else {
    logMissingMesh("launcherb");
  }
  if (launcherArm != nullptr) {
    launcher->addChild(launcherArm);
    launcherArm->position = Vector3(kArmPivotX, kArmPivotY, 0.0f, 0.0f);
    // The arm's mesh is moved so that the pivot lies on its origin and the arm tilts about it.
    if (launcherArm->model != nullptr && !launcherArm->model->meshes.empty()) {
      launcherArm->model->meshes.front()->translate(-kArmPivotX, -kArmPivotY, 0.0f);
    }
  } else {
    logMissingMesh("launcherbp");
  }
  root->position = Vector3(kLauncherX, terrain.heightAt(kLauncherX, kLauncherZ), kLauncherZ, 0.0f);
}
