// Cuts flat polygons with holes into triangles through GLU's tessellator (which needs no GL
// context): the faces of extruded letters, for the outline font and the baked title models.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/vector3.h"

struct FlatTriangles {
  std::vector<Vector3> points;  // the contour points in order, then any the cutter added
  std::vector<std::array<std::uint32_t, 3>> triangles;  // counter-clockwise seen from +z, none flat
};

// Fills the area inside the contours (x, y plane, nonzero winding). False when the
// tessellator reports an error.
bool tessellateContours(const std::vector<std::vector<Vector3>>& contours, FlatTriangles* result);
