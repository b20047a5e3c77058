// A model as the baker builds it before writing: named meshes of textured triangles in the
// presentation's axes (y up), and the materials they name.
// Invariant: a triangle's corners run counter-clockwise seen from the side it faces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/vector3.h"

namespace baker {

struct BakedVertex {
  Vector3 position;
  float u = 0.0f;
  float v = 0.0f;  // 0 at the picture's bottom row, 1 at its top row
};

struct BakedTriangle {
  std::uint32_t a = 0;
  std::uint32_t b = 0;
  std::uint32_t c = 0;
  // Bit mask of the smoothing groups; faces that share no group meet at a hard edge in readers
  // that smooth by group. Our own reader smooths over shared vertices instead.
  std::uint32_t smoothingGroups = 1;
};

struct BakedMesh {
  std::string name;
  std::string materialName;
  std::vector<BakedVertex> vertices;
  std::vector<BakedTriangle> triangles;
};

struct BakedMaterial {
  std::string name;
  unsigned char red = 255;
  unsigned char green = 255;
  unsigned char blue = 255;
  std::string textureFile;  // empty for an untextured material
};

struct BakedModel {
  std::vector<BakedMaterial> materials;
  std::vector<BakedMesh> meshes;
};

// A material drawn with the picture `textureFile` in white light.
BakedMaterial texturedMaterial(const std::string& name, const std::string& textureFile);
// An empty mesh of that name, drawn with that material.
BakedMesh namedMesh(const std::string& name, const std::string& materialName);

struct ModelBounds {
  Vector3 min;
  Vector3 max;
};

// The box around every vertex of the model; all zero for a model without vertices.
ModelBounds measureModel(const BakedModel& model);

}  // namespace baker
