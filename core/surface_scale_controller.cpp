#include "core/surface_scale_controller.h"

#include <algorithm>
#include <cmath>

namespace {

// Each level is this much of the one above on each axis, about two thirds of its pixels: few
// steps, since the trails start again from black at every change.
constexpr double kLevelSideShare = 0.8;
// Frames this much slower than the target shrink the surfaces; frames this much faster than it
// let them grow, if the larger size is expected to stay within it too. The band between keeps the
// picture from pumping.
constexpr double kShrinkAbove = 1.15;
constexpr double kGrowBelow = 0.9;
// A choice needs at least this many frames besides its half second.
constexpr std::size_t kFewestFrames = 4;
// Frames this close to the display's period are held to it by the display.
constexpr double kDisplayPaceShare = 0.05;

int scaledSide(int full, int floor, double share) {
  const int side = static_cast<int>(std::lround(full * share));
  return std::min(full, std::max(floor, side));
}

double area(SurfaceSize size) { return static_cast<double>(size.width) * size.height; }

}  // namespace

double typicalFrameSeconds(std::vector<double> frameSeconds) {
  if (frameSeconds.empty()) {
    return 0.0;
  }
  std::sort(frameSeconds.begin(), frameSeconds.end());
  const std::size_t quarter = frameSeconds.size() / 4;
  const auto first = frameSeconds.begin() + static_cast<std::ptrdiff_t>(quarter);
  const auto last = frameSeconds.end() - static_cast<std::ptrdiff_t>(quarter);
  double sum = 0.0;
  for (auto it = first; it != last; ++it) {
    sum += *it;
  }
  return sum / static_cast<double>(last - first);
}

void SurfaceScaleController::begin(SurfaceSize full, SurfaceSize floor, double displayFrameSeconds,
                                   double nowSeconds) {
  full.width = std::max(full.width, 1);
  full.height = std::max(full.height, 1);
  // A drawable smaller than the composed frame has surfaces smaller than the floor: they stay.
  floor.width = std::min(std::max(floor.width, 1), full.width);
  floor.height = std::min(std::max(floor.height, 1), full.height);
  levels_.assign(1, full);
  double share = 1.0;
  while (levels_.back().width != floor.width || levels_.back().height != floor.height) {
    share *= kLevelSideShare;
    const SurfaceSize next{scaledSide(full.width, floor.width, share), scaledSide(full.height, floor.height, share)};
    if (next.width != levels_.back().width || next.height != levels_.back().height) {
      levels_.push_back(next);
    }
  }
  level_ = 0;
  displaySeconds_ = displayFrameSeconds > 0.0 ? displayFrameSeconds : 1.0 / 60.0;
  targetSeconds_ = displaySeconds_;
  measuredSeconds_ = 0.0;
  lastMeasuredSeconds_ = 0.0;
  missesAtFloor_ = false;
  keptToDisplaySeconds_ = 0.0;
  tryWaitSeconds_ = kFirstTrySeconds;
  trying_ = false;
  restartMeasuring(nowSeconds);
}

void SurfaceScaleController::restartMeasuring(double nowSeconds) {
  windowStartSeconds_ = nowSeconds;
  frames_.clear();
}

SurfaceSize SurfaceScaleController::size() const { return levels_.empty() ? SurfaceSize{} : levels_[level_]; }

bool SurfaceScaleController::frameDone(double nowSeconds, double frameSeconds) {
  if (levels_.size() < 2) {
    return false;
  }
  frames_.push_back(frameSeconds);
  if (nowSeconds - windowStartSeconds_ < kSecondsBetweenChoices || frames_.size() < kFewestFrames) {
    return false;
  }
  const double measured = typicalFrameSeconds(frames_);
  const double measuredForSeconds = nowSeconds - windowStartSeconds_;
  restartMeasuring(nowSeconds);
  lastMeasuredSeconds_ = measured;
  const int lastLevel = static_cast<int>(levels_.size()) - 1;
  missesAtFloor_ = level_ == lastLevel && measured > std::max(displaySeconds_, kSteadyFrameSeconds) * kShrinkAbove;
  // Frames held to the display's period keep up with it, whatever the aim was.
  const bool heldToDisplay = std::fabs(measured - displaySeconds_) <= displaySeconds_ * kDisplayPaceShare;
  int chosen = level_;
  if (measured > targetSeconds_ * kShrinkAbove) {
    if (level_ < lastLevel) {
      chosen = levelToShrinkTo(measured);
    } else {
      // Even the floor cannot keep to the display: a steady 30 frames a second instead.
      targetSeconds_ = std::max(displaySeconds_, kSteadyFrameSeconds);
    }
  } else if (measured < displaySeconds_ * kGrowBelow || heldToDisplay) {
    // The display's rate is within reach again (a lighter part of the presentation).
    targetSeconds_ = displaySeconds_;
  }
  if (trying_) {
    trying_ = false;
    tryWaitSeconds_ = chosen > level_ ? std::min(tryWaitSeconds_ * 2.0, kLongestTrySeconds) : kFirstTrySeconds;
  }
  keptToDisplaySeconds_ = chosen == level_ && level_ > 0 && heldToDisplay ? keptToDisplaySeconds_ + measuredForSeconds
                                                                           : 0.0;
  if (chosen == level_ && level_ > 0 && growthFits(measured)) {
    chosen = level_ - 1;
  } else if (keptToDisplaySeconds_ >= tryWaitSeconds_) {
    chosen = level_ - 1;
    trying_ = true;
    keptToDisplaySeconds_ = 0.0;
  }
  if (chosen == level_) {
    return false;
  }
  level_ = chosen;
  measuredSeconds_ = measured;
  return true;
}

double SurfaceScaleController::areaRatio(int toLevel, int fromLevel) const {
  return area(levels_[toLevel]) / area(levels_[fromLevel]);
}

// The smallest step that, were all of a frame's cost in the surfaces' pixels, would reach the
// target. Part of the cost is the window's own pixels, so this guess errs towards too little;
// the next measurement takes another step where it was.
int SurfaceScaleController::levelToShrinkTo(double measured) const {
  const int lastLevel = static_cast<int>(levels_.size()) - 1;
  int chosen = level_ + 1;
  while (chosen < lastLevel && measured * areaRatio(chosen, level_) > targetSeconds_) {
    ++chosen;
  }
  return chosen;
}

// Growing is guessed the other way: as though all the cost grew with the pixels, which it does
// not, so a size grown to keeps to the target and is not given up again at the next measurement.
bool SurfaceScaleController::growthFits(double measured) const {
  return measured * areaRatio(level_ - 1, level_) < targetSeconds_ * kGrowBelow;
}
