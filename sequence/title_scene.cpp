// The title scene's frame: camera and line field, the two layers drawn into the scene's own
// surfaces, the wide bubbles into a smaller surface of their own, all three laid onto the window,
// then the narrow bubbles added straight onto the window.
#include "sequence/title_scene.h"


#include <algorithm>
#include <cassert>
#include <cmath>

#include "core/debug_log.h"
#include "core/effects_register.h"
#include "gpu/draw_layer.h"
#include "gpu/matrix_helpers.h"
#include "gpu/texture_manager.h"
#include "gpu/textured_quad.h"
#include "sequence/scene_pass.h"
#include "world/mesh.h"

const float kTitleEyePath[kTitleCameraPointCount * 3] = {
    -50.0f, 130.0f, 0.0f,
    -40.0f, 35.0f,  -30.0f,
    60.0f,  20.0f,  10.0f,
    -10.0f, 5.0f,   40.0f,
    30.0f,  15.0f,  -10.0f,
    -30.0f, 35.0f,  60.0f,
    -20.0f, 0.0f,   40.0f,
    -20.0f, 18.0f,  5.0f,
};
const float kTitleTargetPath[kTitleCameraPointCount * 3] = {
    -1.0f, 1.0f, 0.0f,
    -2.0f, 5.0f, -2.0f,
    3.0f,  2.0f, 3.0f,
    0.0f,  5.0f, 0.0f,
    1.0f,  1.0f, -1.0f,
    -5.0f, 3.0f, 0.0f,
    0.0f,  0.0f, 0.0f,
    0.0f,  0.0f, 0.0f,
};

namespace {

constexpr float kCameraPathSeconds = 60.0f;
constexpr const char* kTitleFiles[kTitleCount] = {"text1.3ds", "text2.3ds", "text3.3ds", "text4.3ds"};
// The feedback samples the previous picture inside this margin, enlarging it about the centre.
constexpr float kFeedbackMargin = 0.01f;
constexpr float kTitleEyeDistance = 15.0f;
// The shimmer grid moves a third of the frame's duration each frame.
constexpr float kShimmerStepScale = 1.0f / 3.0f;
// Each frame keeps at most half of the line picture before it and 0.56 to 0.6 of the title picture:
// after this many frames what came before is no more than a faint trace (the lowest step of a
// colour channel). Such traces can last: only drawing every earlier picture reproduces them
// exactly (drawFeedback).
constexpr int kFramesToSettle = 16;

PassState blendedPass(BlendFactor source, BlendFactor destination) {
  PassState state = scenePass();
  state.blend = true;
  state.blendSource = source;
  state.blendDestination = destination;
  return state;
}

// The layers laid onto the window write no depth, so the narrow bubbles drawn next are not held back.
PassState compositePass() {
  PassState state = scenePass();
  state.depthWrite = false;
  return state;
}

// Unit 0 squares the lines, unit 1 adds the titles and unit 2 the bubbles; alpha is the vertex
// colour's. Every step clamps, as blending does.
PassState onePassCompositePass() {
  PassState state = compositePass();
  const TextureMode modes[kDrawTextureUnits] = {TextureMode::SquareTexel, TextureMode::AddTexel,
                                                TextureMode::AddTexel};
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    state.units[unit].enabled = true;
    state.units[unit].mode = modes[unit];
  }
  return state;
}

// Leaves no texture bound: the surface is drawn into again later, and nothing may sample it then.
void drawWholeTarget(unsigned int texture) {
  drawLayer().bindTexture(0, texture);
  drawTexturedQuad(0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f);
  drawLayer().bindTexture(0, 0);
}

}  // namespace

SurfaceSize bubbleSurfaceSize(int drawableWidth, int drawableHeight, SurfaceSize layerSize) {
  const SurfaceSize full = drawingSurfaceSize(drawableWidth, drawableHeight);
  return proportionalSize(bubbleSurfaceSize(drawableWidth, drawableHeight), layerSize, full);
}

void TitleScene::init() {
  camera.setPaths(kCameraPathSeconds, kTitleCameraPointCount, kTitleEyePath, kTitleCameraPointCount,
                  kTitleTargetPath);
}

