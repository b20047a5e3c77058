// The palm: a trunk of ringed segments leaning along a gentle curve, a crown of ten arching
// fronds made of drooping leaflets, and a cluster of coconuts under the crown.
#include <cmath>

#include "tools/bake_random.h"
#include "tools/baked_models.h"
#include "tools/mesh_shapes.h"
#include "tools/noise_field.h"
#include "tools/texture_region.h"

namespace baker {

namespace {

constexpr const char* kBarkMaterial = "palmbark";
constexpr const char* kLeafMaterial = "palmleaf";
constexpr const char* kBarkPicture = "palmbark.jpg";
constexpr const char* kLeafPicture = "palmleaf.jpg";

constexpr TextureRegion kLeafletRegion{0.0f, 0.0f, 0.84f, 1.0f};
constexpr TextureRegion kRibRegion{0.86f, 0.0f, 1.0f, 1.0f};

constexpr float kPi = 3.14159265f;
constexpr float kTrunkHeight = 8.8f;
constexpr float kTrunkLean = 1.1f;  // how far the crown stands off the base, along +x
constexpr int kTrunkNodes = 13;
constexpr int kTrunkSegments = 12;
constexpr int kFrondCount = 10;
constexpr int kLeafletsPerSide = 16;

Vector3 trunkPoint(float t) {
  return Vector3(kTrunkLean * t * t, kTrunkHeight * t, 0.15f * std::sin(t * kPi));
}

float trunkRadius(float t) { return 0.4f - 0.17f * t; }

void addTrunk(MeshBuilder& builder) {
  // Each node has a lip at its foot; the bark picture repeats once per segment (v counts nodes).
  std::vector<SweepRing> rings = {{Vector3(0.0f, -0.9f, 0.0f), trunkRadius(0.0f) * 1.1f, -0.2f}};
  for (int node = 0; node < kTrunkNodes; ++node) {
    const float t0 = static_cast<float>(node) / kTrunkNodes;
    const float t1 = static_cast<float>(node + 1) / kTrunkNodes;
    const float step = t1 - t0;
    const float base = trunkRadius(t0);
    rings.push_back({trunkPoint(t0), base * 1.12f, static_cast<float>(node)});
    rings.push_back({trunkPoint(t0 + step * 0.12f), base * 1.0f, static_cast<float>(node) + 0.12f});
    rings.push_back({trunkPoint(t0 + step * 0.6f), base * 0.93f, static_cast<float>(node) + 0.6f});
  }
  const float top = trunkRadius(1.0f);
  rings.push_back({trunkPoint(1.0f), top * 1.1f, static_cast<float>(kTrunkNodes)});
  rings.push_back({trunkPoint(1.0f) + Vector3(0.0f, 0.25f, 0.0f), top * 0.8f, kTrunkNodes + 0.3f});
  rings.push_back({trunkPoint(1.0f) + Vector3(0.0f, 0.4f, 0.0f), 0.0f, kTrunkNodes + 0.5f});
  addSweep(builder, rings, kTrunkSegments, 1.0f, false);
}

struct Frond {
  Vector3 base;
  Vector3 outward;  // horizontal unit direction of the frond
  float rise;       // initial slope: upward units per outward unit
  float length;
  float droop;      // how fast the rib bends down
};

Vector3 ribPoint(const Frond& frond, float s) {
  // A ballistic arch: out along the frond, up by the rise, pulled down by the droop.
  const float reach = s * frond.length;
  const float up = reach * frond.rise - frond.droop * reach * reach;
  return frond.base + frond.outward * (reach * 0.85f) + Vector3(0.0f, up * 0.85f, 0.0f);
}

void addDoubleSidedTriangle(MeshBuilder& builder, const Vector3& a, float ua, float va, const Vector3& b, float ub,
                            float vb, const Vector3& c, float uc, float vc) {
  // The two sides need their own vertices and smoothing groups: smoothed together they would
  // average to no normal at all.
  for (int side = 0; side < 2; ++side) {
    builder.setSmoothingGroups(side == 0 ? 1u : 2u);
    const std::uint32_t first = builder.addVertex(a, ua, va);
    builder.addVertex(b, ub, vb);
    builder.addVertex(c, uc, vc);
    // The back side runs the corners the other way round.
    builder.addTriangle(first, first + (side == 0 ? 1u : 2u), first + (side == 0 ? 2u : 1u));
  }
  builder.setSmoothingGroups(1);
}

void addLeaflet(MeshBuilder& builder, const Vector3& root, const Vector3& along, const Vector3& direction,
                float length, float width) {
  // Root edge across the rib, a bent middle, and a pointed tip hanging lower.
  const Vector3 halfWidth = along * (width * 0.5f);
  const Vector3 middle = root + direction * (length * 0.5f) + Vector3(0.0f, -0.06f * length, 0.0f);
  const Vector3 tip = root + direction * length + Vector3(0.0f, -0.25f * length, 0.0f);
  const Vector3 middleHalf = halfWidth * 0.8f;
  addDoubleSidedTriangle(builder, root - halfWidth, 0.0f, 0.0f, root + halfWidth, 1.0f, 0.0f, middle + middleHalf, 1.0f,
                         0.5f);
  addDoubleSidedTriangle(builder, root - halfWidth, 0.0f, 0.0f, middle + middleHalf, 1.0f, 0.5f, middle - middleHalf,
                         0.0f, 0.5f);
  addDoubleSidedTriangle(builder, middle - middleHalf, 0.0f, 0.5f, middle + middleHalf, 1.0f, 0.5f, tip, 0.5f, 1.0f);
}

void addFrond(MeshBuilder& builder, const Frond& frond) {
  useRegion(builder, kRibRegion);
  std::vector<SweepRing> rib;
  const int ribSteps = 10;
  for (int i = 0; i <= ribSteps; ++i) {
    const float s = static_cast<float>(i) / ribSteps;
    rib.push_back({ribPoint(frond, s), i == ribSteps ? 0.0f : 0.07f * (1.0f - 0.8f * s), s});
  }
  addSweep(builder, rib, 5, 1.0f, false);

  useRegion(builder, kLeafletRegion);
  const Vector3 side = Vector3(0.0f, 1.0f, 0.0f).cross(frond.outward);
  for (int i = 0; i < kLeafletsPerSide; ++i) {
    const float s = 0.1f + 0.86f * static_cast<float>(i) / (kLeafletsPerSide - 1);
    const Vector3 root = ribPoint(frond, s);
    const Vector3 along = unitVector(ribPoint(frond, s + 0.01f) - root);
    // Leaflets are longest a third of the way out and point forward and down.
    const float swell = std::fmax(0.0f, std::sin(kPi * std::fmin(1.0f, s * 1.1f)));
    const float length = 0.25f + 1.0f * std::pow(swell, 0.7f);
    for (float hand : {-1.0f, 1.0f}) {
      const Vector3 direction = unitVector(side * hand + along * 0.55f + Vector3(0.0f, -0.3f, 0.0f));
      addLeaflet(builder, root, along, direction, length, 0.16f);
    }
  }
}

void addCrown(MeshBuilder& builder) {
  BakeRandom random(0x70616c6dull);
  const Vector3 crown = trunkPoint(1.0f) + Vector3(0.0f, 0.3f, 0.0f);
  for (int k = 0; k < kFrondCount; ++k) {
    // Two tiers: upper fronds arch higher, lower ones droop further.
    const bool upper = k % 2 == 0;
    const float angle = (static_cast<float>(k) + random.range(-0.25f, 0.25f)) * 2.0f * kPi / kFrondCount;
    Frond frond;
    frond.base = crown + Vector3(0.0f, upper ? 0.1f : -0.1f, 0.0f);
    frond.outward = Vector3(std::cos(angle), 0.0f, std::sin(angle));
    frond.rise = upper ? random.range(0.9f, 1.3f) : random.range(0.35f, 0.6f);
    frond.length = random.range(3.7f, 4.3f);
    frond.droop = upper ? random.range(0.33f, 0.4f) : random.range(0.22f, 0.3f);
    addFrond(builder, frond);
  }
}

void addCoconuts(MeshBuilder& builder) {
  const Vector3 crown = trunkPoint(1.0f);
  for (int k = 0; k < 5; ++k) {
    const float angle = static_cast<float>(k) * 2.0f * kPi / 5.0f + 0.4f;
    const Vector3 centre = crown + Vector3(0.3f * std::cos(angle), -0.15f - 0.1f * (k % 2), 0.3f * std::sin(angle));
    std::vector<SweepRing> rings;
    const int steps = 6;
    for (int i = 0; i <= steps; ++i) {
      const float latitude = kPi * static_cast<float>(i) / steps;
      const float radius = 0.2f * std::sin(latitude);
      rings.push_back({centre + Vector3(0.0f, -0.22f * std::cos(latitude), 0.0f), i == 0 || i == steps ? 0.0f : radius,
                       static_cast<float>(i) / steps});
    }
    addSweep(builder, rings, 8, 0.5f, false);
  }
}

Colour paintBark(float u, float v, const NoiseField& noise) {
  // One trunk segment: a dark ring at the foot, then grey-brown fibres running upward.
  const float fibres = noise.fractal(u * 16.0f, v * 2.0f, 4) * 0.12f;
  const float patches = noise.fractal(u * 4.0f + 3.0f, v * 4.0f, 3) * 0.08f;
  float tone = 0.5f + fibres + patches;
  if (v < 0.12f) {
    tone *= 0.55f + 2.5f * v;
  }
  if (v > 0.9f) {
    tone *= 1.0f - (v - 0.9f) * 2.0f;
  }
  return {tone * 0.92f, tone * 0.78f, tone * 0.6f};
}

Colour paintLeaflet(float u, float v, const NoiseField& noise) {
  // Lighter midrib down the middle, darker toward the edges, yellowing at the tip.
  const float fromMiddle = std::fabs(u - 0.5f) * 2.0f;
  const float vein = fromMiddle < 0.08f ? 0.12f : 0.0f;
  const float streaks = noise.fractal(u * 12.0f, v * 3.0f, 3) * 0.06f;
  const Colour green{0.2f + vein + streaks, 0.5f + vein + streaks - 0.12f * fromMiddle, 0.12f + streaks * 0.5f};
  const Colour yellow{0.62f, 0.6f, 0.22f};
  return mixColour(green, yellow, v > 0.75f ? (v - 0.75f) * 2.4f : 0.0f);
}

Colour paintRib(float, float v) { return {0.5f - 0.15f * v, 0.48f, 0.2f}; }

}  // namespace

BakedModel buildPalmModel() {
  BakedModel model;
  model.materials = {texturedMaterial(kBarkMaterial, kBarkPicture), texturedMaterial(kLeafMaterial, kLeafPicture)};
  model.meshes = {namedMesh("trunk", kBarkMaterial), namedMesh("fronds", kLeafMaterial), namedMesh("coconuts", kBarkMaterial)};
  MeshBuilder trunk(&model.meshes[0]);
  addTrunk(trunk);
  MeshBuilder fronds(&model.meshes[1]);
  addCrown(fronds);
  MeshBuilder coconuts(&model.meshes[2]);
  addCoconuts(coconuts);
  return model;
}

std::vector<ModelPicture> paintPalmPictures() {
  const NoiseField noise(0x6261726bull, 64);
  BakedPicture bark(128, 128, 3);
  paintRegion(bark, kWholePicture, [&](float u, float v) { return paintBark(u, v, noise); });
  BakedPicture leaf(128, 256, 3);
  paintRegion(leaf, kLeafletRegion, [&](float u, float v) { return paintLeaflet(u, v, noise); });
  paintRegion(leaf, kRibRegion, [](float u, float v) { return paintRib(u, v); });
  return {{kBarkPicture, bark}, {kLeafPicture, leaf}};
}

}  // namespace baker
