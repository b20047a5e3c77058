// The last 64 seconds: four extruded titles fly in one after another, rock in the centre and fly
// out, over a field of glowing red lines that stream outward through a feedback loop, with red
// bubbles rising through the picture. Lines and titles are drawn into the scene's own four
// surfaces, a pair for each layer used in turn, so that every frame can read the one before.
// Surface i of the line layer is surface i of `layers`; surface i of the title layer is i + 2.
// The bubbles have surface kBubbleSurface, smaller than the window, when it could be made.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "core/picture_shape.h"
#include "core/state_record.h"
#include "core/vector3.h"
#include "effects/particle_emmiter.h"
#include "gpu/distortion_grid.h"
#include "gpu/render_target.h"
#include "sequence/camera.h"
#include "sequence/line_field.h"
#include "sequence/scene.h"
#include "sequence/title_scene_timing.h"
#include "world/c_static_3d.h"

constexpr int kBubbleSurface = 4;
// The bubbles' surface where the layers are layerSize, not their full size for the drawable: smaller
// in the same proportion on each axis.
SurfaceSize bubbleSurfaceSize(int drawableWidth, int drawableHeight, SurfaceSize layerSize);
// Bubbles at least this share of the window wide are drawn into the bubbles' surface, smaller
// ones straight into the window, where they stay sharp.
constexpr float kWideBubbleShare = 0.25f;

// The view of the lines and bubbles: eight (x, y, z) points each for the eye and the target.
constexpr int kTitleCameraPointCount = 8;
extern const float kTitleEyePath[kTitleCameraPointCount * 3];
extern const float kTitleTargetPath[kTitleCameraPointCount * 3];

class TitleScene : public Scene {
 public:
  void init() override;  // the camera's 60-second paths
  // The five surfaces, the bubbles, the line field, the four titles and the shimmer grid. A title
  // that cannot be loaded leaves its slot empty, with one log line.
  void load(const FrameContext& firstFrame) override;
  // The layers at the frame's surface size, the bubbles' surface in proportion.
  void resizeSurfaces(const FrameContext& frame) override;
  // Camera, line field, shimmer grid, bubbles and the title of the moment move on; only from 90 s
  // to 154 s.
  void advance(const FrameContext& frame) override;
  // Both layers into the surfaces, the bubbles, then the layers added onto the window. The wide
  // bubbles go through their own surface when there is one.
  void draw(const FrameContext& frame) override;
  int framesToSettle(float timeSeconds) const override;
  bool drawsAt(float timeSeconds) const override { return titleSceneDraws(timeSeconds); }
  void drawFeedback(const FrameContext& frame) override;  // both layers, nothing on the window
  // The camera, the line field, the shimmer grid and the bubbles. Reading a state clears the
  // layers and starts the surface pair again, as after loading.
  void writeState(StateRecord& record) const override;
  void readState(StateReader& reader) override;

  RenderTarget layers;
  int front = 0;  // the surface pair written in the previous frame
  int back = 1;   // the surface pair written in this frame
  LineField lineField;
  ParticleEmmiter bubbles;
  std::array<std::unique_ptr<CStatic3D>, kTitleCount> texts;
  PathCamera camera;
  DistortionGrid shimmer;

 private:
  // What the effects register has on: the four layers, and the bubbles' surface with them.
  bool hasLayers() const;
  bool hasBubbleSurface() const;
  void makeLayers(SurfaceSize size, float timeSeconds);
  void addBubbleSurface(const FrameContext& firstFrame);
  // The title of the moment where it flies or rocks.
  void placeTitle(float sceneSeconds);
  // The camera's view for the lines, and both layers once per advance.
  void drawViewAndLayers(const FrameContext& frame);
  void drawLayers(const FrameContext& frame);
  void drawLineLayer(float sceneSeconds, float dtSeconds);
  void drawTitleLayer(float sceneSeconds, const FrameContext& frame);
  // The wide bubbles into their own surface.
  void drawWideBubbles(const Drawable& drawable);
  // The bubbles' surface, when there is one, and both layers onto the window.
  void composite();
  void compositeInOnePass();
  void clearLayers();
  void swapPair();

  bool layersCurrent_ = false;  // the layers show the state of the last advance
  // The driver has the texture units to combine the three pictures in one pass.
  bool onePassComposite_ = false;
};