void TitleScene::load(const FrameContext& firstFrame) {
  const SurfaceSize size = firstFrame.drawable.surfaceSize;
  makeLayers(size, firstFrame.timeSeconds);
  addBubbleSurface(firstFrame);
  const platform::GLCapabilities& driver = firstFrame.capabilities;
  onePassComposite_ = driver.multitexture && driver.textureUnits >= kDrawTextureUnits;
  layers.checkStatus();
  clearLayers();
  if (!hasLayers()) {
    DebugLog::append(kLogFileName, "TitleScene: no drawing surfaces, only the bubbles are shown\r\n");
  }

  bubbles.presetSmokeArea(-50.0f, -50.0f, 50.0f, 50.0f, 300);
  bubbles.texture = textureManager().loadTextureWithMask("redBubble.jpg", "redBubble.jpg");
  bubbles.endSize *= 25.0f;
  bubbles.boxMin.y = -10.0f;
  bubbles.prepareDrawing();

  lineField.build(TerrainBox{-40.0f, -15.0f, -40.0f, 40.0f, 15.0f, 40.0f}, 4, 4, 20);

  for (int n = 0; n < kTitleCount; ++n) {
    texts[n] = CStatic3D::create(kTitleFiles[n]);
    if (!texts[n]) {
      DebugLog::append(kLogFileName, "TitleScene: %s could not be loaded, its title is left out\r\n", kTitleFiles[n]);
    }
  }

  shimmer.texture = hasLayers() ? layers.surfaces[2].texture : 0;
  // The grid shows the whole surface, whatever its size: its corners are texture coordinates, so
  // only the share of the surface counts, and a new size later changes nothing.
  shimmer.textureWidth = shimmer.regionWidth = size.width;
  shimmer.textureHeight = shimmer.regionHeight = size.height;
  shimmer.buildGrid();
  // The programs the titles, the lines and the layers draw with are made now, not in a frame.
  for (const PassState& pass : {scenePass(), lineFieldPass(), compositePass(), onePassCompositePass(),
                                blendedPass(BlendFactor::One, BlendFactor::One)}) {
    drawLayer().preparePass(pass);
  }
}

void TitleScene::resizeSurfaces(const FrameContext& frame) {
  const SurfaceSize size = frame.drawable.surfaceSize;
  if (!hasLayers()) {
    return;
  }
  if (layers.surfaces[0].width == size.width && layers.surfaces[0].height == size.height) {
    return;
  }
  // The trails start again from black on the new surfaces. Without all of them the scene shows
  // only its bubbles, as when they could not be made at the start.
  bool allMade = true;
  for (int n = 0; n < 4; ++n) {
    allMade = layers.resizeTarget(n, size.width, size.height) && allMade;
  }
  if (hasBubbleSurface()) {
    const SurfaceSize bubbleSize = surfaceSizeOnDriver(bubbleSurfaceSize(frame.drawable.width, frame.drawable.height, size));
    allMade = layers.resizeTarget(kBubbleSurface, bubbleSize.width, bubbleSize.height) && allMade;
    layers.clampEdges(kBubbleSurface);
  }
  if (!allMade) {
    DebugLog::append(kLogFileName, "TitleScene: no drawing surfaces at the new size, only the bubbles are shown\r\n");
    effectsRegister().switchOff(Effect::TitleLayers, layers.lastRefusal(), frame.timeSeconds);
    layers.releaseTargets();
  }
  // The shimmer grid needs nothing new: it shows the whole surface, in shares of it, at any size.
  clearLayers();
  layersCurrent_ = false;
}

void TitleScene::writeState(StateRecord& record) const {
  for (const LineLane& lane : lineField.lanes) {
    for (const float value : {lane.timer, lane.drift1, lane.phase1, lane.frequency1, lane.amplitude1, lane.drift2,
                              lane.phase2, lane.frequency2, lane.amplitude2}) {
      record.write(value);
    }
  }
  record.writeAll(lineField.segments);
  for (int row = 0; row < kGridPointsPerSide; ++row) {
    for (int column = 0; column < kGridPointsPerSide; ++column) {
      record.write(shimmer.points[row][column]);
    }
  }
  bubbles.writeState(record);
  record.write(camera.eye);
  record.write(camera.target);
}

