// Chooses the drawing surfaces' size while the presentation follows the clock: from the frames'
// measured time it steps the surfaces between their full size for the drawable and a floor, so that
// frames keep to the display's refresh rate where the machine can, else to a steady 30 a second.
// The size is always one of its levels, from the full size down to the floor; it changes at most
// once every kSecondsBetweenChoices.
#pragma once

#include <vector>

#include "core/picture_shape.h"

// How long the frames of one choice are measured, and so the shortest time between two changes.
constexpr double kSecondsBetweenChoices = 0.5;
// The frame period aimed at where the display's rate cannot be reached.
constexpr double kSteadyFrameSeconds = 1.0 / 30.0;
// A display that waits for its refresh makes every frame that keeps up take one refresh period,
// so smaller surfaces cannot show that larger ones would keep up too: after frames have kept to
// the display this long, one step up is tried. A try that fails doubles the wait, up to the
// longest; one that holds sets it back to the first.
constexpr double kFirstTrySeconds = 5.0;
constexpr double kLongestTrySeconds = 80.0;

class SurfaceScaleController {
 public:
  // The levels from full down to floor (each side at least the floor's, never more than the full
  // size's); starts at the full size, aiming at the display's frame period, measuring from now.
  void begin(SurfaceSize full, SurfaceSize floor, double displayFrameSeconds, double nowSeconds);
  // One frame drawn: the seconds from its start to after its swap (a display that waits for its
  // refresh holds a frame that keeps up to one period), and when it ended, in seconds of a steady
  // clock. True when this frame's measurement chose another size.
  bool frameDone(double nowSeconds, double frameSeconds);
  // Forgets the frames measured so far: frames of a jump or a pause say nothing of the drawing's
  // cost.
  void restartMeasuring(double nowSeconds);

  SurfaceSize size() const;
  bool atFullSize() const { return level_ == 0; }
  // The figure behind the last choice: the typical frame of the measured half second.
  double measuredFrameSeconds() const { return measuredSeconds_; }
  // The last half second measured at the smallest size still missed the target: what is drawn
  // straight into the window, which no surface size changes, takes too long on its own.
  bool missesTargetAtFloor() const { return missesAtFloor_; }
  // The typical frame of the last half second measured, whether or not it changed the size.
  double lastMeasuredFrameSeconds() const { return lastMeasuredSeconds_; }
  double targetFrameSeconds() const { return targetSeconds_; }
  int levelCount() const { return static_cast<int>(levels_.size()); }
  // The last level: the floor, where the full size is not smaller than it on either side.
  SurfaceSize smallest() const { return levels_.back(); }

 private:
  int levelToShrinkTo(double measured) const;
  bool growthFits(double measured) const;
  double areaRatio(int toLevel, int fromLevel) const;

  std::vector<SurfaceSize> levels_;  // the full size first, the floor last
  int level_ = 0;
  double displaySeconds_ = 1.0 / 60.0;
  double targetSeconds_ = 1.0 / 60.0;
  double measuredSeconds_ = 0.0;
  double lastMeasuredSeconds_ = 0.0;
  bool missesAtFloor_ = false;
  double windowStartSeconds_ = 0.0;
  double keptToDisplaySeconds_ = 0.0;  // how long the frames have kept to the display's period
  double tryWaitSeconds_ = kFirstTrySeconds;
  bool trying_ = false;  // the size is one step up from where frames kept to the display
  std::vector<double> frames_;  // the frame times measured since windowStartSeconds_
};

// The typical frame time of a measurement: the mean of its middle half, so that a single slow
// frame (a page fault, a texture upload) is not taken for the drawing's cost. 0 for none.
double typicalFrameSeconds(std::vector<double> frameSeconds);
