// Appending placed, textured geometry to baked meshes.
#include "tools/mesh_builder.h"

#include <cmath>

namespace baker {

Vector3 Placement::apply(const Vector3& p) const {
  Vector3 result = origin + applyToDirection(p);
  result.w = 0.0f;
  return result;
}

Vector3 Placement::applyToDirection(const Vector3& d) const {
  Vector3 result = xAxis * d.x + yAxis * d.y + zAxis * d.z;
  result.w = 0.0f;
  return result;
}

Placement Placement::then(const Placement& inner) const {
  Placement result;
  result.origin = apply(inner.origin);
  result.xAxis = applyToDirection(inner.xAxis);
  result.yAxis = applyToDirection(inner.yAxis);
  result.zAxis = applyToDirection(inner.zAxis);
  return result;
}

Placement Placement::translation(const Vector3& offset) {
  Placement result;
  result.origin = Vector3(offset.x, offset.y, offset.z);
  return result;
}

Placement Placement::scaling(float sx, float sy, float sz) {
  Placement result;
  result.xAxis = Vector3(sx, 0.0f, 0.0f);
  result.yAxis = Vector3(0.0f, sy, 0.0f);
  result.zAxis = Vector3(0.0f, 0.0f, sz);
  return result;
}

Placement Placement::rotationX(float angleRadians) {
  const float c = std::cos(angleRadians);
  const float s = std::sin(angleRadians);
  Placement result;
  result.yAxis = Vector3(0.0f, c, s);
  result.zAxis = Vector3(0.0f, -s, c);
  return result;
}

Placement Placement::rotationY(float angleRadians) {
  const float c = std::cos(angleRadians);
  const float s = std::sin(angleRadians);
  Placement result;
  result.xAxis = Vector3(c, 0.0f, -s);
  result.zAxis = Vector3(s, 0.0f, c);
  return result;
}

Placement Placement::rotationZ(float angleRadians) {
  const float c = std::cos(angleRadians);
  const float s = std::sin(angleRadians);
  Placement result;
  result.xAxis = Vector3(c, s, 0.0f);
  result.yAxis = Vector3(-s, c, 0.0f);
  return result;
}

MeshBuilder::MeshBuilder(BakedMesh* mesh) : mesh_(mesh) {}

void MeshBuilder::setTextureRegion(float u0, float v0, float u1, float v1) {
  u0_ = u0;
  v0_ = v0;
  u1_ = u1;
  v1_ = v1;
}

std::uint32_t MeshBuilder::addVertex(const Vector3& position, float u, float v) {
  BakedVertex vertex;
  vertex.position = placement_.apply(position);
  vertex.u = u0_ + (u1_ - u0_) * u;
  vertex.v = v0_ + (v1_ - v0_) * v;
  mesh_->vertices.push_back(vertex);
  return static_cast<std::uint32_t>(mesh_->vertices.size() - 1);
}

void MeshBuilder::addTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  BakedTriangle triangle;
  triangle.a = a;
  triangle.b = b;
  triangle.c = c;
  triangle.smoothingGroups = smoothingGroups_;
  mesh_->triangles.push_back(triangle);
}

void MeshBuilder::addQuad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
  addTriangle(a, b, c);
  addTriangle(a, c, d);
}

std::uint32_t MeshBuilder::vertexCount() const { return static_cast<std::uint32_t>(mesh_->vertices.size()); }

}  // namespace baker
