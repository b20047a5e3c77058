// The part of space the current view shows, as six planes taken from the GL's projection and
// model-view matrices, for leaving out objects that cannot appear in the picture.
#pragma once

#include "core/vector3.h"

class CStatic3D;

class ViewVolume {
 public:
  // From the matrices current in the GL (model-view and projection).
  static ViewVolume fromCurrentMatrices();
  // From a combined projection × model-view matrix, column-major.
  static ViewVolume fromMatrix(const float clip[16]);

  // True only when the whole sphere lies outside one of the planes.
  bool sphereOutside(const Vector3& centre, float radius) const;
  // True only when every corner of the box lies outside one and the same plane, by more than a
  // hundredth of a unit so that rounding never leaves out an edge pixel.
  bool boxOutside(const float boxMin[3], const float boxMax[3]) const;

  // a, b, c, d with (a, b, c) of unit length and a·x + b·y + c·z + d ≥ 0 inside.
  float planes[6][4] = {};
};

// True when the object's model, placed by its own transform in the volume's frame, cannot appear
// in the picture. Children are not looked at; an object without a model is never left out.
bool modelOutside(const ViewVolume& volume, const CStatic3D& object);
