// Axis-aligned bounding boxes as min and max corners of three floats.
#pragma once

// The start value of a box that any point will shrink: min at +kBoundsStart, max at -kBoundsStart.
constexpr float kBoundsStart = 9999999.0f;

void startBounds(float boxMin[3], float boxMax[3]);
// Lowers boxMin and raises boxMax per axis where the other box's corner lies strictly beyond.
void mergeBounds(float boxMin[3], float boxMax[3], const float otherMin[3], const float otherMax[3]);
