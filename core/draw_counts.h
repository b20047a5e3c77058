// What the frames hand to the GL, counted where the program issues it: draw calls (one per
// glBegin … glEnd, glDrawElements or display list) and the triangles they carry.
#pragma once

#include <cstdint>

struct DrawCounts {
  uint64_t drawCalls = 0;
  uint64_t triangles = 0;
};

DrawCounts& drawCounts();

inline void countDraw(uint64_t triangles) {
  DrawCounts& counts = drawCounts();
  ++counts.drawCalls;
  counts.triangles += triangles;
}
