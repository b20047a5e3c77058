// The first 90 seconds: a flight over a landscape with palms, windmills, a launcher firing
// missiles, smoke and stars, drawn into the shared render target and laid over the window tinted.
// The scene owns every object it makes; models stay the model cache's.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "core/state_record.h"
#include "effects/particle_emmiter.h"
#include "sequence/camera.h"
#include "sequence/jump_cut_clock.h"
#include "sequence/missile_flight.h"
#include "sequence/object_group.h"
#include "sequence/occupancy_grid.h"
#include "sequence/scene.h"
#include "world/c_static_3d.h"
#include "world/ground_occlusion.h"
#include "world/terrain.h"

constexpr float kOutdoorSceneEndSeconds = 90.0f;
constexpr float kCameraFlightSeconds = 60.0f;
constexpr int kOutdoorEmitterCount = 19;  // bubbles, stars, then 17 smoke columns
constexpr int kMissileCount = 5;
constexpr int kPalmCount = 90;
constexpr int kWindmillCount = 12;

// The camera flight: eight (x, y, z) control points each for the eye and the target. The eye
// comes down from high above, passes low over the ground and climbs away at the end; the target
// keeps to the landscape until its last two points. The ground is shaped to stay below the eye.
constexpr int kOutdoorCameraPointCount = 8;
extern const float kOutdoorEyePath[kOutdoorCameraPointCount * 3];
extern const float kOutdoorTargetPath[kOutdoorCameraPointCount * 3];

struct TintColour {
  float r = 1.0f;
  float g = 1.0f;
  float b = 1.0f;
  float a = 1.0f;
};

// The scene draws up to and including 90 s.
bool outdoorSceneDraws(float timeSeconds);
// The colour the picture is laid over the window with: white up to 49 s, green up to 80 s, then a
// fade from (0.6, 1, 0) to dark red at 90 s.
TintColour outdoorTint(float timeSeconds);

class OutdoorScene : public Scene {
 public:
  void init() override;  // the camera's 60-second eye and target paths
  // Terrain, emitters, sky, missiles, the explosion sprite, palms, windmills, launcher. A model
  // file that cannot be loaded is asked for once: its objects are left out, with one log line.
  void load(const FrameContext& firstFrame) override;
  // Scene clock, moving parts, camera, missiles and particles; nothing after 90 s.
  void advance(const FrameContext& frame) override;
  // The world into the shared target, then the target over the window in the colour of the moment.
  void draw(const FrameContext& frame) override;
  // The shared target's one surface, with depth: made by the first call, which start-up makes once
  // every scene has loaded, and made again at the frame's surface size after. Without it the world
  // is drawn straight into the window; the effects register has the landscape's surface off.
  void resizeSurfaces(const FrameContext& frame) override;
  bool drawsAt(float timeSeconds) const override { return outdoorSceneDraws(timeSeconds); }
  // Particles, missiles, trails, explosions, the placements of palms, windmills and missile bodies,
  // the jump-cut clock, the scene clock and the camera.
  void writeState(StateRecord& record) const override;
  void readState(StateReader& reader) override;

  // The launcher: base, the turret (the model's remaining meshes) and the tilting arm, chained in
  // that order; any of them null when its model or mesh is missing. launcherParts holds them.
  CStatic3D* launcherBase = nullptr;
  CStatic3D* launcher = nullptr;
  CStatic3D* launcherArm = nullptr;
  std::array<ParticleEmmiter, kOutdoorEmitterCount> emitters;
  ObjectGroup explosions;  // the running explosions
  ObjectGroup trails;      // one flare trail per missile that has flown
  std::array<Missile, kMissileCount> missiles;
  std::unique_ptr<CStatic3D> sky;
  Terrain terrain;
  ObjectGroup palms;
  ObjectGroup windmills;  // the bodies, each with its wings as child; also holds the wings
  std::array<CStatic3D*, kWindmillCount> windmillWings{};  // wings of windmills.children[n]
  PathCamera camera;

 private:
  void loadEmitters();
  void loadMissiles();
  void placePalms(OccupancyGrid& grid);
  void placeWindmills(OccupancyGrid& grid);
  void loadLauncher();

  void beginTargetFrame(const Drawable& drawable);
  void animateParts(float sceneSeconds);
  void stepMissiles(float timeSeconds, float dtSeconds);
  // Puts the missile's trail into the trails: its spare, or a new one when it has none.
  ParticleEmmiter& launchTrail(Missile& missile);
  // Takes the missile's trail back out of the trails and makes it its fresh spare again.
  void spareTrailAgain(Missile& missile);
  void drawWorld(float timeSeconds);
  void drawEffects();
  void drawPalmsInView(const GroundOcclusion& ground);
  void composite(const FrameContext& frame);

  ObjectGroup launcherParts;  // holds the three launcher pieces; draws nothing itself
  ExplosionSpares spareExplosions_;
  bool targetMade_ = false;  // the shared target was made once; a refused resize leaves it off for good
  bool drawsIntoTarget_ = false;  // this frame renders into the shared target's first surface
  float sceneSeconds_ = 0.0f;     // the scene clock of the last advance

  StateRecord freshTrail_;  // a trail's state before its first flight
  // Every object whose placement the frames change: palms, windmills, then the missile bodies.
  std::vector<CGameObj*> movingObjects() const;
};
