#include "world/bounds.h"

void startBounds(float boxMin[3], float boxMax[3]) {
  for (int axis = 0; axis < 3; ++axis) {
    boxMin[axis] = kBoundsStart;
    boxMax[axis] = -kBoundsStart;
  }
}

void mergeBounds(float boxMin[3], float boxMax[3], const float otherMin[3], const float otherMax[3]) {
  for (int axis = 0; axis < 3; ++axis) {
    if (otherMin[axis] < boxMin[axis]) {
      boxMin[axis] = otherMin[axis];
    }
    if (otherMax[axis] > boxMax[axis]) {
      boxMax[axis] = otherMax[axis];
    }
  }
}
