// The windmill: a whitewashed round tower tapering to a shingled cap, with a door and windows
// toward +z, and its wings: four lattice sails on stocks around a hub, turning in the x-y plane.
// Body and wings share one picture.
#include <cmath>

#include "tools/baked_models.h"
#include "tools/mesh_shapes.h"
#include "tools/noise_field.h"
#include "tools/texture_region.h"

namespace baker {

namespace {

constexpr const char* kMaterialName = "windmill";
constexpr const char* kPictureName = "windmill.jpg";
constexpr int kPictureSize = 256;

constexpr TextureRegion kWallRegion{0.0f, 0.5f, 1.0f, 1.0f};
constexpr TextureRegion kRoofRegion{0.0f, 0.25f, 0.5f, 0.5f};
constexpr TextureRegion kWoodRegion{0.5f, 0.25f, 1.0f, 0.5f};
constexpr TextureRegion kWindowRegion{0.0f, 0.0f, 0.5f, 0.25f};
constexpr TextureRegion kStoneRegion{0.5f, 0.0f, 1.0f, 0.25f};

constexpr float kPi = 3.14159265f;
constexpr float kHubY = 5.7f;
constexpr float kTowerTopY = 5.0f;
constexpr float kCapTopY = 6.5f;
constexpr int kTowerSegments = 20;

// Wings, in their own frame: the hub at the origin, sails in the plane z = kSailZ.
constexpr float kSailZ = 1.45f;
constexpr float kSailInner = 0.85f;
constexpr float kSailOuter = 4.5f;
constexpr float kSailWidth = 0.8f;
constexpr int kSailBars = 9;

float towerRadius(float y) { return 1.35f - 0.4f * (y / kTowerTopY); }

void addTower(MeshBuilder& builder) {
  useRegion(builder, kWallRegion);
  std::vector<SweepRing> rings;
  const int steps = 5;
  for (int i = 0; i <= steps; ++i) {
    const float y = -0.3f + (kTowerTopY + 0.3f) * static_cast<float>(i) / steps;
    rings.push_back({Vector3(0.0f, y, 0.0f), towerRadius(y), static_cast<float>(i) / steps});
  }
  addSweep(builder, rings, kTowerSegments, 1.0f, false);
  // A stone footing ring and a wooden gallery under the cap.
  useRegion(builder, kStoneRegion);
  addSweep(builder, {{Vector3(0.0f, -0.3f, 0.0f), 1.5f, 0.0f}, {Vector3(0.0f, 0.35f, 0.0f), 1.45f, 1.0f}},
           kTowerSegments, 1.0f, false);
  addCap(builder, Vector3(0.0f, 0.35f, 0.0f), Vector3(0.0f, 1.0f, 0.0f), 1.45f, kTowerSegments);
  useRegion(builder, kWoodRegion);
  addSweep(builder, {{Vector3(0.0f, 4.85f, 0.0f), 1.12f, 0.0f}, {Vector3(0.0f, 5.0f, 0.0f), 1.12f, 0.2f}},
           kTowerSegments, 1.0f, false);
  addCap(builder, Vector3(0.0f, 4.85f, 0.0f), Vector3(0.0f, -1.0f, 0.0f), 1.12f, kTowerSegments);
}

void addCapRoof(MeshBuilder& builder) {
  useRegion(builder, kRoofRegion);
  // A rounded cap: a short drum, then a dome closing at the top.
  std::vector<SweepRing> rings = {{Vector3(0.0f, kTowerTopY, 0.0f), 1.08f, 0.0f}};
  const int steps = 6;
  for (int i = 0; i <= steps; ++i) {
    const float angle = 0.5f * kPi * static_cast<float>(i) / steps;
    const float y = kTowerTopY + 0.25f + (kCapTopY - kTowerTopY - 0.25f) * std::sin(angle);
    const float radius = 1.1f * std::cos(angle);
    rings.push_back({Vector3(0.0f, y, 0.0f), i == steps ? 0.0f : radius, 0.15f + 0.85f * static_cast<float>(i) / steps});
  }
  addSweep(builder, rings, kTowerSegments, 1.0f, false);
  addCap(builder, Vector3(0.0f, kTowerTopY, 0.0f), Vector3(0.0f, -1.0f, 0.0f), 1.08f, kTowerSegments);
  // The wind shaft's bearing, pointing toward the wings.
  useRegion(builder, kWoodRegion);
  addSweep(builder, {{Vector3(0.0f, kHubY, 0.3f), 0.26f, 0.0f}, {Vector3(0.0f, kHubY, 1.2f), 0.22f, 1.0f}}, 12, 1.0f,
           false);
  addCap(builder, Vector3(0.0f, kHubY, 1.2f), Vector3(0.0f, 0.0f, 1.0f), 0.22f, 12);
}

void addDoorAndWindows(MeshBuilder& builder) {
  useRegion(builder, kWoodRegion);
  const float doorZ = towerRadius(0.0f) - 0.06f;
  addBox(builder, Vector3(-0.38f, 0.2f, doorZ), Vector3(0.38f, 1.55f, doorZ + 0.16f));
  useRegion(builder, kWindowRegion);
  const float windowHeights[] = {2.4f, 3.8f};
  for (float y : windowHeights) {
    const float z = towerRadius(y) - 0.05f;
    addBox(builder, Vector3(-0.24f, y, z), Vector3(0.24f, y + 0.62f, z + 0.1f));
  }
  // One more window on each flank.
  for (float side : {-1.0f, 1.0f}) {
    const float y = 3.1f;
    const float x = (towerRadius(y) - 0.05f) * side;
    addBox(builder, Vector3(std::fmin(x, x + 0.1f * side), y, -0.24f), Vector3(std::fmax(x, x + 0.1f * side), y + 0.62f, 0.24f));
  }
}

void addSail(MeshBuilder& builder) {
  // One sail laid out along +y from the hub: the stock, then a lattice frame on its +x side.
  useRegion(builder, kWoodRegion);
  addBox(builder, Vector3(-0.08f, 0.1f, kSailZ - 0.08f), Vector3(0.08f, kSailOuter + 0.15f, kSailZ + 0.08f));
  const float railXs[] = {kSailWidth * 0.45f, kSailWidth};
  for (float x : railXs) {
    addBox(builder, Vector3(x - 0.035f, kSailInner, kSailZ - 0.03f), Vector3(x + 0.035f, kSailOuter, kSailZ + 0.03f));
  }
  for (int i = 0; i < kSailBars; ++i) {
    const float y = kSailInner + (kSailOuter - kSailInner) * static_cast<float>(i) / (kSailBars - 1);
    addBox(builder, Vector3(0.0f, y - 0.03f, kSailZ - 0.025f), Vector3(kSailWidth, y + 0.03f, kSailZ + 0.025f));
  }
  // A narrow leading board on the other side of the stock.
  addBox(builder, Vector3(-0.28f, kSailInner, kSailZ - 0.015f), Vector3(-0.08f, kSailOuter, kSailZ + 0.015f));
}

void addHub(MeshBuilder& builder) {
  useRegion(builder, kWoodRegion);
  addSweep(builder,
           {{Vector3(0.0f, 0.0f, 0.9f), 0.16f, 0.0f},
            {Vector3(0.0f, 0.0f, kSailZ - 0.15f), 0.16f, 0.3f},
            {Vector3(0.0f, 0.0f, kSailZ - 0.1f), 0.3f, 0.4f},
            {Vector3(0.0f, 0.0f, kSailZ + 0.2f), 0.3f, 0.7f},
            {Vector3(0.0f, 0.0f, kSailZ + 0.28f), 0.18f, 0.85f},
            {Vector3(0.0f, 0.0f, kSailZ + 0.3f), 0.0f, 1.0f}},
           12, 1.0f, false);
}

Colour paintWall(float u, float v, const NoiseField& noise) {
  // Whitewash over rough stone courses, weathered darker toward the ground.
  const float course = std::fabs(std::sin(v * 18.0f * kPi)) < 0.08f ? -0.06f : 0.0f;
  const float blocks = noise.fractal(u * 10.0f, v * 20.0f, 4) * 0.05f;
  const float grime = (1.0f - v) * 0.12f * (0.6f + 0.4f * noise.fractal(u * 3.0f, v * 2.0f, 3));
  const float base = 0.88f + course + blocks - grime;
  return {base, base * 0.97f, base * 0.9f};
}

Colour paintRoof(float u, float v, const NoiseField& noise) {
  // Rows of dark red shingles, each row offset by half a shingle.
  const float rows = v * 12.0f;
  const float row = std::floor(rows);
  const float inRow = rows - row;
  const float across = u * 16.0f + (static_cast<int>(row) % 2 == 0 ? 0.0f : 0.5f);
  const bool gap = std::fabs(std::fmod(across, 1.0f) - 0.5f) > 0.46f || inRow < 0.08f;
  const float shade = 0.75f + 0.25f * inRow + noise.at(std::floor(across) * 0.7f, row * 0.9f) * 0.12f;
  if (gap) {
    return {0.12f, 0.06f, 0.05f};
  }
  return {0.55f * shade, 0.2f * shade, 0.14f * shade};
}

Colour paintWood(float u, float v, const NoiseField& noise) {
  const float grain = noise.fractal(u * 3.0f, v * 40.0f, 3);
  const float plank = std::fabs(std::fmod(u * 5.0f, 1.0f) - 0.5f) > 0.47f ? 0.6f : 1.0f;
  const float tone = (0.72f + grain * 0.18f) * plank;
  return {0.5f * tone, 0.34f * tone, 0.2f * tone};
}

Colour paintWindow(float u, float v) {
  // Dark panes behind a white cross frame.
  const bool frame = u < 0.1f || u > 0.9f || v < 0.08f || v > 0.92f || std::fabs(u - 0.5f) < 0.04f ||
                     std::fabs(v - 0.5f) < 0.04f;
  if (frame) {
    return {0.85f, 0.84f, 0.8f};
  }
  return {0.08f + 0.1f * v, 0.1f + 0.12f * v, 0.16f + 0.15f * v};
}

Colour paintStone(float u, float v, const NoiseField& noise) {
  const float rows = v * 3.0f;
  const float row = std::floor(rows);
  const float across = u * 6.0f + (static_cast<int>(row) % 2 == 0 ? 0.0f : 0.5f);
  const bool joint = std::fabs(std::fmod(across, 1.0f) - 0.5f) > 0.45f || rows - row < 0.06f;
  const float tone = 0.5f + noise.fractal(u * 12.0f, v * 12.0f, 3) * 0.1f + noise.at(std::floor(across), row) * 0.08f;
  if (joint) {
    return {0.3f, 0.29f, 0.27f};
  }
  return {tone, tone * 0.96f, tone * 0.9f};
}

}  // namespace

BakedModel buildWindmillBodyModel() {
  BakedModel model;
  model.materials.push_back(texturedMaterial(kMaterialName, kPictureName));
  model.meshes.push_back(namedMesh("tower", kMaterialName));
  MeshBuilder tower(&model.meshes.back());
  addTower(tower);
  addDoorAndWindows(tower);
  model.meshes.push_back(namedMesh("cap", kMaterialName));
  MeshBuilder cap(&model.meshes.back());
  addCapRoof(cap);
  return model;
}

BakedModel buildWindmillWingsModel() {
  BakedModel model;
  model.materials.push_back(texturedMaterial(kMaterialName, kPictureName));
  model.meshes.push_back(namedMesh("sails", kMaterialName));
  MeshBuilder sails(&model.meshes.back());
  for (int k = 0; k < 4; ++k) {
    sails.setPlacement(Placement::rotationZ(static_cast<float>(k) * kPi * 0.5f));
    addSail(sails);
  }
  sails.setPlacement(Placement());
  addHub(sails);
  return model;
}

std::vector<ModelPicture> paintWindmillPictures() {
  BakedPicture picture(kPictureSize, kPictureSize, 3);
  const NoiseField noise(0x77696e64ull, 64);
  paintRegion(picture, kWallRegion, [&](float u, float v) { return paintWall(u, v, noise); });
  paintRegion(picture, kRoofRegion, [&](float u, float v) { return paintRoof(u, v, noise); });
  paintRegion(picture, kWoodRegion, [&](float u, float v) { return paintWood(u, v, noise); });
  paintRegion(picture, kWindowRegion, [](float u, float v) { return paintWindow(u, v); });
  paintRegion(picture, kStoneRegion, [&](float u, float v) { return paintStone(u, v, noise); });
  return {{kPictureName, picture}};
}

}  // namespace baker
