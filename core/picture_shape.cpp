#include "core/picture_shape.h"

#include <algorithm>
#include <cmath>

namespace {

int powerOfTwoAtLeast(int side, int largest) {
  int power = 1;
  while (power < side && power < largest) {
    power *= 2;
  }
  return power;
}

int proportional(int drawable, int composed, bool powerOfTwo, int largest) {
  int side = static_cast<int>(std::lround(static_cast<double>(drawable) * kComposedSurfaceSize / composed));
  side = std::max(side, 1);
  if (powerOfTwo) {
    side = powerOfTwoAtLeast(side, largest);
  }
  return std::min(side, std::max(largest, 1));
}

}  // namespace

double widenedAspect(double composedAspect, int width, int height) {
  if (width <= 0 || height <= 0) {
    return composedAspect;
  }
  // At exactly 4:3 the ratio is exactly 1, so the composed frame's projection is unchanged.
  return composedAspect * ((3.0 * width) / (4.0 * height));
}

SurfaceSize surfaceSizeFor(int width, int height, bool powerOfTwo, int largest) {
  if (width <= 0 || height <= 0) {
    width = kComposedWidth;
    height = kComposedHeight;
  }
  SurfaceSize size;
  size.width = proportional(width, kComposedWidth, powerOfTwo, largest);
  size.height = proportional(height, kComposedHeight, powerOfTwo, largest);
  return size;
}

SurfaceSize proportionalSize(SurfaceSize size, SurfaceSize chosen, SurfaceSize full) {
  const auto side = [](int value, int chosenSide, int fullSide) {
    if (chosenSide == fullSide || fullSide <= 0) {
      return value;
    }
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(value) * chosenSide / fullSide)));
  };
  return SurfaceSize{side(size.width, chosen.width, full.width), side(size.height, chosen.height, full.height)};
}

SurfaceSize powerOfTwoSides(SurfaceSize size, int largest) {
  size.width = std::min(powerOfTwoAtLeast(size.width, largest), std::max(largest, 1));
  size.height = std::min(powerOfTwoAtLeast(size.height, largest), std::max(largest, 1));
  return size;
}
