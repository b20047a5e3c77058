// Sprite pictures. Each is painted as a function of the place in its quad, in units of the
// particle size: x from -1 to 1 across, y from 0 (the particle) to 1 (the top edge).
#include "tools/sprite_pictures.h"

#include <cmath>
#include <functional>

#include "tools/noise_field.h"
#include "tools/shaping.h"

namespace baker {

namespace {

constexpr int kSpriteWidth = 128;
constexpr int kSpriteHeight = 64;
constexpr int kFragmentSize = 128;

// Polar place around the shape's centre: radius 1 at the shape's rim.
struct Place {
  float dx;
  float dy;
  float radius;
};

using Painter = std::function<Colour(const Place&)>;

BakedPicture paintSprite(int width, int height, float halfHeight, int channels, const Painter& paint) {
  BakedPicture picture(width, height, channels);
  for (int row = 0; row < height; ++row) {
    // Quad units: x from -w/h to w/h, y from 0 at the bottom row to 2 * halfHeight at the top.
    const float y = (1.0f - (static_cast<float>(row) + 0.5f) / height) * 2.0f * halfHeight;
    for (int column = 0; column < width; ++column) {
      const float x = ((static_cast<float>(column) + 0.5f) / width * 2.0f - 1.0f) * (static_cast<float>(width) / height) * halfHeight;
      Place place{x / halfHeight, (y - halfHeight) / halfHeight, 0.0f};
      place.radius = std::sqrt(place.dx * place.dx + place.dy * place.dy);
      picture.set(column, row, paint(place));
    }
  }
  return picture;
}

BakedPicture paintQuadSprite(const Painter& paint, int channels = 3) {
  return paintSprite(kSpriteWidth, kSpriteHeight, 0.5f, channels, paint);
}

float puffDensity(const Place& p, const NoiseField& noise) {
  const float billow = noise.fractal(p.dx * 1.6f + 8.0f, p.dy * 1.6f + 8.0f, 4);
  const float edge = 1.0f - smoothStep(0.35f, 0.98f, p.radius + 0.25f * billow);
  return clamp01(edge * (0.8f + 0.35f * billow));
}

Colour bubble(const Place& p, const Colour& tint, float rimWidth, float inside) {
  if (p.radius > 1.0f) {
    return {0.0f, 0.0f, 0.0f};
  }
  const float rim = std::exp(-std::pow((p.radius - 0.86f) / rimWidth, 2.0f));
  const float body = inside * (0.3f + 0.7f * p.radius * p.radius);
  // A soft highlight up and to the left, like a window reflected in the bubble.
  const float hx = p.dx + 0.38f;
  const float hy = p.dy - 0.38f;
  const float highlight = std::exp(-(hx * hx + hy * hy) / 0.02f);
  const float fade = 1.0f - smoothStep(0.93f, 1.0f, p.radius);
  const float level = (rim + body) * fade;
  return {clamp01(tint.r * level + highlight), clamp01(tint.g * level + highlight), clamp01(tint.b * level + highlight)};
}

Colour star(const Place& p) {
  // A bright core with four thin rays and a faint halo.
  const float core = std::exp(-p.radius * p.radius / 0.01f);
  const float halo = 0.35f * std::exp(-p.radius * p.radius / 0.12f);
  const float rayX = std::exp(-std::fabs(p.dy) / 0.025f) * std::pow(clamp01(1.0f - std::fabs(p.dx)), 2.0f);
  const float rayY = std::exp(-std::fabs(p.dx) / 0.025f) * std::pow(clamp01(1.0f - std::fabs(p.dy)), 2.0f);
  const float level = clamp01(core + halo + 0.8f * (rayX + rayY));
  return {level * 0.92f, level * 0.95f, level};
}

Colour flare(const Place& p) {
  const float glow = std::exp(-p.radius * p.radius * 5.0f) * (1.0f - smoothStep(0.85f, 1.0f, p.radius));
  const float core = std::exp(-p.radius * p.radius * 40.0f);
  return {clamp01(glow + core), clamp01(glow * 0.55f + core), clamp01(glow * 0.15f + core * 0.8f)};
}

Colour fireball(const Place& p, const NoiseField& noise) {
  const float turbulence = noise.ridged(p.dx * 1.8f + 20.0f, p.dy * 1.8f + 20.0f, 4);
  const float body = std::pow(clamp01(1.0f - p.radius), 1.3f);
  const float level = clamp01(body * (0.55f + 0.75f * turbulence) * (1.0f - smoothStep(0.85f, 1.0f, p.radius)));
  return {level, level * 0.88f, level * 0.72f};
}

}  // namespace

std::vector<NamedPicture> paintSpritePictures() {
  const NoiseField noise(0x73707269ull, 16);
  const Painter smoke = [&](const Place& p) {
    const float density = puffDensity(p, noise);
    const float shade = 0.45f + 0.15f * noise.fractal(p.dx * 3.0f, p.dy * 3.0f + 30.0f, 3);
    return Colour{density * shade, density * shade * 0.97f, density * shade * 0.93f};
  };
  const Painter smokeMask = [&](const Place& p) {
    const float density = puffDensity(p, noise) * 0.9f;
    return Colour{density, density, density};
  };
  const Painter blue = [](const Place& p) { return bubble(p, {0.25f, 0.55f, 1.0f}, 0.16f, 0.45f); };
  const Painter yellow = [](const Place& p) { return bubble(p, {1.0f, 0.85f, 0.25f}, 0.1f, 0.22f); };
  const Painter red = [](const Place& p) { return bubble(p, {1.0f, 0.18f, 0.12f}, 0.09f, 0.18f); };
  const Painter fragment = [&](const Place& p) { return fireball(p, noise); };

  return {
      {"smoke.jpg", paintQuadSprite(smoke)},
      {"smokealpha.jpg", paintQuadSprite(smokeMask, 1)},
      {"BlueBubble.jpg", paintQuadSprite(blue)},
      {"YellowBubble.jpg", paintQuadSprite(yellow)},
      {"redBubble.jpg", paintQuadSprite(red)},
      {"star.jpg", paintQuadSprite(&star)},
      {"flare.jpg", paintQuadSprite(&flare)},
      {"explodeparticle.jpg", paintSprite(kFragmentSize, kFragmentSize, 1.0f, 3, fragment)},
  };
}

}  // namespace baker
