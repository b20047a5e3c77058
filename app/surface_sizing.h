// The size the drawing surfaces are made at, for the drawable the window reports: the full size
// for it, or in live play smaller while frames come too slowly. It says when the scenes must make
// their surfaces again, and logs every size it chooses with what led to it.
#pragma once

#include "core/picture_shape.h"
#include "core/surface_scale_controller.h"

class SurfaceSizing {
 public:
  // Starts at the full size for a width × height drawable. While followsFrameTime, the size may go
  // down to that for the composed frame when frames take longer than frameSeconds.
  void begin(int width, int height, bool followsFrameTime, double frameSeconds, double nowSeconds);
  // The drawable is now width × height: true when the surfaces must be made again, for it or for a
  // size chosen since they were last made.
  bool follow(int width, int height, double nowSeconds);
  // One shown frame took frameSeconds, ending at nowSeconds, with the picture at pictureSeconds.
  void frameDone(double nowSeconds, double frameSeconds, float pictureSeconds);
  // Frames of a jump or a pause say nothing of what drawing a frame costs.
  void restartMeasuring(double nowSeconds) { scale_.restartMeasuring(nowSeconds); }
  // The size the surfaces are made at now.
  SurfaceSize size() const { return made_; }

 private:
  void beginLevels(double nowSeconds);

  SurfaceScaleController scale_;
  bool followsFrameTime_ = false;
  double frameSeconds_ = 0.0;
  int width_ = 0;  // the drawable the levels were chosen for
  int height_ = 0;
  SurfaceSize made_;
  // The log has said that the window's own pixels alone miss the target at this drawable's size.
  bool toldFloorMisses_ = false;
};
