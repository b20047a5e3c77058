// Volume-line pictures: each style is a function of the place inside a capsule.
#include "tools/line_textures.h"

#include <cmath>
#include <functional>

#include "tools/noise_field.h"
#include "tools/shaping.h"

namespace baker {

namespace {

constexpr int kPictureSize = 256;
constexpr int kTilesPerSide = 4;
constexpr int kTileSize = kPictureSize / kTilesPerSide;
constexpr float kPi = 3.14159265f;

// A place inside one tile's capsule.
struct LinePlace {
  float s;         // 0..1 along the segment
  float across;    // -1..1 across the tube, 0 on its axis
  float distance;  // 0 on the core segment, 1 on the capsule's rim
  float endOn;     // 0 seen from the side .. 1 seen end-on (the tile's number / 15)
};

using LineStyle = std::function<Colour(const LinePlace&)>;

Colour scaled(const Colour& c, float level) { return {clamp01(c.r * level), clamp01(c.g * level), clamp01(c.b * level)}; }

Colour contours(const LinePlace& p) {
  const float ring = std::exp(-std::pow((p.distance - 0.78f) / 0.07f, 2.0f));
  const float axis = 0.25f * std::exp(-p.distance * p.distance / 0.02f);
  const float fill = 0.08f * (1.0f - p.distance);
  return scaled({0.6f, 0.95f, 1.0f}, ring + axis + fill);
}

Colour enamels(const LinePlace& p) {
  // Concentric bands of colour, like cloisonne enamel.
  const Colour bands[] = {{1.0f, 1.0f, 0.9f}, {1.0f, 0.3f, 0.8f}, {0.3f, 0.5f, 1.0f}, {0.2f, 0.9f, 0.6f}};
  const int band = static_cast<int>(p.distance * 4.0f) % 4;
  const float edge = std::fabs(std::fmod(p.distance * 4.0f, 1.0f) - 0.5f) * 2.0f;
  return scaled(bands[band], (1.0f - 0.5f * edge * edge) * (1.0f - smoothStep(0.85f, 1.0f, p.distance)));
}

Colour redLaser(const LinePlace& p) {
  const float core = std::exp(-p.distance * p.distance / 0.012f);
  const float glow = std::exp(-p.distance * 3.2f) * (1.0f - smoothStep(0.8f, 1.0f, p.distance));
  return {clamp01(glow + core), clamp01(0.12f * glow + 0.9f * core), clamp01(0.08f * glow + 0.8f * core)};
}

Colour blueGlow(const LinePlace& p) {
  const float glow = std::exp(-p.distance * p.distance * 3.0f) * (1.0f - smoothStep(0.8f, 1.0f, p.distance));
  const float core = std::exp(-p.distance * p.distance / 0.03f);
  return {clamp01(0.15f * glow + 0.7f * core), clamp01(0.45f * glow + 0.8f * core), clamp01(glow + core)};
}

Colour blueThunder(const LinePlace& p, const NoiseField& noise) {
  // A jagged bolt wandering about the axis inside a faint blue glow; end-on, a crackling ball.
  const float wander = 0.45f * noise.fractal(p.s * 6.0f + 3.0f, p.endOn * 4.0f, 4) * (1.0f - p.endOn);
  const float offAxis = std::fabs(p.across - wander) * (1.0f - p.endOn) + p.distance * p.endOn;
  const float bolt = std::exp(-offAxis * offAxis / 0.004f);
  const float sparks = p.endOn * std::pow(clamp01(noise.ridged(p.s * 8.0f, p.across * 8.0f, 3)), 6.0f) * (1.0f - p.distance);
  const float glow = 0.3f * std::exp(-p.distance * 2.5f) * (1.0f - smoothStep(0.8f, 1.0f, p.distance));
  return {clamp01(0.6f * bolt + 0.2f * glow + sparks), clamp01(0.75f * bolt + 0.45f * glow + sparks), clamp01(bolt + glow + sparks)};
}

Colour glass(const LinePlace& p) {
  // Bright rims where the tube is seen edge-on, a thin highlight on one side, a pale tint inside.
  const float rim = std::pow(p.distance, 6.0f) * (1.0f - smoothStep(0.9f, 1.0f, p.distance)) * 2.0f;
  const float highlight = std::exp(-std::pow((p.across + 0.4f) / 0.08f, 2.0f)) * (1.0f - p.endOn) * (1.0f - smoothStep(0.8f, 1.0f, p.distance));
  const float tint = 0.12f * (1.0f - smoothStep(0.8f, 1.0f, p.distance));
  const float level = rim + tint;
  return {clamp01(0.7f * level + highlight), clamp01(0.9f * level + highlight), clamp01(level + highlight)};
}

Colour fireSpiral(const LinePlace& p) {
  // A helix of flame round the axis: bright where the winding crosses the visible side.
  const float phase = 2.0f * kPi * (p.s * 3.0f * (1.0f - p.endOn) + p.endOn * std::atan2(p.across, 0.3f)) + std::asin(clamp01(std::fabs(p.across)) ) * (p.across < 0 ? -1.0f : 1.0f);
  const float strand = std::pow(0.5f + 0.5f * std::sin(phase), 3.0f);
  const float body = (1.0f - smoothStep(0.6f, 1.0f, p.distance));
  const float heat = clamp01(strand * body * 1.3f + 0.25f * std::exp(-p.distance * p.distance / 0.05f));
  return {clamp01(heat * 1.2f), clamp01(heat * heat * 0.85f), clamp01(heat * heat * heat * 0.4f)};
}

BakedPicture paintLinePicture(const LineStyle& style) {
  BakedPicture picture(kPictureSize, kPictureSize, 3);
  for (int row = 0; row < kPictureSize; ++row) {
    const int rowFromBottom = kPictureSize - 1 - row;
    for (int column = 0; column < kPictureSize; ++column) {
      const int tile = (rowFromBottom / kTileSize) * kTilesPerSide + column / kTileSize;
      // Place inside the tile, with a two-pixel black margin all round.
      const float s = (static_cast<float>(column % kTileSize) + 0.5f) / kTileSize;
      const float t = (static_cast<float>(rowFromBottom % kTileSize) + 0.5f) / kTileSize;
      const float margin = 2.0f / kTileSize;
      const float across = (t - 0.5f) / (0.5f - margin);
      LinePlace place{s, across, 0.0f, static_cast<float>(tile) / (kTilesPerSide * kTilesPerSide - 1)};
      // The core runs between the capsule's two end centres, which close in as the line turns;
      // beyond them the glow falls off to nothing at the tile's margin.
      const float halfLength = 0.5f - margin;
      const float reach = halfLength * 0.7f * (1.0f - place.endOn);
      const float beyond = std::fmax(0.0f, std::fabs(s - 0.5f) - reach) / (halfLength - reach);
      place.distance = std::sqrt(beyond * beyond + across * across);
      picture.set(column, row, place.distance >= 1.0f ? Colour{0.0f, 0.0f, 0.0f} : style(place));
    }
  }
  return picture;
}

}  // namespace

std::vector<NamedPicture> paintLineTextures() {
  const NoiseField noise(0x6c696e65ull, 32);
  const LineStyle thunder = [&](const LinePlace& p) { return blueThunder(p, noise); };
  return {
      {"linevol_contours.jpg", paintLinePicture(&contours)},
      {"linevol_enamels.jpg", paintLinePicture(&enamels)},
      {"linevol_redlaser.jpg", paintLinePicture(&redLaser)},
      {"linevol_blueglow.jpg", paintLinePicture(&blueGlow)},
      {"linevol_bluethunder.jpg", paintLinePicture(thunder)},
      {"linevol_glass.jpg", paintLinePicture(&glass)},
      {"linevol_firespiral.jpg", paintLinePicture(&fireSpiral)},
  };
}

}  // namespace baker
