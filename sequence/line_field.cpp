#include "sequence/line_field.h"

#include <cmath>

#include "core/debug_log.h"
#include "core/random.h"
#include "sequence/scene_pass.h"

namespace {

constexpr int kPatchCount = 9;
constexpr int kVerticesPerPatch = 20;
constexpr int kRedLaserPicture = 2;
// Segments on lanes along z float this far above the ground, those along x this far.
constexpr float kLiftAlongZ = 3.0f;
constexpr float kLiftAlongX = 1.0f;
constexpr float kFirstStepSeconds = 0.01f;
// The laser picture's faint fringe, left out.
constexpr float kFringeAlpha = 0.1f;

}  // namespace

PassState lineFieldPass() {
  PassState state = scenePass();
  state.blend = true;
  state.blendSource = BlendFactor::SourceAlpha;
  state.blendDestination = BlendFactor::DestinationColor;
  state.alphaTest = true;
  state.alphaAbove = kFringeAlpha;
  return state;
}

float LineLane::offsetAt(float p) const {
  return amplitude2 * std::sin(frequency2 * (p + phase2)) + amplitude1 * std::sin(frequency1 * (p + phase1));
}

void LineField::build(const TerrainBox& extent, int lanesAlongZ, int lanesAlongX, int segmentsOnEachLane) {
  if (!Terrain::build(kLineFieldHeightPicture, extent, kPatchCount, kPatchCount, kVerticesPerPatch,
                      kVerticesPerPatch)) {
    // Without its height picture the field is flat: the lanes keep their place over the box.
    box = extent;
  }
  sizeX = extent.xMax - extent.xMin;
  sizeZ = extent.zMax - extent.zMin;
  lanes.clear();
  segments.clear();
  if (lanesAlongZ < 1 || lanesAlongX < 1 || segmentsOnEachLane < 1 || !(sizeX > 0.0f) || !(sizeZ > 0.0f)) {
    DebugLog::append(kLogFileName, "LineField: %d and %d lanes of %d segments over %g x %g: no lines\r\n",
                     lanesAlongZ, lanesAlongX, segmentsOnEachLane, sizeX, sizeZ);
    laneCountZ = laneCountX = segmentsPerLane = 0;
    return;
  }
  laneCountZ = lanesAlongZ;
  laneCountX = lanesAlongX;
  segmentsPerLane = segmentsOnEachLane;
  spacingX = sizeX / static_cast<float>(laneCountZ);
  spacingZ = sizeZ / static_cast<float>(laneCountX);

  const int laneCount = laneCountZ + laneCountX;
  lanes.resize(laneCount);
  segments.resize(static_cast<size_t>(laneCount) * segmentsPerLane);
  for (int i = 0; i < laneCount; ++i) {
    LineLane& lane = lanes[i];
    const float spacing = runsAlongZ(i) ? spacingX : spacingZ;
    const float size = laneLength(i);
    lane.amplitude1 = randomFraction() * spacing * 0.99f;
    lane.amplitude2 = randomFraction() * spacing * 0.99f;
    lane.frequency1 = (randomFraction() * 12.0f + 6.284f) / size;
    lane.frequency2 = (randomFraction() * 12.0f + 6.284f) / size;
    lane.drift1 = lane.phase1 = lane.drift2 = lane.phase2 = 0.0f;
    lane.timer = randomFraction() * 5.0f;
    lane.firstSegment = &segments[static_cast<size_t>(i) * segmentsPerLane];
  }
  for (int i = 0; i < laneCount; ++i) {
    const float length = laneLength(i);
    for (int n = 0; n < segmentsPerLane; ++n) {
      LineSegment& segment = lanes[i].firstSegment[n];
      segment.lane = i;
      segment.position = length * randomFraction();
      segment.length = (randomFraction() + 0.3f) * 4.0f;
      segment.width = (randomFraction() + 0.3f) * 0.8f;
      segment.speed = (randomFraction() + 1.0f) * 15.0f;
    }
  }
  lines.initialize();
  lines.addTexture(kRedLaserPicture);
  update(kFirstStepSeconds);
}

void LineField::update(float dtSeconds) {
  for (LineSegment& segment : segments) {
    segment.position += dtSeconds * segment.speed;
    const float length = laneLength(segment.lane);
    while (segment.position > length) {
      segment.position -= length;
    }
  }
  for (LineLane& lane : lanes) {
    if (lane.timer > 0.0f) {
      lane.timer -= dtSeconds;
    } else {
      lane.timer = randomFraction() * 3.0f + 1.0f;
      lane.drift1 = randomFraction() * 6.28f;
      lane.drift2 = randomFraction() * 6.28f;
    }
    lane.phase1 += dtSeconds * lane.drift1;
    lane.phase2 += dtSeconds * lane.drift2;
  }
}

void LineField::draw() {
  drawLayer().applyPass(lineFieldPass());
  if (lines.beginLines()) {
    for (int i = 0; i < laneCountZ + laneCountX; ++i) {
      drawLane(i);
    }
    lines.endLines();
  }
}

void LineField::drawLane(int laneIndex) {
  const LineLane& lane = lanes[laneIndex];
  for (int n = 0; n < segmentsPerLane; ++n) {
    const LineSegment& segment = lane.firstSegment[n];
    const float p = segment.position;
    const float q = p + segment.length;
    if (runsAlongZ(laneIndex)) {
      const float x = box.xMin + spacingX * (static_cast<float>(laneIndex) + 0.5f);
      const float x0 = x + lane.offsetAt(p);
      const float x1 = x + lane.offsetAt(q);
      const float z0 = box.zMin + p;
      const float z1 = box.zMin + q;
      lines.drawLine(x0, heightAt(x0, z0) + kLiftAlongZ, z0, x1, heightAt(x1, z1) + kLiftAlongZ, z1, segment.width);
    } else {
      const float z = box.zMin + spacingZ * (static_cast<float>(laneIndex - laneCountZ) + 0.5f);
      const float x0 = box.xMin + p;
      const float x1 = box.xMin + q;
      const float z0 = z + lane.offsetAt(p);
      const float z1 = z + lane.offsetAt(q);
      lines.drawLine(x0, heightAt(x0, z0) + kLiftAlongX, z0, x1, heightAt(x1, z1) + kLiftAlongX, z1, segment.width);
    }
  }
}
