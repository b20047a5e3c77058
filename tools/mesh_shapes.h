// Building blocks for the baked models: boxes, swept tubes and round caps, each added through a
// MeshBuilder so they take its placement and texture region.
#pragma once

#include <vector>

#include "core/vector3.h"
#include "tools/mesh_builder.h"

namespace baker {

// An axis-aligned box in the builder's part coordinates, faces pointing outward. Each face has
// its own four vertices (hard edges) and its own smoothing group, and maps the whole texture
// region (u along the face's first axis, v upward or along -z on the top and bottom).
void addBox(MeshBuilder& builder, const Vector3& min, const Vector3& max);

// One cross-section of a sweep: a circle of `radius` around `centre`, at texture row `v`
// (0..1 of the region). A radius of 0 closes the sweep in a point.
struct SweepRing {
  Vector3 centre;
  float radius = 0.0f;
  float v = 0.0f;
};

// A tube through the rings, `segments` around, faces pointing away from the axis (toward it
// when `inward`). Neighbouring rings share vertices, and so do the first and last column,
// because u runs 0 -> uRepeat -> 0 around the tube (the picture is mirrored on the far side):
// the surface is smooth all round with no seam. The cross-section frames follow the path
// without twisting.
void addSweep(MeshBuilder& builder, const std::vector<SweepRing>& rings, int segments, float uRepeat, bool inward);

// A flat disc of `radius` around `centre`, facing `normal`, with its own vertices (a hard edge
// to whatever it closes) and the texture region mapped across it.
void addCap(MeshBuilder& builder, const Vector3& centre, const Vector3& normal, float radius, int segments);

// Unit vector along v; v itself when it has no length.
Vector3 unitVector(const Vector3& v);
// Some unit vector at right angles to the unit vector `direction`.
Vector3 perpendicularTo(const Vector3& direction);

// A slab whose outline is the convex polygon `outline` (points in the x-y plane of the part,
// counter-clockwise seen from +z), from z = -halfThickness to +halfThickness. Both broad faces
// map the texture region over the outline's bounding box; the rim maps its bottom strip.
void addSlab(MeshBuilder& builder, const std::vector<Vector3>& outline, float halfThickness);

}  // namespace baker