void TitleScene::readState(StateReader& reader) {
  // Read in place, so the lanes' pointers into the segments stay good.
  for (LineLane& lane : lineField.lanes) {
    for (float* value : {&lane.timer, &lane.drift1, &lane.phase1, &lane.frequency1, &lane.amplitude1, &lane.drift2,
                         &lane.phase2, &lane.frequency2, &lane.amplitude2}) {
      reader.read(*value);
    }
  }
  const std::size_t segmentCount = lineField.segments.size();
  reader.readAll(lineField.segments);
  assert(lineField.segments.size() == segmentCount && "segment state from another field");
  (void)segmentCount;
  for (int row = 0; row < kGridPointsPerSide; ++row) {
    for (int column = 0; column < kGridPointsPerSide; ++column) {
      reader.read(shimmer.points[row][column]);
    }
  }
  bubbles.readState(reader);
  reader.read(camera.eye);
  reader.read(camera.target);
  // The layers show other frames than the state now says: they start again as after loading, and
  // the frames that follow draw them afresh.
  front = 0;
  back = 1;
  layersCurrent_ = false;
  clearLayers();
}

void TitleScene::clearLayers() {
  if (layers.surfaces.empty()) {
    return;
  }
  // Transparent black, as the surfaces are before anything is drawn. The clear colour stays so:
  // every clear of a frame sets its own first.
  drawLayer().setClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  for (int n = 0; n < static_cast<int>(layers.surfaces.size()); ++n) {
    layers.clearTarget(n);
  }
}

bool TitleScene::hasLayers() const { return effectsRegister().isOn(Effect::TitleLayers); }

bool TitleScene::hasBubbleSurface() const { return hasLayers() && effectsRegister().isOn(Effect::BubbleSurface); }

// The four layers, all or none: a scene without one of them shows only its bubbles.
void TitleScene::makeLayers(SurfaceSize size, float timeSeconds) {
  EffectsRegister& effects = effectsRegister();
  if (!layers.createFramebuffer()) {
    effects.switchOff(Effect::TitleLayers, layers.lastRefusal(), timeSeconds);
    return;
  }
  bool allMade = true;
  for (int n = 0; n < 4; ++n) {
    if (layers.addTarget(size.width, size.height, kColourSurfaceFormat, false) < 0) {
      effects.switchOff(Effect::TitleLayers, layers.lastRefusal(), timeSeconds);
      allMade = false;
    }
  }
  if (allMade) {
    effects.switchOn(Effect::TitleLayers);
  }
}

// Some three hundred large, soft sprites overlap many times over, so filling them is most of the
// scene's cost without a GPU. A wide bubble's picture is a small texture enlarged many times: drawn
// at a third of the window's resolution and enlarged once more, it looks the same and costs a ninth.
// Narrow bubbles, where the enlargement would show, are few pixels and go straight to the window.
void TitleScene::addBubbleSurface(const FrameContext& firstFrame) {
  if (!hasLayers()) {
    return;
  }
  const Drawable& drawable = firstFrame.drawable;
  const SurfaceSize size = surfaceSizeOnDriver(bubbleSurfaceSize(drawable.width, drawable.height));
  if (layers.addTarget(size.width, size.height, kColourSurfaceFormat, false) != kBubbleSurface) {
    effectsRegister().switchOff(Effect::BubbleSurface, layers.lastRefusal(), firstFrame.timeSeconds);
    return;
  }
  // Enlarging samples beside the edge texels: they must not wrap round to the opposite edge.
  layers.clampEdges(kBubbleSurface);
  effectsRegister().switchOn(Effect::BubbleSurface);
}


void TitleScene::advance(const FrameContext& frame) {
  const float dtSeconds = frame.dtSeconds;
  if (!titleSceneDraws(frame.timeSeconds)) {
    return;
  }
  const float x = frame.timeSeconds - kTitleSceneStartSeconds;
  camera.update(x);
  lineField.update(dtSeconds);
  shimmer.advanceGrid(dtSeconds * kShimmerStepScale);
  bubbles.simulate(x, dtSeconds);
  placeTitle(x);
  layersCurrent_ = false;
}

