// The palm: a trunk leaning along a gentle curve with its rings painted on, a crown of ten arching
// fronds of drooping one-sided leaflets, and a cluster of coconuts under the crown. Ninety of them
// stand in the outdoor scene, so every part has as few triangles as its size on screen allows.
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
constexpr int kTrunkNodes = 13;     // bark rings painted up the trunk, one per repeat of the picture
constexpr int kTrunkBands = 6;      // straight pieces the trunk's curve is made of
constexpr int kTrunkSides = 8;
constexpr int kFrondCount = 10;
constexpr int kRibSteps = 5;
constexpr int kRibSides = 3;
constexpr int kLeafletsPerSide = 14;
constexpr float kLeafletWidth = 0.24f;  // across the leaflet at its widest
constexpr int kCoconutCount = 5;
constexpr int kCoconutSteps = 4;
constexpr int kCoconutSides = 6;

// A polygon's edges cut inside the circle through its corners; this widens the corners' circle
// so that a tube of n sides looks as thick as a round one of the same radius.
float polygonWidening(int sides) { return 2.0f / (1.0f + std::cos(kPi / static_cast<float>(sides))); }

Vector3 trunkPoint(float t) {
  return Vector3(kTrunkLean * t * t, kTrunkHeight * t, 0.15f * std::sin(t * kPi));
}

float trunkRadius(float t) { return 0.4f - 0.17f * t; }

void addTrunk(MeshBuilder& builder) {
  // v counts nodes, so the bark picture, which draws a node's ring at its foot, repeats once per
  // node; the rings need no geometry of their own, only the lean and the taper do.
  const float widening = polygonWidening(kTrunkSides);
  std::vector<SweepRing> rings = {{Vector3(0.0f, -0.9f, 0.0f), trunkRadius(0.0f) * 1.1f * widening, -0.2f}};
  for (int band = 0; band < kTrunkBands; ++band) {
    const float t = static_cast<float>(band) / kTrunkBands;
    rings.push_back({trunkPoint(t), trunkRadius(t) * widening, t * kTrunkNodes});
  }
  // A collar under the crown, then a short cone closing the top.
  const float top = trunkRadius(1.0f) * widening;
  rings.push_back({trunkPoint(1.0f), top * 1.1f, static_cast<float>(kTrunkNodes)});
  rings.push_back({trunkPoint(1.0f) + Vector3(0.0f, 0.25f, 0.0f), top * 0.8f, kTrunkNodes + 0.3f});
  rings.push_back({trunkPoint(1.0f) + Vector3(0.0f, 0.4f, 0.0f), 0.0f, kTrunkNodes + 0.5f});
  addSweep(builder, rings, kTrunkSides, 1.0f, false);
}

struct Frond {
  Vector3 base;
  Vector3 outward;  // horizontal unit direction of the frond
  float rise;       // initial slope: upward units per outward unit
  float length;
  float droop;      // how fast the rib bends down
};

Vector3 archPoint(const Frond& frond, float s) {
  // A ballistic arch: out along the frond, up by the rise, pulled down by the droop.
  const float reach = s * frond.length;
  const float up = reach * frond.rise - frond.droop * reach * reach;
  return frond.base + frond.outward * (reach * 0.85f) + Vector3(0.0f, up * 0.85f, 0.0f);
}

// The rib is a few straight pieces along the arch; leaflets take their roots from those pieces,
// not from the arch itself, so that no root hangs outside a thin rib.
Vector3 ribPoint(const Frond& frond, float s) {
  const float steps = s * kRibSteps;
  const float step = std::fmin(std::floor(steps), kRibSteps - 1.0f);
  const Vector3 from = archPoint(frond, step / kRibSteps);
  const Vector3 to = archPoint(frond, (step + 1.0f) / kRibSteps);
  return from + (to - from) * (steps - step);
}

// The corners are put in the order that makes the face point up, toward the sun: lighting is
// one-sided and faces are not culled, so the underside shows with the top's light, which for a
// thin leaf is what it would have anyway.
void addUpwardTriangle(MeshBuilder& builder, std::uint32_t a, const Vector3& pa, std::uint32_t b, const Vector3& pb,
                       std::uint32_t c, const Vector3& pc) {
  if ((pb - pa).cross(pc - pa).y >= 0.0f) {
    builder.addTriangle(a, b, c);
    return;
  }
  builder.addTriangle(a, c, b);
}

