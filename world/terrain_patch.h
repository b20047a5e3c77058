// Geometry of the terrain's square patches: heights from the grid, triangles, normals, texture
// coordinates, and the averaging that closes the seams between neighbouring patches.
// Inside a patch, vertex (i, j) (i along x, j along z) is number i × verticesZ + j.
#pragma once

#include <cstdint>
#include <vector>

#include "world/height_grid.h"

// The arrays of one patch's mesh: 3 floats per vertex for positions and normals, 2 for texture
// coordinates, 6 indices per grid cell.
struct PatchArrays {
  float* vertices = nullptr;
  float* normals = nullptr;
  float* texCoords = nullptr;
  uint32_t* indices = nullptr;
};

// Which pixels of the height picture one patch covers: it starts at (offsetX, offsetZ) and spans
// (spanX, spanZ) pixels.
struct PatchPixels {
  float offsetX = 0.0f;
  float spanX = 0.0f;
  float offsetZ = 0.0f;
  float spanZ = 0.0f;
};

// Vertex counts of one patch; both at least 2.
struct PatchSize {
  int verticesX = 0;
  int verticesZ = 0;
  int vertexCount() const { return verticesX * verticesZ; }
  int indexCount() const { return 6 * (verticesX - 1) * (verticesZ - 1); }
};

// Where one patch lies in the world and in the picture.
struct PatchPlacement {
  TerrainBox box;
  PatchPixels pixels;
};

// Cuts box into patchesX × patchesZ patches, patch (a, b) at index a × patchesZ + b. Both counts
// must be positive.
std::vector<PatchPlacement> placePatches(const HeightGrid& heights, const TerrainBox& box, int patchesX,
                                         int patchesZ);
// Fills the arrays of one patch spread over box; the arrays are sized for size.
void buildPatchGeometry(const HeightGrid& heights, const TerrainBox& box, const PatchPixels& pixels,
                        const PatchSize& size, const PatchArrays& patch);
// Closes every seam of the patch grid (patches in the order of placePatches): first all seams
// across x, then all seams across z.
void stitchSeams(const std::vector<PatchArrays>& patches, int patchesX, int patchesZ, const PatchSize& size);
// Averages the last column of first with the first column of second (neighbours along x).
void joinPatchesAcrossX(const PatchArrays& first, const PatchArrays& second, const PatchSize& size);
// Averages the last row of first with the first row of second (neighbours along z).
void joinPatchesAcrossZ(const PatchArrays& first, const PatchArrays& second, const PatchSize& size);
