#include "tools/icon_picture.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <string>
#include <vector>

#include "tools/sprite_pictures.h"
#include "tools/terrain_pictures.h"

namespace baker {

namespace {

constexpr const char* kFireballPicture = "explodeparticle.jpg";

// The flat icon's scene, in fractions of the side: the fireball up and left of the middle, the lake
// down and right, clear of each other and of the frame.
constexpr float kFireballCentreX = 0.42f;
constexpr float kFireballCentreY = 0.42f;
constexpr float kFireballCoreRadius = 0.12f;
constexpr float kFireballRadius = 0.27f;
constexpr float kLakeCentreX = 0.74f;
constexpr float kLakeCentreY = 0.76f;
constexpr float kLakeRadiusX = 0.18f;
constexpr float kLakeRadiusY = 0.13f;
// Each pixel of the flat icon is the mean of this many samples across and down.
constexpr int kSamplesPerSide = 4;

constexpr Colour kGroundLight{0.42f, 0.66f, 0.22f};
constexpr Colour kGroundDark{0.22f, 0.45f, 0.13f};
constexpr Colour kFrame{0.07f, 0.20f, 0.05f};
constexpr Colour kWater{0.16f, 0.36f, 0.72f};
constexpr Colour kShore{0.86f, 0.76f, 0.52f};
constexpr Colour kFireCore{1.0f, 0.98f, 0.78f};
constexpr Colour kFireEdge{1.0f, 0.55f, 0.10f};
constexpr Colour kFireRim{0.55f, 0.12f, 0.04f};

// The mean of each square of source pixels that lands on one icon pixel.
BakedPicture shrinkToIcon(const BakedPicture& source, int size) {
  const int factor = source.width() / size;
  assert(factor * size == source.width() && "the texture must shrink to the icon by a whole factor");
  BakedPicture icon(size, size, 3);
  const float weight = 1.0f / static_cast<float>(factor * factor);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      for (int sy = 0; sy < factor; ++sy) {
        for (int sx = 0; sx < factor; ++sx) {
          icon.add(x, y, scaleColour(source.get(x * factor + sx, y * factor + sy), weight));
        }
      }
    }
  }
  return icon;
}

// The picture read between its pixel centres, at a point in pixels; edges repeat the last pixel.
Colour sampleBetweenPixels(const BakedPicture& picture, float x, float y) {
  const float cx = std::clamp(x, 0.0f, static_cast<float>(picture.width() - 1));
  const float cy = std::clamp(y, 0.0f, static_cast<float>(picture.height() - 1));
  const int x0 = static_cast<int>(cx);
  const int y0 = static_cast<int>(cy);
  const int x1 = std::min(x0 + 1, picture.width() - 1);
  const int y1 = std::min(y0 + 1, picture.height() - 1);
  const Colour top = mixColour(picture.get(x0, y0), picture.get(x1, y0), cx - x0);
  const Colour bottom = mixColour(picture.get(x0, y1), picture.get(x1, y1), cx - x0);
  return mixColour(top, bottom, cy - y0);
}

// Adds the picture as light over the whole icon, stretched or shrunk to its size.
void addGlow(BakedPicture& icon, const BakedPicture& glow) {
  const float stepX = static_cast<float>(glow.width()) / static_cast<float>(icon.width());
  const float stepY = static_cast<float>(glow.height()) / static_cast<float>(icon.height());
  for (int y = 0; y < icon.height(); ++y) {
    for (int x = 0; x < icon.width(); ++x) {
      icon.add(x, y, sampleBetweenPixels(glow, (x + 0.5f) * stepX - 0.5f, (y + 0.5f) * stepY - 0.5f));
    }
  }
}

BakedPicture paintTexturedIcon(int size) {
  BakedPicture icon = shrinkToIcon(paintTerrainTexture(), size);
  for (const NamedPicture& sprite : paintSpritePictures()) {
    if (sprite.fileName == kFireballPicture) {
      addGlow(icon, sprite.picture);
    }
  }
  return icon;
}

// The flat scene's colour at a point (u, v in fractions of the side, v down). Edges are `stroke`
// wide, in the same fractions, so that each size keeps them a pixel or two thick.
Colour flatSceneColour(float u, float v, float stroke) {
  if (u < stroke || v < stroke || u > 1.0f - stroke || v > 1.0f - stroke) {
    return kFrame;
  }
  const float fireDistance = std::hypot(u - kFireballCentreX, v - kFireballCentreY);
  if (fireDistance < kFireballRadius - stroke) {
    const float t =
        std::clamp((fireDistance - kFireballCoreRadius) / (kFireballRadius - kFireballCoreRadius), 0.0f, 1.0f);
    return mixColour(kFireCore, kFireEdge, t);
  }
  if (fireDistance < kFireballRadius) {
    return kFireRim;
  }
  // The lake's ellipse in units of its own radii: 1 on its outline.
  const float lakeDistance = std::hypot((u - kLakeCentreX) / kLakeRadiusX, (v - kLakeCentreY) / kLakeRadiusY);
  // The shore is thinner than the other edges: at 16 pixels a full pixel of it would leave no water.
  const float shoreWidth = 0.6f * stroke / std::min(kLakeRadiusX, kLakeRadiusY);
  if (lakeDistance < 1.0f - shoreWidth) {
    return kWater;
  }
  if (lakeDistance < 1.0f) {
    return kShore;
  }
  // The ground darkens toward the bottom, as if lit from above.
  return mixColour(kGroundLight, kGroundDark, v);
}

BakedPicture paintFlatIcon(int size) {
  // Whole pixels of edge, so that the frame stays one sharp colour: one up to 32 pixels, two above.
  const float strokePixels = size > 32 ? 2.0f : 1.0f;
  const float stroke = strokePixels / static_cast<float>(size);
  BakedPicture icon(size, size, 3);
  const float weight = 1.0f / static_cast<float>(kSamplesPerSide * kSamplesPerSide);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      for (int sy = 0; sy < kSamplesPerSide; ++sy) {
        for (int sx = 0; sx < kSamplesPerSide; ++sx) {
          const float u = (x + (sx + 0.5f) / kSamplesPerSide) / static_cast<float>(size);
          const float v = (y + (sy + 0.5f) / kSamplesPerSide) / static_cast<float>(size);
          icon.add(x, y, scaleColour(flatSceneColour(u, v, stroke), weight));
        }
      }
    }
  }
  return icon;
}

}  // namespace

bool isIconSize(int size) { return std::find(std::begin(kIconSizes), std::end(kIconSizes), size) != std::end(kIconSizes); }

BakedPicture paintIcon(int size) {
  assert(isIconSize(size) && "icon size not in kIconSizes");
  return size >= kSmallestTexturedIconSize ? paintTexturedIcon(size) : paintFlatIcon(size);
}

}  // namespace baker
