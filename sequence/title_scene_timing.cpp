// When and where the titles, lines and bubbles are at a moment of the scene: the title scene's
// timing arithmetic, apart from its drawing, so that it can be checked without a GL context.
#include "sequence/title_scene_timing.h"

#include <algorithm>
#include <cmath>

const Vector3 kTitleInPoint(-35.0f, 0.0f, -30.0f, 0.0f);
const Vector3 kTitleCentre(0.0f, 0.0f, 0.0f, 0.0f);
const Vector3 kTitleOutPoint(35.0f, 12.0f, 70.0f, 0.0f);

namespace {

constexpr float kSlotFractionPerSecond = 0.06666667f;
constexpr float kFlightShare = 0.2f;  // of a slot, for flying in and again for flying out
constexpr float kRockingRadiansPerSlot = 60.0f;
constexpr float kRockingDegrees = 40.0f;

float clamped(float value, float low, float high) { return value > high ? high : (value < low ? low : value); }

// Both layers' levels start from the same frame-length term.
float feedbackBase(float dtSeconds) { return 0.6f - dtSeconds * 0.4f; }

}  // namespace

int titleSlotAt(float sceneSeconds) {
  const int slot = static_cast<int>(sceneSeconds) / static_cast<int>(kTitleSlotSeconds);
  return slot > kTitleCount - 1 ? kTitleCount - 1 : (slot < 0 ? 0 : slot);
}

float titleSlotFraction(float sceneSeconds, int slot) {
  return (sceneSeconds - static_cast<float>(slot) * kTitleSlotSeconds) * kSlotFractionPerSecond;
}

Vector3 titlePosition(float slotFraction) {
  if (slotFraction < kFlightShare) {
    const float k = slotFraction * 5.0f;
    return kTitleInPoint * (1.0f - k) + kTitleCentre * k;
  }
  if (slotFraction <= 1.0f - kFlightShare) {
    return kTitleCentre;
  }
  const float k = (slotFraction - (1.0f - kFlightShare)) * 5.0f;
  return kTitleCentre * (1.0f - k) + kTitleOutPoint * k;
}

float titleRockingDegrees(float slotFraction) {
  return std::sin(slotFraction * kRockingRadiansPerSlot) * kRockingDegrees;
}

float lineTrailLevel(float dtSeconds) { return clamped(feedbackBase(dtSeconds), 0.1f, 0.5f); }

float titleShimmerLevel(float dtSeconds) { return clamped(feedbackBase(dtSeconds), 0.4f, 0.6f); }

SurfaceSize bubbleSurfaceSize(int drawableWidth, int drawableHeight) {
  if (drawableWidth <= 0 || drawableHeight <= 0) {
    drawableWidth = kComposedWidth;
    drawableHeight = kComposedHeight;
  }
  SurfaceSize size;
  size.width = std::max(drawableWidth / 3, 1);
  size.height = std::max(drawableHeight / 3, 1);
  return size;
}

bool titleSceneDraws(float timeSeconds) {
  const float x = timeSeconds - kTitleSceneStartSeconds;
  return x >= 0.0f && x <= kTitleSceneSeconds;
}

bool lineCageShown(float sceneSeconds) { return (static_cast<int>(sceneSeconds) / 4) % 2 == 1; }
