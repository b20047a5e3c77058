#include "app/surface_sizing.h"

#include "core/debug_log.h"
#include "gpu/render_target.h"

void SurfaceSizing::begin(int width, int height, bool followsFrameTime, double frameSeconds, double nowSeconds) {
  followsFrameTime_ = followsFrameTime;
  frameSeconds_ = frameSeconds;
  width_ = width;
  height_ = height;
  beginLevels(nowSeconds);
  made_ = surfaceSizeOnDriver(scale_.size());
}

void SurfaceSizing::beginLevels(double nowSeconds) {
  const SurfaceSize full = drawingSurfaceSize(width_, height_);
  const SurfaceSize floor = followsFrameTime_ ? drawingSurfaceSize(kComposedWidth, kComposedHeight) : full;
  scale_.begin(full, floor, frameSeconds_, nowSeconds);
  toldFloorMisses_ = false;
  if (scale_.levelCount() > 1) {
    DebugLog::append(kLogFileName,
                     "Surfaces: %d x %d for the %d x %d drawable, smaller down to %d x %d while frames take "
                     "longer than %.1f ms\r\n",
                     full.width, full.height, width_, height_, scale_.smallest().width, scale_.smallest().height,
                     scale_.targetFrameSeconds() * 1000.0);
  } else {
    DebugLog::append(kLogFileName, "Surfaces: %d x %d for the %d x %d drawable, kept at that size\r\n", full.width,
                     full.height, width_, height_);
  }
}

bool SurfaceSizing::follow(int width, int height, double nowSeconds) {
  const bool drawableChanged = width != width_ || height != height_;
  if (drawableChanged) {
    width_ = width;
    height_ = height;
    beginLevels(nowSeconds);
  }
  const SurfaceSize size = surfaceSizeOnDriver(scale_.size());
  if (!drawableChanged && size.width == made_.width && size.height == made_.height) {
    return false;
  }
  made_ = size;
  return true;
}

void SurfaceSizing::frameDone(double nowSeconds, double frameSeconds, float pictureSeconds) {
  if (!followsFrameTime_) {
    return;
  }
  const bool changed = scale_.frameDone(nowSeconds, frameSeconds);
  if (scale_.missesTargetAtFloor() && !toldFloorMisses_) {
    toldFloorMisses_ = true;
    DebugLog::append(kLogFileName,
                     "Surfaces: at their smallest, %d x %d, frames still took %.1f ms at %.2f s, more than the %.1f ms "
                     "aimed at: what is drawn at the %d x %d window's own size is too slow for it\r\n",
                     scale_.size().width, scale_.size().height, scale_.lastMeasuredFrameSeconds() * 1000.0,
                     static_cast<double>(pictureSeconds), scale_.targetFrameSeconds() * 1000.0, width_, height_);
  }
  if (!changed) {
    return;
  }
  const SurfaceSize size = scale_.size();
  DebugLog::append(kLogFileName, "Surfaces: %d x %d at %.2f s, frames took %.1f ms, aiming at %.1f ms\r\n", size.width,
                   size.height, static_cast<double>(pictureSeconds), scale_.measuredFrameSeconds() * 1000.0,
                   scale_.targetFrameSeconds() * 1000.0);
}
