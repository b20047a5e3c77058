// The rocket launcher: a stepped concrete plinth ("launcherb"), a turret that turns about the
// vertical axis ("turret") with two uprights carrying an axle at the pod's pivot, and a pod of
// six rocket tubes ("launcherbp") pointing along +x with warheads peeking out.
#include <cmath>

#include "tools/baked_models.h"
#include "tools/mesh_shapes.h"
#include "tools/noise_field.h"
#include "tools/texture_region.h"

namespace baker {

namespace {

constexpr const char* kMaterialName = "launcher";
constexpr const char* kPictureName = "launcher.jpg";
constexpr int kPictureSize = 256;

constexpr TextureRegion kPaintRegion{0.0f, 0.0f, 0.75f, 1.0f};
constexpr TextureRegion kConcreteRegion{0.75f, 0.5f, 1.0f, 1.0f};
constexpr TextureRegion kMouthRegion{0.75f, 0.25f, 1.0f, 0.5f};
constexpr TextureRegion kWarheadRegion{0.75f, 0.0f, 1.0f, 0.25f};

constexpr int kSegments = 14;
constexpr float kTubeRadius = 0.17f;

void addPlinth(BakedMesh* mesh) {
  MeshBuilder builder(mesh);
  useRegion(builder, kConcreteRegion);
  // The plinth reaches below the ground so that it stands on uneven terrain without a gap.
  addBox(builder, Vector3(-1.7f, -0.8f, -1.7f), Vector3(1.7f, 0.45f, 1.7f));
  addBox(builder, Vector3(-1.25f, 0.45f, -1.25f), Vector3(1.25f, 0.85f, 1.25f));
}

void addTurret(BakedMesh* mesh) {
  MeshBuilder builder(mesh);
  useRegion(builder, kPaintRegion);
  const std::vector<SweepRing> ring = {{Vector3(0.0f, 0.85f, 0.0f), 1.05f, 0.0f},
                                       {Vector3(0.0f, 1.3f, 0.0f), 1.0f, 0.15f}};
  addSweep(builder, ring, 24, 1.0f, false);
  addCap(builder, Vector3(0.0f, 1.3f, 0.0f), Vector3(0.0f, 1.0f, 0.0f), 1.0f, 24);
  addBox(builder, Vector3(-0.95f, 1.3f, -0.9f), Vector3(0.95f, 1.8f, 0.9f));
  // Operator cabin at the back, away from the tubes' blast.
  addBox(builder, Vector3(-0.95f, 1.8f, -0.55f), Vector3(-0.35f, 2.55f, 0.55f));
  // Two uprights either side of the pod, carrying the axle through the pivot.
  for (float side : {-1.0f, 1.0f}) {
    const float inner = 0.7f * side;
    const float outer = 0.86f * side;
    addBox(builder, Vector3(kLauncherPivotX - 0.38f, 1.8f, std::fmin(inner, outer)),
           Vector3(kLauncherPivotX + 0.38f, kLauncherPivotY + 0.3f, std::fmax(inner, outer)));
  }
  const std::vector<SweepRing> axle = {{Vector3(kLauncherPivotX, kLauncherPivotY, -0.95f), 0.13f, 0.0f},
                                       {Vector3(kLauncherPivotX, kLauncherPivotY, 0.95f), 0.13f, 0.3f}};
  addSweep(builder, axle, 10, 1.0f, false);
  addCap(builder, Vector3(kLauncherPivotX, kLauncherPivotY, 0.95f), Vector3(0.0f, 0.0f, 1.0f), 0.13f, 10);
  addCap(builder, Vector3(kLauncherPivotX, kLauncherPivotY, -0.95f), Vector3(0.0f, 0.0f, -1.0f), 0.13f, 10);
}

void addPod(BakedMesh* mesh) {
  MeshBuilder builder(mesh);
  // Everything is laid out around the pivot, then moved there.
  builder.setPlacement(Placement::translation(Vector3(kLauncherPivotX, kLauncherPivotY, 0.0f)));
  useRegion(builder, kPaintRegion);
  addBox(builder, Vector3(-0.9f, -0.44f, -0.6f), Vector3(1.45f, 0.44f, 0.6f));
  const float rows[] = {-0.21f, 0.21f};
  const float columns[] = {-0.38f, 0.0f, 0.38f};
  for (float y : rows) {
    for (float z : columns) {
      useRegion(builder, kPaintRegion);
      const std::vector<SweepRing> tube = {{Vector3(1.45f, y, z), kTubeRadius, 0.0f},
                                           {Vector3(1.72f, y, z), kTubeRadius, 0.1f},
                                           {Vector3(1.76f, y, z), kTubeRadius * 1.1f, 0.12f}};
      addSweep(builder, tube, kSegments, 1.0f, false);
      useRegion(builder, kMouthRegion);
      addCap(builder, Vector3(1.76f, y, z), Vector3(1.0f, 0.0f, 0.0f), kTubeRadius * 1.1f, kSegments);
      useRegion(builder, kWarheadRegion);
      const std::vector<SweepRing> warhead = {{Vector3(1.70f, y, z), 0.1f, 0.0f},
                                              {Vector3(1.80f, y, z), 0.085f, 0.5f},
                                              {Vector3(1.86f, y, z), 0.045f, 0.8f},
                                              {Vector3(1.89f, y, z), 0.0f, 1.0f}};
      addSweep(builder, warhead, 10, 1.0f, false);
    }
  }
  // Rear plate with the cable boxes.
  useRegion(builder, kPaintRegion);
  addBox(builder, Vector3(-1.0f, -0.3f, -0.45f), Vector3(-0.9f, 0.3f, 0.45f));
}

Colour paintCamouflage(float u, float v, const NoiseField& noise) {
  // Three-tone camouflage from thresholded noise, with scuffs and panel seams.
  const Colour olive{0.33f, 0.36f, 0.2f};
  const Colour brown{0.36f, 0.29f, 0.18f};
  const Colour dark{0.16f, 0.18f, 0.12f};
  const float blotch = noise.fractal(u * 4.0f, v * 4.0f, 4);
  const float second = noise.fractal(u * 4.0f + 17.0f, v * 4.0f + 9.0f, 4);
  Colour colour = blotch > 0.12f ? brown : olive;
  if (second > 0.22f) {
    colour = dark;
  }
  const float grain = noise.fractal(u * 48.0f, v * 48.0f, 2) * 0.04f;
  colour = {colour.r + grain, colour.g + grain, colour.b + grain};
  if (std::fabs(std::fmod(u * 4.0f, 1.0f) - 0.5f) < 0.012f || std::fabs(std::fmod(v * 3.0f, 1.0f) - 0.5f) < 0.01f) {
    colour = scaleColour(colour, 0.6f);
  }
  return colour;
}

Colour paintConcrete(float u, float v, const NoiseField& noise) {
  const float spots = noise.fractal(u * 12.0f, v * 12.0f, 5) * 0.08f;
  const float stain = noise.fractal(u * 2.0f + 5.0f, v * 2.0f, 3) * 0.06f;
  const float grey = 0.58f + spots + stain;
  return {grey, grey * 0.98f, grey * 0.94f};
}

Colour paintMouth(float u, float v) {
  // A dark bore with a bright rim, seen end-on.
  const float dx = u - 0.5f;
  const float dy = v - 0.5f;
  const float radius = std::sqrt(dx * dx + dy * dy) * 2.0f;
  if (radius > 0.82f) {
    return {0.42f, 0.42f, 0.38f};
  }
  const float depth = 0.04f + 0.08f * radius;
  return {depth, depth, depth};
}

Colour paintWarhead(float, float v) {
  if (v < 0.35f) {
    return {0.85f, 0.85f, 0.8f};
  }
  return {0.78f - 0.2f * v, 0.1f, 0.07f};
}

}  // namespace

BakedModel buildLauncherModel() {
  BakedModel model;
  model.materials.push_back(texturedMaterial(kMaterialName, kPictureName));
  model.meshes.push_back(namedMesh("launcherb", kMaterialName));
  addPlinth(&model.meshes.back());
  model.meshes.push_back(namedMesh("turret", kMaterialName));
  addTurret(&model.meshes.back());
  model.meshes.push_back(namedMesh("launcherbp", kMaterialName));
  addPod(&model.meshes.back());
  return model;
}

std::vector<ModelPicture> paintLauncherPictures() {
  BakedPicture picture(kPictureSize, kPictureSize, 3);
  const NoiseField noise(0x6c61756eull, 64);
  paintRegion(picture, kPaintRegion, [&](float u, float v) { return paintCamouflage(u, v, noise); });
  paintRegion(picture, kConcreteRegion, [&](float u, float v) { return paintConcrete(u, v, noise); });
  paintRegion(picture, kMouthRegion, [](float u, float v) { return paintMouth(u, v); });
  paintRegion(picture, kWarheadRegion, [](float u, float v) { return paintWarhead(u, v); });
  return {{kPictureName, picture}};
}

}  // namespace baker
