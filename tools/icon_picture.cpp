#include "tools/icon_picture.h"

#include <string>
#include <vector>

#include "tools/sprite_pictures.h"
#include "tools/terrain_pictures.h"

namespace baker {

namespace {

constexpr const char* kFireballPicture = "explodeparticle.jpg";

// The mean of each square of source pixels that lands on one icon pixel.
BakedPicture shrinkToIcon(const BakedPicture& source) {
  const int factor = source.width() / kIconSize;
  BakedPicture icon(kIconSize, kIconSize, 3);
  const float weight = 1.0f / static_cast<float>(factor * factor);
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      for (int sy = 0; sy < factor; ++sy) {
        for (int sx = 0; sx < factor; ++sx) {
          icon.add(x, y, scaleColour(source.get(x * factor + sx, y * factor + sy), weight));
        }
      }
    }
  }
  return icon;
}

// Adds the picture as light over the icon's middle, each of its pixels covering a square of icon
// pixels so that it spans the whole icon.
void addGlow(BakedPicture& icon, const BakedPicture& glow) {
  const int factor = kIconSize / glow.width();
  const int top = (kIconSize - glow.height() * factor) / 2;
  for (int y = 0; y < glow.height() * factor; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      icon.add(x, top + y, glow.get(x / factor, y / factor));
    }
  }
}

}  // namespace

BakedPicture paintIcon() {
  BakedPicture icon = shrinkToIcon(paintTerrainTexture());
  for (const NamedPicture& sprite : paintSpritePictures()) {
    if (sprite.fileName == kFireballPicture) {
      addGlow(icon, sprite.picture);
    }
  }
  return icon;
}

}  // namespace baker
