// A drawable model: an ordered list of meshes and the bounding box of all of them.
#pragma once

#include <memory>
#include <vector>

#include "world/bounds.h"
#include "world/mesh.h"

class Model {
 public:
  Model() = default;
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;
  virtual ~Model() = default;

  // Every mesh's bounds, then the box over them; with no meshes the box stays inverted
  // (min 9999999, max -9999999) and the centre 0.
  void computeBounds();
  void draw(int32_t mode, float normalLength);
  // Every mesh's arrays to the drawing layer, once they are final (see Mesh::createGpuMesh).
  void createGpuMeshes();

  std::vector<std::unique_ptr<Mesh>> meshes;  // in load order
  float boundsMin[3] = {0.0f, 0.0f, 0.0f};
  float boundsMax[3] = {0.0f, 0.0f, 0.0f};
  float centre[3] = {0.0f, 0.0f, 0.0f};
};
