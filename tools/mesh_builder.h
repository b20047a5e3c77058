// Appends vertices and triangles to a baked mesh through a placement (where the part sits and
// how it is turned), a texture region (which part of the picture the part's 0..1 coordinates
// cover) and a smoothing-group mask.
#pragma once

#include <cstdint>

#include "core/vector3.h"
#include "tools/baked_model.h"

namespace baker {

// An affine frame: a point p of the part lands at origin + p.x * xAxis + p.y * yAxis + p.z * zAxis.
struct Placement {
  Vector3 origin{0.0f, 0.0f, 0.0f};
  Vector3 xAxis{1.0f, 0.0f, 0.0f};
  Vector3 yAxis{0.0f, 1.0f, 0.0f};
  Vector3 zAxis{0.0f, 0.0f, 1.0f};

  Vector3 apply(const Vector3& p) const;
  Vector3 applyToDirection(const Vector3& d) const;
  Placement then(const Placement& inner) const;  // inner's points, placed by this

  static Placement translation(const Vector3& offset);
  static Placement scaling(float sx, float sy, float sz);
  static Placement rotationX(float angleRadians);  // right-handed, like glRotatef
  static Placement rotationY(float angleRadians);
  static Placement rotationZ(float angleRadians);
};

class MeshBuilder {
 public:
  explicit MeshBuilder(BakedMesh* mesh);

  void setPlacement(const Placement& placement) { placement_ = placement; }
  const Placement& placement() const { return placement_; }
  void setTextureRegion(float u0, float v0, float u1, float v1);
  void setSmoothingGroups(std::uint32_t groups) { smoothingGroups_ = groups; }

  // (u, v) in 0..1 of the current texture region; values outside it repeat the region's picture
  // only when the region is the whole picture.
  std::uint32_t addVertex(const Vector3& position, float u, float v);
  void addTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c);
  void addQuad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d);  // a, b, c, d in turn

  std::uint32_t vertexCount() const;

 private:
  BakedMesh* mesh_;
  Placement placement_;
  float u0_ = 0.0f;
  float v0_ = 0.0f;
  float u1_ = 1.0f;
  float v1_ = 1.0f;
  std::uint32_t smoothingGroups_ = 1;
};

}  // namespace baker