void TitleScene::placeTitle(float sceneSeconds) {
  const int slot = titleSlotAt(sceneSeconds);
  const float fraction = titleSlotFraction(sceneSeconds, slot);
  CStatic3D* const title = texts[slot].get();
  if (title == nullptr) {
    return;
  }
  title->position = titlePosition(fraction);
  title->rotationAxis[0] = 1.0f;
  title->rotationAxis[1] = 0.0f;
  title->rotationAxis[2] = 0.0f;
  title->rotationAngle = titleRockingDegrees(fraction);
}

void TitleScene::draw(const FrameContext& frame) {
  if (!titleSceneDraws(frame.timeSeconds)) {
    return;
  }
  DrawLayer& layer = drawLayer();
  layer.setViewport(frame.drawable.viewport());
  layer.setClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  layer.clear(true, true);
  drawViewAndLayers(frame);
  if (hasBubbleSurface()) {
    drawWideBubbles(frame.drawable);
    composite();
    // The bubbles add up whatever their order, so the narrow ones can come last.
    bubbles.render(SpriteWidthRange{0.0f, kWideBubbleShare});
    return;
  }
  layer.color(1.0f, 1.0f, 1.0f, 1.0f);
  bubbles.render();
  if (hasLayers()) {
    composite();
  }
}

int TitleScene::framesToSettle(float timeSeconds) const {
  return titleSceneDraws(timeSeconds) ? kFramesToSettle : 0;
}

void TitleScene::swapPair() {
  if (front != 0) {
    front = 0;
    back = 1;
  } else {
    front = 1;
    back = 0;
  }
}

void TitleScene::drawFeedback(const FrameContext& frame) {
  if (titleSceneDraws(frame.timeSeconds)) {
    drawViewAndLayers(frame);
  }
}

void TitleScene::drawViewAndLayers(const FrameContext& frame) {
  camera.applyView(frame.drawable);
  // Drawn again without an advance (while paused), the layers are shown as they are: drawing them
  // again would feed them on themselves and the picture would drift.
  if (hasLayers() && !layersCurrent_) {
    drawLayers(frame);
    layersCurrent_ = true;
  }
}

void TitleScene::drawLayers(const FrameContext& frame) {
  const float sceneSeconds = frame.timeSeconds - kTitleSceneStartSeconds;
  swapPair();
  drawLineLayer(sceneSeconds, frame.dtSeconds);
  drawTitleLayer(sceneSeconds, frame);
  drawLayer().setViewport(frame.drawable.viewport());
  layers.attachTarget(-1, 0);
  layers.unbindFramebuffer();
}

void TitleScene::drawLineLayer(float sceneSeconds, float dtSeconds) {
  layers.bindFramebuffer();
  layers.attachTarget(back, 0);
  layers.setTargetViewport(back);
  DrawLayer& layer = drawLayer();
  layer.setClearColor(0.6f, 0.0f, 0.0f, 1.0f);
  layer.clear(true, false);

  lineField.draw();
  if (lineCageShown(sceneSeconds)) {
    layer.matrixMode(MatrixStack::ModelView);
    layer.pushMatrix();
    layer.rotate(90.0f, 0.0f, 0.0f, 1.0f);
    lineField.draw();
    layer.rotate(-90.0f, 0.0f, 0.0f, 1.0f);
    layer.rotate(90.0f, 1.0f, 0.0f, 0.0f);
    lineField.draw();
    layer.popMatrix();
  }

  // The previous line picture, slightly enlarged and darkened, multiplied in: the lines leave
  // trails that stream outward from the centre.
  const float keep = lineTrailLevel(dtSeconds);
  pushMatrices();
  setOrtho2D(0.0f, 1.0f, 0.0f, 1.0f);
  layer.applyPass(blendedPass(BlendFactor::SourceColor, BlendFactor::DestinationColor));
  layer.bindTexture(0, layers.surfaces[front].texture);
  layer.color(keep, keep, keep, keep);
  drawTexturedQuad(kFeedbackMargin, kFeedbackMargin, 1.0f - kFeedbackMargin, 1.0f - kFeedbackMargin, 0.0f, 0.0f, 1.0f,
                   1.0f);
  layer.bindTexture(0, 0);
  popMatrices();
}

