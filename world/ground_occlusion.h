// What the ground hides from the eye. The drawn ground is one unbroken surface, so every line of
// sight from an eye above it to a point below it passes through it first: such points need not be
// drawn. This holds only while no ground comes closer to the eye than the near plane's corners,
// where clipping would open a hole in it; otherwise nothing is counted as hidden.
#pragma once

#include "core/vector3.h"
#include "world/ground_cells.h"

// Where the view looks from: the eye in world space, the distance to the near plane and the
// distance to the near plane's farthest corner.
struct EyePoint {
  Vector3 eye;
  float nearDistance = 0.0f;
  float nearReach = 0.0f;
};

class GroundOcclusion {
 public:
  // With the eye and near plane of the drawing layer's current model-view and projection matrices. Anything
  // but a look-at view (rotation and translation) under a perspective projection hides nothing.
  static GroundOcclusion fromCurrentMatrices(const GroundCells& ground);
  GroundOcclusion(const GroundCells& ground, const EyePoint& view);

  // The eye is inside the ground's extent and all ground within nearReach of it lies lower still.
  bool eyeClear() const { return eyeClear_; }
  // True only when the eye is clear and the world-space box's top lies below the lowest ground
  // around its footprint by at least hiddenMargin for the box's farthest corner, a margin no
  // wider than one ground cell.
  bool hides(const float boxMin[3], const float boxMax[3]) const;
  // How far below the ground a point at distance from the eye must lie, in world units. Along any
  // line of sight the ground then lies at least this far (or one whole ground cell) ahead of the
  // point: sixteen steps of a 24-bit depth buffer at that distance, so the ground always wins the
  // depth test there, and never less than 0.05.
  float hiddenMargin(float distance) const;

 private:
  const GroundCells& ground_;
  EyePoint view_;
  bool eyeClear_ = false;
};
