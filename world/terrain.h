// The ground: a height field from a grey-scale picture, cut into square patches that are the
// meshes of one model, with the seams between patches closed. Also answers height queries.
// Patch (a, b) is mesh a × patchesZ + b of the model.
#pragma once

#include <memory>
#include <string>

#include "world/ground_cells.h"
#include "world/height_grid.h"

class Model;

class Terrain {
 public:
  Terrain();
  virtual ~Terrain();
  Terrain(const Terrain&) = delete;
  Terrain& operator=(const Terrain&) = delete;

  // Decodes the picture through the texture manager and builds every patch, replacing an earlier
  // build. Patch and vertex counts below 1 and 2 build nothing and leave the terrain as it was;
  // a picture that cannot be decoded leaves it without ground. True when the ground was built.
  bool build(const std::string& imageFileName, const TerrainBox& extent, int countX, int countZ, int perPatchX,
             int perPatchZ);
  // The same from grey levels already in memory.
  bool buildFromHeights(HeightGrid levels, const TerrainBox& extent, int countX, int countZ, int perPatchX,
                        int perPatchZ);
  // Every patch takes the picture as its layer-0 texture and is drawn textured.
  void setTexture(const std::string& imageFileName);
  // Ground height under (x, z); points at or beyond the far edges read the edge pixels, and
  // a terrain without ground answers 0.
  float heightAt(float x, float z) const;
  // Every patch in model order with that draw mode; nothing without ground.
  void draw(int mode);

  std::unique_ptr<Model> model;  // the patches, in build order
  TerrainBox box;                // yMin is the height of black, yMax of white
  int verticesX = 0;             // vertices along x in every patch
  int verticesZ = 0;
  int patchesX = 0;
  int patchesZ = 0;
  HeightGrid heights;  // kept for height queries
  GroundCells cells;   // the height range of every drawn cell, seams closed

 private:
  void clear();
};