void TitleScene::drawTitleLayer(float sceneSeconds, const FrameContext& frame) {
  layers.attachTarget(back + 2, 0);
  layers.setTargetViewport(back + 2);
  DrawLayer& layer = drawLayer();
  layer.setClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  layer.clear(true, true);

  CStatic3D* const title = texts[titleSlotAt(sceneSeconds)].get();
  pushMatrices();
  setFixedPerspective(frame.drawable, 0.0f, 0.0f, kTitleEyeDistance, 0.0f, 0.0f, 0.0f);
  layer.applyPass(scenePass());
  layer.color(1.0f, 1.0f, 1.0f, 1.0f);
  if (title != nullptr) {
    title->drawMode = kDrawVertexArrays;
    title->render();
  }

  // The previous title picture added back through the wobbling grid: the title shimmers.
  layer.applyPass(blendedPass(BlendFactor::One, BlendFactor::One));
  const float shimmerLevel = titleShimmerLevel(frame.dtSeconds);
  layer.color(shimmerLevel, shimmerLevel, shimmerLevel, shimmerLevel);
  shimmer.texture = layers.surfaces[front + 2].texture;
  shimmer.drawCurrentGrid();
  popMatrices();
}

void TitleScene::drawWideBubbles(const Drawable& drawable) {
  DrawLayer& layer = drawLayer();
  layer.color(1.0f, 1.0f, 1.0f, 1.0f);
  // The same view into the smaller surface: the projection maps to the whole viewport either way.
  layers.bindFramebuffer();
  layers.attachTarget(kBubbleSurface, 0);
  layers.setTargetViewport(kBubbleSurface);
  layer.setClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  layer.clear(true, false);
  bubbles.render(SpriteWidthRange{kWideBubbleShare, SpriteWidthRange::kWidestShare});
  layers.attachTarget(-1, 0);
  layers.unbindFramebuffer();
  layer.setViewport(drawable.viewport());
}

void TitleScene::composite() {
  if (hasBubbleSurface() && onePassComposite_) {
    compositeInOnePass();
    return;
  }
  pushMatrices();
  setOrtho2D(0.0f, 1.0f, 0.0f, 1.0f);
  DrawLayer& layer = drawLayer();
  layer.color(1.0f, 1.0f, 1.0f, 1.0f);
  PassState state = compositePass();
  // The window is still black: the bubbles' picture replaces it.
  if (hasBubbleSurface()) {
    layer.applyPass(state);
    drawWholeTarget(layers.surfaces[kBubbleSurface].texture);
  }
  // The lines add themselves in proportion to their own brightness, the titles in full.
  state.blend = true;
  state.blendSource = BlendFactor::SourceColor;
  state.blendDestination = BlendFactor::One;
  layer.applyPass(state);
  drawWholeTarget(layers.surfaces[back].texture);
  state.blendSource = BlendFactor::One;
  layer.applyPass(state);
  drawWholeTarget(layers.surfaces[back + 2].texture);
  popMatrices();
}

// What the blended passes add onto the still black window, in one pass: the picture is the
// blended passes' one.
void TitleScene::compositeInOnePass() {
  pushMatrices();
  setOrtho2D(0.0f, 1.0f, 0.0f, 1.0f);
  DrawLayer& layer = drawLayer();
  layer.applyPass(onePassCompositePass());
  layer.color(1.0f, 1.0f, 1.0f, 1.0f);
  const unsigned int pictures[kDrawTextureUnits] = {layers.surfaces[back].texture, layers.surfaces[back + 2].texture,
                                                    layers.surfaces[kBubbleSurface].texture};
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    layer.bindTexture(unit, pictures[unit]);
  }
  drawUnitSquareOnUnits(kDrawTextureUnits);
  // The surfaces are drawn into again next frame; nothing may sample them then.
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    layer.bindTexture(unit, 0);
  }
  popMatrices();
}
