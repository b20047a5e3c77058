// Boxes, sweeps and caps for the baked models.
#include "tools/mesh_shapes.h"

#include <cmath>
#include <cstdint>

namespace baker {

namespace {

constexpr float kTwoPi = 6.28318530718f;

// Corner offsets of each box face: origin corner, then the directions of u and v, as unit
// fractions of the box size; the face normal is u x v.
struct BoxFace {
  Vector3 corner;
  Vector3 uAxis;
  Vector3 vAxis;
};

const BoxFace kBoxFaces[6] = {
    {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},   // +z
    {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}},  // -z
    {{1, 0, 1}, {0, 0, -1}, {0, 1, 0}},  // +x
    {{0, 0, 0}, {0, 0, 1}, {0, 1, 0}},   // -x
    {{0, 1, 1}, {1, 0, 0}, {0, 0, -1}},  // +y
    {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}},   // -y
};

Vector3 scaled(const Vector3& fraction, const Vector3& size) {
  return Vector3(fraction.x * size.x, fraction.y * size.y, fraction.z * size.z);
}

}  // namespace

Vector3 unitVector(const Vector3& v) {
  const float length = v.length();
  if (length <= 0.0f) {
    return v;
  }
  return Vector3(v.x / length, v.y / length, v.z / length);
}

Vector3 perpendicularTo(const Vector3& direction) {
  const Vector3 reference = std::fabs(direction.x) < 0.9f ? Vector3(1.0f, 0.0f, 0.0f) : Vector3(0.0f, 0.0f, 1.0f);
  return unitVector(reference - direction * reference.dot(direction));
}

void addBox(MeshBuilder& builder, const Vector3& min, const Vector3& max) {
  const Vector3 size = max - min;
  for (int face = 0; face < 6; ++face) {
    const BoxFace& f = kBoxFaces[face];
    builder.setSmoothingGroups(1u << face);
    const Vector3 corner = min + scaled(f.corner, size);
    const Vector3 uEdge = scaled(f.uAxis, size);
    const Vector3 vEdge = scaled(f.vAxis, size);
    const std::uint32_t a = builder.addVertex(corner, 0.0f, 0.0f);
    const std::uint32_t b = builder.addVertex(corner + uEdge, 1.0f, 0.0f);
    const std::uint32_t c = builder.addVertex(corner + uEdge + vEdge, 1.0f, 1.0f);
    const std::uint32_t d = builder.addVertex(corner + vEdge, 0.0f, 1.0f);
    builder.addQuad(a, b, c, d);
  }
  builder.setSmoothingGroups(1);
}

void addSweep(MeshBuilder& builder, const std::vector<SweepRing>& rings, int segments, float uRepeat, bool inward) {
  if (rings.size() < 2 || segments < 3) {
    return;
  }
  // First column index of every ring; a closed ring (radius 0) has a single vertex.
  std::vector<std::uint32_t> firstVertex(rings.size());
  std::vector<bool> isPoint(rings.size());
  Vector3 normal;
  for (size_t i = 0; i < rings.size(); ++i) {
    const size_t ahead = i + 1 < rings.size() ? i + 1 : i;
    const size_t behind = i > 0 ? i - 1 : i;
    const Vector3 tangent = unitVector(rings[ahead].centre - rings[behind].centre);
    // Parallel transport: keep the last normal, minus its part along the new tangent.
    normal = i == 0 ? perpendicularTo(tangent) : unitVector(normal - tangent * normal.dot(tangent));
    const Vector3 binormal = tangent.cross(normal);
    firstVertex[i] = builder.vertexCount();
    isPoint[i] = rings[i].radius <= 0.0f;
    if (isPoint[i]) {
      builder.addVertex(rings[i].centre, 0.5f * uRepeat, rings[i].v);
      continue;
    }
    for (int j = 0; j < segments; ++j) {
      const float angle = kTwoPi * static_cast<float>(j) / static_cast<float>(segments);
      const Vector3 offset = normal * (std::cos(angle) * rings[i].radius) + binormal * (std::sin(angle) * rings[i].radius);
      const float u = uRepeat * (1.0f - std::fabs(1.0f - 2.0f * static_cast<float>(j) / static_cast<float>(segments)));
      builder.addVertex(rings[i].centre + offset, u, rings[i].v);
    }
  }
  auto at = [&](size_t ring, int column) {
    return isPoint[ring] ? firstVertex[ring] : firstVertex[ring] + static_cast<std::uint32_t>(column % segments);
  };
  // With the binormal = tangent x normal the columns turn clockwise seen from ahead, so a, b, c,
  // d below run counter-clockwise seen from outside; inward faces swap two corners.
  auto addFace = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    if (inward) {
      builder.addTriangle(a, c, b);
    } else {
      builder.addTriangle(a, b, c);
    }
  };
  for (size_t i = 0; i + 1 < rings.size(); ++i) {
    for (int j = 0; j < segments; ++j) {
      const std::uint32_t a = at(i, j);
      const std::uint32_t b = at(i, j + 1);
      const std::uint32_t c = at(i + 1, j + 1);
      const std::uint32_t d = at(i + 1, j);
      if (!isPoint[i]) {
        addFace(a, b, c);
      }
      if (!isPoint[i + 1]) {
        addFace(a, c, d);
      }
    }
  }
}

