// What the frames hand to the GL, counted where the program issues it: draw calls (one per
// primitive run, indexed draw or recorded draw) with the triangles they carry, the pass-state
// fields that changed between passes, the bytes handed to GL buffers and textures, the questions
// asked of the driver (every glGet… call: a stall on a GPU, a round trip in a browser) and the
// programs linked.
#pragma once

#include <cstdint>

struct DrawCounts {
  uint64_t drawCalls = 0;
  uint64_t triangles = 0;
  uint64_t stateChanges = 0;
  uint64_t bytesUploaded = 0;
  uint64_t queries = 0;
  uint64_t programLinks = 0;
};

DrawCounts& drawCounts();

inline void countDraw(uint64_t triangles) {
  DrawCounts& counts = drawCounts();
  ++counts.drawCalls;
  counts.triangles += triangles;
}

inline void countStateChanges(uint64_t fields) { drawCounts().stateChanges += fields; }
inline void countUpload(uint64_t sizeBytes) { drawCounts().bytesUploaded += sizeBytes; }
inline void countQueries(uint64_t queries) { drawCounts().queries += queries; }
inline void countProgramLink() { ++drawCounts().programLinks; }