void addLeaflet(MeshBuilder& builder, const Vector3& root, const Vector3& along, const Vector3& direction,
                float length) {
  // A kite folded along its midrib, from a point on the rib to a tip hanging lower, widest near
  // the rib like a real leaflet; its sides stand a little above the midrib, in a shallow V.
  const float widestAt = 0.3f;  // of the length, and of the picture's height
  const Vector3 halfWidth = along * (kLeafletWidth * 0.5f);
  const Vector3 middle = root + direction * (length * widestAt) + Vector3(0.0f, -0.04f * length, 0.0f);
  const Vector3 tip = root + direction * length + Vector3(0.0f, -0.25f * length, 0.0f);
  const Vector3 back = middle - halfWidth;
  const Vector3 front = middle + halfWidth;
  const std::uint32_t rootIndex = builder.addVertex(root, 0.5f, 0.0f);
  const std::uint32_t backIndex = builder.addVertex(back, 0.0f, widestAt);
  const std::uint32_t frontIndex = builder.addVertex(front, 1.0f, widestAt);
  const std::uint32_t tipIndex = builder.addVertex(tip, 0.5f, 1.0f);
  addUpwardTriangle(builder, rootIndex, root, frontIndex, front, tipIndex, tip);
  addUpwardTriangle(builder, rootIndex, root, tipIndex, tip, backIndex, back);
}

void addFrond(MeshBuilder& builder, const Frond& frond) {
  useRegion(builder, kRibRegion);
  // Three sides look round enough on something this thin.
  const float widening = polygonWidening(kRibSides);
  std::vector<SweepRing> rib;
  for (int i = 0; i <= kRibSteps; ++i) {
    const float s = static_cast<float>(i) / kRibSteps;
    rib.push_back({archPoint(frond, s), i == kRibSteps ? 0.0f : 0.07f * widening * (1.0f - 0.8f * s), s});
  }
  addSweep(builder, rib, kRibSides, 1.0f, false);

  useRegion(builder, kLeafletRegion);
  const Vector3 side = Vector3(0.0f, 1.0f, 0.0f).cross(frond.outward);
  for (int i = 0; i < kLeafletsPerSide; ++i) {
    const float s = 0.1f + 0.86f * static_cast<float>(i) / (kLeafletsPerSide - 1);
    const Vector3 root = ribPoint(frond, s);
    const Vector3 along = unitVector(archPoint(frond, s + 0.01f) - archPoint(frond, s));
    // Leaflets are longest a third of the way out and point forward and down.
    const float swell = std::fmax(0.0f, std::sin(kPi * std::fmin(1.0f, s * 1.1f)));
    const float length = 0.25f + 1.0f * std::pow(swell, 0.7f);
    for (float hand : {-1.0f, 1.0f}) {
      const Vector3 direction = unitVector(side * hand + along * 0.55f + Vector3(0.0f, -0.3f, 0.0f));
      addLeaflet(builder, root, along, direction, length);
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
  const float radius = 0.2f * polygonWidening(kCoconutSides);
  for (int k = 0; k < kCoconutCount; ++k) {
    const float angle = static_cast<float>(k) * 2.0f * kPi / kCoconutCount + 0.4f;
    const Vector3 centre = crown + Vector3(0.3f * std::cos(angle), -0.15f - 0.1f * (k % 2), 0.3f * std::sin(angle));
    std::vector<SweepRing> rings;
    for (int i = 0; i <= kCoconutSteps; ++i) {
      const float latitude = kPi * static_cast<float>(i) / kCoconutSteps;
      const bool pole = i == 0 || i == kCoconutSteps;
      rings.push_back({centre + Vector3(0.0f, -0.22f * std::cos(latitude), 0.0f),
                       pole ? 0.0f : radius * std::sin(latitude), static_cast<float>(i) / kCoconutSteps});
    }
    addSweep(builder, rings, kCoconutSides, 0.5f, false);
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
