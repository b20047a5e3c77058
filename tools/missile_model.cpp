// The missile: a white body with a red nose cone, four swept tail fins and four small canards,
// and a dark nozzle, nose toward +x. All parts share one picture, split into regions.
#include <cmath>

#include "tools/baked_models.h"
#include "tools/mesh_shapes.h"
#include "tools/noise_field.h"
#include "tools/texture_region.h"

namespace baker {

namespace {

constexpr const char* kMaterialName = "missile";
constexpr const char* kPictureName = "missile.jpg";
constexpr int kPictureSize = 256;

constexpr TextureRegion kBodyRegion{0.0f, 0.5f, 1.0f, 1.0f};
constexpr TextureRegion kNoseRegion{0.0f, 0.25f, 0.5f, 0.5f};
constexpr TextureRegion kFinRegion{0.0f, 0.0f, 0.5f, 0.25f};
constexpr TextureRegion kNozzleRegion{0.5f, 0.0f, 1.0f, 0.5f};

constexpr float kPi = 3.14159265f;
constexpr float kBodyRadius = 0.14f;
constexpr float kTailX = -1.0f;
constexpr float kShoulderX = 0.72f;
constexpr float kTipX = 1.25f;
constexpr int kSegments = 16;

Vector3 onAxis(float x) { return Vector3(x, 0.0f, 0.0f); }

void addBody(BakedMesh* mesh) {
  MeshBuilder builder(mesh);
  useRegion(builder, kBodyRegion);
  std::vector<SweepRing> rings;
  const int steps = 6;
  for (int i = 0; i <= steps; ++i) {
    const float t = static_cast<float>(i) / steps;
    rings.push_back({onAxis(kTailX + (kShoulderX - kTailX) * t), kBodyRadius, t});
  }
  addSweep(builder, rings, kSegments, 1.0f, false);
  addCap(builder, onAxis(kTailX), Vector3(-1.0f, 0.0f, 0.0f), kBodyRadius, kSegments);
}

void addNose(BakedMesh* mesh) {
  MeshBuilder builder(mesh);
  useRegion(builder, kNoseRegion);
  std::vector<SweepRing> rings;
  const int steps = 8;
  for (int i = 0; i <= steps; ++i) {
    const float t = static_cast<float>(i) / steps;
    // An ogive: full radius at the shoulder, closing smoothly to the tip.
    const float radius = kBodyRadius * std::pow(1.0f - t * t, 0.55f);
    rings.push_back({onAxis(kShoulderX + (kTipX - kShoulderX) * t), radius, t});
  }
  addSweep(builder, rings, kSegments, 1.0f, false);
}

void addFinSet(MeshBuilder& builder, float rootStart, float rootEnd, float tipStart, float tipEnd, float span,
               float angleOffset) {
  // The outline lies in the x-y plane, from the body's skin outward along +y.
  const float root = kBodyRadius * 0.8f;
  const std::vector<Vector3> outline = {
      {rootStart, root, 0.0f}, {rootEnd, root, 0.0f}, {tipEnd, root + span, 0.0f}, {tipStart, root + span, 0.0f}};
  for (int k = 0; k < 4; ++k) {
    builder.setPlacement(Placement::rotationX(angleOffset + static_cast<float>(k) * kPi * 0.5f));
    addSlab(builder, outline, 0.012f);
  }
  builder.setPlacement(Placement());
}

void addFins(BakedMesh* mesh) {
  MeshBuilder builder(mesh);
  useRegion(builder, kFinRegion);
  addFinSet(builder, -0.98f, -0.52f, -1.04f, -0.86f, 0.30f, kPi * 0.25f);
  addFinSet(builder, 0.28f, 0.46f, 0.30f, 0.40f, 0.09f, kPi * 0.25f);
}

void addNozzle(BakedMesh* mesh) {
  MeshBuilder builder(mesh);
  useRegion(builder, kNozzleRegion);
  // The outer bell flares from the throat; the inside is a dark cone closing deep in the bell.
  const std::vector<SweepRing> outer = {{onAxis(kTailX), 0.105f, 0.5f},
                                        {onAxis(kTailX - 0.07f), 0.085f, 0.6f},
                                        {onAxis(kTailX - 0.16f), 0.105f, 0.8f},
                                        {onAxis(kTailX - 0.24f), 0.125f, 1.0f}};
  addSweep(builder, outer, kSegments, 1.0f, false);
  const std::vector<SweepRing> inner = {{onAxis(kTailX - 0.24f), 0.125f, 0.45f},
                                        {onAxis(kTailX - 0.12f), 0.07f, 0.2f},
                                        {onAxis(kTailX - 0.05f), 0.0f, 0.0f}};
  addSweep(builder, inner, kSegments, 1.0f, true);
}

Colour paintBody(float u, float v, const NoiseField& noise) {
  // u runs half way round the body, v from tail (0) to shoulder (1).
  const float grain = noise.fractal(u * 8.0f, v * 16.0f, 3) * 0.03f;
  Colour colour{0.86f + grain, 0.87f + grain, 0.85f + grain};
  if (v > 0.80f && v < 0.86f) {
    colour = {0.75f, 0.08f, 0.06f};
  }
  if (v > 0.12f && v < 0.14f) {
    colour = {0.15f, 0.15f, 0.15f};
  }
  // A yellow band with dark lettering marks the warhead section.
  if (v > 0.62f && v < 0.68f) {
    colour = {0.9f, 0.72f, 0.1f};
    const bool letter = std::fmod(u * 24.0f, 1.0f) < 0.55f && v > 0.635f && v < 0.665f && u > 0.3f && u < 0.7f;
    if (letter) {
      colour = {0.12f, 0.1f, 0.05f};
    }
  }
  // Panel seams along and around the body.
  if (std::fabs(std::fmod(v * 5.0f, 1.0f) - 0.5f) < 0.012f || std::fabs(u - 0.5f) < 0.006f) {
    colour = scaleColour(colour, 0.7f);
  }
  return colour;
}

Colour paintNose(float, float v) {
  const Colour base{0.82f, 0.12f, 0.08f};
  return scaleColour(base, 1.0f - 0.35f * v);
}

Colour paintFin(float u, float v) {
  Colour colour{0.32f, 0.33f, 0.3f};
  if (v > 0.85f || u < 0.05f || u > 0.95f) {
    colour = {0.78f, 0.76f, 0.7f};
  }
  return colour;
}

Colour paintNozzle(float u, float v, const NoiseField& noise) {
  // Dark inside (v < 0.5), scorched metal outside with rings.
  const float soot = noise.fractal(u * 6.0f, v * 6.0f, 3) * 0.05f;
  if (v < 0.5f) {
    const float glow = v < 0.12f ? (0.12f - v) * 4.0f : 0.0f;
    return {0.06f + glow + soot, 0.05f + glow * 0.5f + soot, 0.05f + soot};
  }
  const float ring = std::fabs(std::sin(v * 40.0f)) * 0.08f;
  return {0.32f + ring + soot, 0.3f + ring + soot, 0.29f + ring + soot};
}

}  // namespace

BakedModel buildMissileModel() {
  BakedModel model;
  model.materials.push_back(texturedMaterial(kMaterialName, kPictureName));
  model.meshes.push_back(namedMesh("body", kMaterialName));
  addBody(&model.meshes.back());
  model.meshes.push_back(namedMesh("nose", kMaterialName));
  addNose(&model.meshes.back());
  model.meshes.push_back(namedMesh("fins", kMaterialName));
  addFins(&model.meshes.back());
  model.meshes.push_back(namedMesh("nozzle", kMaterialName));
  addNozzle(&model.meshes.back());
  return model;
}

std::vector<ModelPicture> paintMissilePictures() {
  BakedPicture picture(kPictureSize, kPictureSize, 3);
  const NoiseField noise(0x6d697373ull, 64);
  paintRegion(picture, kBodyRegion, [&](float u, float v) { return paintBody(u, v, noise); });
  paintRegion(picture, kNoseRegion, [](float u, float v) { return paintNose(u, v); });
  paintRegion(picture, kFinRegion, [](float u, float v) { return paintFin(u, v); });
  paintRegion(picture, kNozzleRegion, [&](float u, float v) { return paintNozzle(u, v, noise); });
  return {{kPictureName, picture}};
}

}  // namespace baker
