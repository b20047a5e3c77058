// The title part's moving backdrop: two families of lanes across a small height field, one running
// along z and one along x, on which short glowing segments travel and wrap round, while every lane
// snakes sideways as the sum of two sine waves with drifting phases.
// The height field is only asked for heights; it is never drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "effects/volume_lines.h"
#include "world/terrain.h"

constexpr const char* kLineFieldHeightPicture = "height2.jpg";

struct PassState;

// How the lines are drawn: each adds its colour in proportion to its alpha onto the square of what
// lies beneath, the laser picture's faint fringe left out; unlit, depth-tested, unit 0 textured.
PassState lineFieldPass();

struct LineSegment;

struct LineLane {
  float timer = 0.0f;   // seconds until new drift speeds are drawn
  float drift1 = 0.0f;  // phase speed of wave 1, units per second
  float phase1 = 0.0f;
  float frequency1 = 0.0f;  // radians per unit along the lane
  float amplitude1 = 0.0f;
  float drift2 = 0.0f;
  float phase2 = 0.0f;
  float frequency2 = 0.0f;
  float amplitude2 = 0.0f;
  LineSegment* firstSegment = nullptr;  // into the field's segments

  // The lane's sideways offset at distance p along it.
  float offsetAt(float p) const;
};

struct LineSegment {
  int32_t lane = 0;
  float position = 0.0f;  // distance along the lane from the box's near edge
  float length = 0.0f;
  float width = 0.0f;
  float speed = 0.0f;  // units per second
};

class LineField : public Terrain {
 public:
  // Builds the height field from the picture and lays out the lanes and their segments with the
  // process-wide random sequence, then takes one short step. Counts below 1, or a box without
  // extent, leave the field without lanes.
  void build(const TerrainBox& extent, int lanesAlongZ, int lanesAlongX, int segmentsOnEachLane);
  // Moves the segments on, wrapping them round at the lane's end, and drifts the lanes' phases.
  void update(float dtSeconds);
  // Every segment as a volume line, with the current matrices and viewport, in lineFieldPass()
  // whatever was drawn before.
  void draw();

  int32_t laneCountZ = 0;
  int32_t laneCountX = 0;
  int32_t segmentsPerLane = 0;
  float spacingX = 0.0f;  // between lanes running along z
  float spacingZ = 0.0f;  // between lanes running along x
  float sizeX = 0.0f;
  float sizeZ = 0.0f;
  std::vector<LineLane> lanes;        // those along z first, then those along x
  std::vector<LineSegment> segments;  // lane i owns segmentsPerLane of them from i × segmentsPerLane
  VolumeLines lines;

 private:
  bool runsAlongZ(int laneIndex) const { return laneIndex < laneCountZ; }
  float laneLength(int laneIndex) const { return runsAlongZ(laneIndex) ? sizeZ : sizeX; }
  void drawLane(int laneIndex);
};
