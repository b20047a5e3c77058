// Axis-aligned boxes of placed objects: a model's box carried through the object's transform and
// every parent's above it, for tests that need the object's extent along each axis.
#pragma once

#include "core/vector3.h"

class CStatic3D;

// v turned about axis by angleDegrees, right-handed as the layer's rotate turns; a zero axis or angle
// leaves v as it is. The axis need not be of unit length.
Vector3 rotatedAbout(const Vector3& v, const float axis[3], float angleDegrees);

// The box, in the frame object is placed in, over the eight corners of its model's box and of
// every descendant's model box, each carried through the transforms down to it. Models are taken
// at their recorded bounds. False when part of what the object draws has no box: a descendant
// that is not a CStatic3D, or nothing with a model at all.
bool placedBox(const CStatic3D& object, float boxMin[3], float boxMax[3]);