void addCap(MeshBuilder& builder, const Vector3& centre, const Vector3& normal, float radius, int segments) {
  const Vector3 facing = unitVector(normal);
  const Vector3 side = perpendicularTo(facing);
  const Vector3 other = facing.cross(side);
  const std::uint32_t middle = builder.addVertex(centre, 0.5f, 0.5f);
  const std::uint32_t first = builder.vertexCount();
  for (int j = 0; j < segments; ++j) {
    const float angle = kTwoPi * static_cast<float>(j) / static_cast<float>(segments);
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    builder.addVertex(centre + side * (c * radius) + other * (s * radius), 0.5f + 0.5f * c, 0.5f + 0.5f * s);
  }
  // side x other = facing, so increasing angle turns counter-clockwise seen from the front.
  for (int j = 0; j < segments; ++j) {
    builder.addTriangle(middle, first + static_cast<std::uint32_t>(j), first + static_cast<std::uint32_t>((j + 1) % segments));
  }
}

void addSlab(MeshBuilder& builder, const std::vector<Vector3>& outline, float halfThickness) {
  if (outline.size() < 3) {
    return;
  }
  float minX = outline[0].x;
  float maxX = outline[0].x;
  float minY = outline[0].y;
  float maxY = outline[0].y;
  for (const Vector3& p : outline) {
    minX = std::fmin(minX, p.x);
    maxX = std::fmax(maxX, p.x);
    minY = std::fmin(minY, p.y);
    maxY = std::fmax(maxY, p.y);
  }
  const float spanX = maxX - minX > 0.0f ? maxX - minX : 1.0f;
  const float spanY = maxY - minY > 0.0f ? maxY - minY : 1.0f;
  const std::uint32_t count = static_cast<std::uint32_t>(outline.size());
  // Front (+z) and back (-z) faces as fans; the back runs the outline the other way round.
  for (int side = 0; side < 2; ++side) {
    const float z = side == 0 ? halfThickness : -halfThickness;
    builder.setSmoothingGroups(side == 0 ? 1u : 2u);
    const std::uint32_t first = builder.vertexCount();
    for (const Vector3& p : outline) {
      builder.addVertex(Vector3(p.x, p.y, z), (p.x - minX) / spanX, (p.y - minY) / spanY);
    }
    for (std::uint32_t i = 1; i + 1 < count; ++i) {
      if (side == 0) {
        builder.addTriangle(first, first + i, first + i + 1);
      } else {
        builder.addTriangle(first, first + i + 1, first + i);
      }
    }
  }
  // Rim: one quad per outline edge, each with its own vertices and smoothing group.
  for (std::uint32_t i = 0; i < count; ++i) {
    const Vector3& p = outline[i];
    const Vector3& q = outline[(i + 1) % count];
    builder.setSmoothingGroups(4u << (i % 28));
    const std::uint32_t a = builder.addVertex(Vector3(p.x, p.y, -halfThickness), 0.0f, 0.0f);
    const std::uint32_t b = builder.addVertex(Vector3(q.x, q.y, -halfThickness), 1.0f, 0.0f);
    const std::uint32_t c = builder.addVertex(Vector3(q.x, q.y, halfThickness), 1.0f, 0.1f);
    const std::uint32_t d = builder.addVertex(Vector3(p.x, p.y, halfThickness), 0.0f, 0.1f);
    builder.addQuad(a, b, c, d);
  }
  builder.setSmoothingGroups(1);
}

}  // namespace baker
