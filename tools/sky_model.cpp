// The sky: a dome of radius 800 seen from inside, reaching 25 degrees below the horizon so the
// land's far edge never shows empty space. Its picture is a view straight up: the zenith at the
// centre, the horizon on a circle, so there is no seam and no pinch at the top.
#include <cmath>

#include "tools/baked_models.h"
#include "tools/mesh_builder.h"
#include "tools/noise_field.h"
#include "tools/shaping.h"

namespace baker {

namespace {

constexpr const char* kMaterialName = "sky";
constexpr const char* kPictureName = "sky.jpg";
constexpr int kPictureSize = 1024;

constexpr float kPi = 3.14159265f;
constexpr float kLowestElevation = -25.0f * kPi / 180.0f;
constexpr int kAzimuthSegments = 48;
constexpr int kElevationRings = 23;  // rings below the pole
// The sun stands where the scene's directional light comes from.
const Vector3 kSunDirection(30.0f, 45.0f, 80.0f);
constexpr float kCloudHeight = 1.0f;

// Picture radius (0 at the centre, 0.5 at the picture's edge midpoints) for an elevation:
// equal steps of elevation take equal steps outward.
float pictureRadius(float elevation) { return 0.5f * (0.5f * kPi - elevation) / (0.5f * kPi - kLowestElevation); }

void textureCoordinates(float azimuth, float elevation, float* u, float* v) {
  const float radius = pictureRadius(elevation);
  *u = 0.5f + radius * std::cos(azimuth);
  *v = 0.5f + radius * std::sin(azimuth);
}

// The direction in the sky that a picture point shows; false outside the dome's reach.
bool directionAt(float u, float v, Vector3* direction) {
  const float du = u - 0.5f;
  const float dv = v - 0.5f;
  const float radius = std::sqrt(du * du + dv * dv);
  const float elevation = 0.5f * kPi - radius * 2.0f * (0.5f * kPi - kLowestElevation);
  const float azimuth = std::atan2(dv, du);
  const float across = std::cos(elevation);
  *direction = Vector3(across * std::cos(azimuth), std::sin(elevation), across * std::sin(azimuth));
  return elevation >= kLowestElevation - 0.2f;
}

Vector3 domePoint(float azimuth, float elevation) {
  const float across = std::cos(elevation) * kSkyRadius;
  return Vector3(across * std::cos(azimuth), std::sin(elevation) * kSkyRadius, across * std::sin(azimuth));
}

Colour skyColour(const Vector3& direction, const NoiseField& noise) {
  const float height = direction.y;
  // Deep blue overhead, pale near the horizon, a hazy sea-grey band below it.
  const Colour zenith{0.16f, 0.36f, 0.78f};
  const Colour horizon{0.72f, 0.82f, 0.92f};
  const Colour below{0.42f, 0.52f, 0.58f};
  Colour colour = height >= 0.0f ? mixColour(horizon, zenith, std::pow(height, 0.55f))
                                 : mixColour(horizon, below, smoothStep(0.0f, 0.25f, -height));
  Vector3 sun = kSunDirection;
  sun.normalize();
  const float towardSun = std::fmax(0.0f, direction.x * sun.x + direction.y * sun.y + direction.z * sun.z);
  const float glow = std::pow(towardSun, 12.0f) * 0.35f + std::pow(towardSun, 600.0f) * 1.2f;
  colour = {colour.r + glow, colour.g + glow * 0.92f, colour.b + glow * 0.7f};
  if (height <= 0.02f) {
    return colour;
  }
  // Clouds: fractal noise on a flat layer above the land, seen in perspective, so they crowd
  // together toward the horizon.
  const float distance = kCloudHeight / height;
  const float x = direction.x * distance;
  const float z = direction.z * distance;
  // Far clouds drop their finer layers, which would only shimmer as speckles near the horizon.
  const int octaves = distance < 2.0f ? 6 : (distance < 4.0f ? 5 : (distance < 8.0f ? 4 : 3));
  const float shape = noise.fractal(x * 1.3f + 40.0f, z * 1.3f + 40.0f, octaves);
  const float cover = smoothStep(0.02f, 0.35f, shape) * smoothStep(0.02f, 0.15f, height);
  const float shade = 0.82f + 0.18f * smoothStep(0.0f, 0.6f, noise.fractal(x * 2.6f + 9.0f, z * 2.6f, octaves - 2));
  const Colour cloud{0.97f * shade + glow * 0.3f, 0.96f * shade + glow * 0.25f, 0.95f * shade};
  return mixColour(colour, cloud, cover * 0.9f);
}

}  // namespace

BakedModel buildSkyModel() {
  BakedModel model;
  model.materials.push_back(texturedMaterial(kMaterialName, kPictureName));
  BakedMesh dome = namedMesh("sky", kMaterialName);
  MeshBuilder builder(&dome);
  // Rings from the lowest one up; each ring closes on itself by index, and the pole is one vertex.
  for (int ring = 0; ring < kElevationRings; ++ring) {
    const float elevation = kLowestElevation + (0.5f * kPi - kLowestElevation) * static_cast<float>(ring) / kElevationRings;
    for (int j = 0; j < kAzimuthSegments; ++j) {
      const float azimuth = 2.0f * kPi * static_cast<float>(j) / kAzimuthSegments;
      float u = 0.0f;
      float v = 0.0f;
      textureCoordinates(azimuth, elevation, &u, &v);
      builder.addVertex(domePoint(azimuth, elevation), u, v);
    }
  }
  const std::uint32_t pole = builder.addVertex(Vector3(0.0f, kSkyRadius, 0.0f), 0.5f, 0.5f);
  const std::uint32_t columns = kAzimuthSegments;
  for (std::uint32_t ring = 0; ring < static_cast<std::uint32_t>(kElevationRings); ++ring) {
    for (std::uint32_t j = 0; j < columns; ++j) {
      const std::uint32_t a = ring * columns + j;
      const std::uint32_t b = ring * columns + (j + 1) % columns;
      // Azimuth turns from +x toward +z and rings climb, so a, b, c, d turns counter-clockwise
      // seen from the centre: the faces look inward.
      if (ring + 1 == static_cast<std::uint32_t>(kElevationRings)) {
        builder.addTriangle(a, b, pole);
        continue;
      }
      const std::uint32_t c = (ring + 1) * columns + (j + 1) % columns;
      const std::uint32_t d = (ring + 1) * columns + j;
      builder.addQuad(a, b, c, d);
    }
  }
  model.meshes.push_back(dome);
  return model;
}

std::vector<ModelPicture> paintSkyPictures() {
  BakedPicture picture(kPictureSize, kPictureSize, 3);
  const NoiseField noise(0x636c6f75ull, 256);
  for (int y = 0; y < kPictureSize; ++y) {
    const float v = 1.0f - (static_cast<float>(y) + 0.5f) / kPictureSize;
    for (int x = 0; x < kPictureSize; ++x) {
      const float u = (static_cast<float>(x) + 0.5f) / kPictureSize;
      Vector3 direction;
      if (!directionAt(u, v, &direction)) {
        directionAt(0.5f + (u - 0.5f) * 0.5f, 0.5f + (v - 0.5f) * 0.5f, &direction);
        direction = Vector3(direction.x, -0.5f, direction.z);
      }
      picture.set(x, y, skyColour(direction, noise));
    }
  }
  return {{kPictureName, picture}};
}

}  // namespace baker
