// Height map and terrain texture from one landscape, so that colours sit on the shapes they
// describe.
#include "tools/terrain_pictures.h"

#include <cmath>
#include <vector>

#include "tools/landscape.h"
#include "tools/shaping.h"

namespace baker {

namespace {

constexpr int kHeightMapSize = 256;
constexpr int kTextureSize = 1024;
constexpr int kWaveFieldSize = 128;
constexpr float kPi = 3.14159265f;

// The terrain places height-map pixel p at x = kGroundMin + p * size / (W - 1), and its texture
// coordinate u runs to (W - 1) / W across the ground, so texture pixel c stands at this x.
float groundAtTexturePixel(int pixel) {
  const float u = (static_cast<float>(pixel) + 0.5f) / kTextureSize;
  const float scale = static_cast<float>(kHeightMapSize) / static_cast<float>(kHeightMapSize - 1);
  return kGroundMin + (kGroundMax - kGroundMin) * u * scale;
}

float groundAtHeightPixel(int pixel) {
  return kGroundMin + (kGroundMax - kGroundMin) * static_cast<float>(pixel) / (kHeightMapSize - 1);
}

struct GroundColours {
  Colour water{0.08f, 0.26f, 0.34f};
  Colour wetSand{0.5f, 0.45f, 0.34f};
  Colour sand{0.84f, 0.76f, 0.56f};
  Colour grass{0.33f, 0.52f, 0.2f};
  Colour lushGrass{0.2f, 0.42f, 0.14f};
  Colour dryGrass{0.6f, 0.58f, 0.32f};
  Colour forest{0.13f, 0.3f, 0.1f};
  Colour rock{0.5f, 0.46f, 0.41f};
  Colour paleRock{0.7f, 0.67f, 0.62f};
};

// Heights at every texture pixel's ground point, with a one-pixel border for the slopes.
class HeightGrid {
 public:
  explicit HeightGrid(const Landscape& land) : heights_((kTextureSize + 2) * (kTextureSize + 2)) {
    for (int row = -1; row <= kTextureSize; ++row) {
      for (int column = -1; column <= kTextureSize; ++column) {
        heights_[index(column, row)] = land.heightAt(groundAtTexturePixel(column), groundAtTexturePixel(row));
      }
    }
  }
  // Pixel counted from the bottom row.
  float at(int column, int row) const { return heights_[index(column, row)]; }

 private:
  static size_t index(int column, int row) {
    return static_cast<size_t>(row + 1) * (kTextureSize + 2) + static_cast<size_t>(column + 1);
  }
  std::vector<float> heights_;
};

Colour groundColour(const HeightGrid& grid, const NoiseField& noise, int column, int row) {
  const GroundColours c;
  const float x = groundAtTexturePixel(column);
  const float z = groundAtTexturePixel(row);
  const float spacing = groundAtTexturePixel(1) - groundAtTexturePixel(0);
  const float height = grid.at(column, row);
  const float dx = (grid.at(column + 1, row) - grid.at(column - 1, row)) / (2.0f * spacing);
  const float dz = (grid.at(column, row + 1) - grid.at(column, row - 1)) / (2.0f * spacing);
  const float slope = std::sqrt(dx * dx + dz * dz);
  const float patches = noise.fractal(x / 25.0f, z / 25.0f, 4);
  const float fine = noise.fractal(x * 0.9f, z * 0.9f, 3);

  // Grass in lush and dry patches on the plain, forest on the gentler hill sides.
  const float lush = noise.fractal(x / 11.0f + 50.0f, z / 11.0f, 3);
  Colour colour = mixColour(c.grass, c.lushGrass, smoothStep(-0.1f, 0.4f, lush));
  colour = mixColour(colour, c.dryGrass, smoothStep(0.05f, 0.45f, patches));
  colour = mixColour(colour, c.forest, smoothStep(9.0f, 16.0f, height) * (0.6f + 0.4f * smoothStep(-0.2f, 0.3f, fine)));
  // Sand where the ground falls toward the water, rock on steep and high ground.
  colour = mixColour(colour, c.sand, smoothStep(-2.5f, -5.0f, height));
  colour = mixColour(colour, c.rock, smoothStep(0.7f, 1.2f, slope + 0.2f * fine));
  colour = mixColour(colour, c.paleRock, smoothStep(33.0f, 40.0f, height + 3.0f * fine));
  colour = mixColour(colour, c.wetSand, smoothStep(kWaterLevel + 1.4f, kWaterLevel + 0.3f, height));
  if (height < kWaterLevel) {
    const float depth = clamp01((kWaterLevel - height) / 1.5f);
    const float ripple = 0.04f * std::sin(x * 1.7f + 3.0f * noise.at(x / 6.0f, z / 6.0f));
    colour = mixColour(colour, c.water, smoothStep(0.0f, 0.35f, depth));
    colour = {colour.r + ripple, colour.g + ripple, colour.b + ripple};
  }
  // Relief shading toward the sun (30, 45, 80) and fine grain, so the ground reads at any distance.
  const float light = clamp01(0.75f + 0.35f * (-dx * 0.31f + 0.46f - dz * 0.83f) / std::sqrt(1.0f + dx * dx + dz * dz));
  const float grain = 1.0f + 0.14f * fine + 0.1f * noise.at(x * 3.1f, z * 3.1f);
  return scaleColour(colour, light * grain);
}

}  // namespace

BakedPicture paintHeightMap() {
  const Landscape land;
  BakedPicture picture(kHeightMapSize, kHeightMapSize, 1);
  for (int row = 0; row < kHeightMapSize; ++row) {
    // Rows are written top first; the terrain counts them from the bottom.
    const float z = groundAtHeightPixel(kHeightMapSize - 1 - row);
    for (int column = 0; column < kHeightMapSize; ++column) {
      const float height = land.heightAt(groundAtHeightPixel(column), z);
      picture.setGrey(column, row, (height - kGroundLow) / (kGroundHigh - kGroundLow));
    }
  }
  return picture;
}

BakedPicture paintTerrainTexture() {
  const Landscape land;
  const HeightGrid grid(land);
  const NoiseField noise(0x67726f75ull, 256);
  BakedPicture picture(kTextureSize, kTextureSize, 3);
  for (int row = 0; row < kTextureSize; ++row) {
    // Rows are written top first; the texture coordinates count them from the bottom.
    for (int column = 0; column < kTextureSize; ++column) {
      picture.set(column, row, groundColour(grid, noise, column, kTextureSize - 1 - row));
    }
  }
  return picture;
}

BakedPicture paintWaveHeightField() {
  const NoiseField noise(0x77617665ull, 16);
  BakedPicture picture(kWaveFieldSize, kWaveFieldSize, 1);
  for (int row = 0; row < kWaveFieldSize; ++row) {
    const float v = static_cast<float>(row) / kWaveFieldSize;
    for (int column = 0; column < kWaveFieldSize; ++column) {
      const float u = static_cast<float>(column) / kWaveFieldSize;
      // Two long swells crossing at an angle, and a little noise on top.
      const float swell = 0.2f * std::sin(2.0f * kPi * (u * 1.5f + v * 0.5f)) + 0.14f * std::sin(2.0f * kPi * (v * 2.0f - u * 0.7f) + 1.3f);
      const float ripple = 0.08f * noise.fractal(u * 4.0f, v * 4.0f, 3);
      picture.setGrey(column, row, 0.5f + swell + ripple);
    }
  }
  return picture;
}

}  // namespace baker
