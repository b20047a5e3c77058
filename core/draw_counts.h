// What the frames hand to the GL, counted where the program issues it: draw calls (one per
// primitive run, indexed draw or recorded draw) with the triangles they carry, and the pass-state
// fields that changed between passes.
#pragma once

#include <cstdint>

struct DrawCounts {
  uint64_t drawCalls = 0;
  uint64_t triangles = 0;
  uint64_t stateChanges = 0;
};

DrawCounts& drawCounts();

inline void countDraw(uint64_t triangles) {
  DrawCounts& counts = drawCounts();
  ++counts.drawCalls;
  counts.triangles += triangles;
}

inline void countStateChanges(uint64_t fields) { drawCounts().stateChanges += fields; }
