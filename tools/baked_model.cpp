// Measuring baked models.
#include "tools/baked_model.h"

#include <algorithm>

namespace baker {

BakedMaterial texturedMaterial(const std::string& name, const std::string& textureFile) {
  BakedMaterial material;
  material.name = name;
  material.textureFile = textureFile;
  return material;
}

BakedMesh namedMesh(const std::string& name, const std::string& materialName) {
  BakedMesh mesh;
  mesh.name = name;
  mesh.materialName = materialName;
  return mesh;
}

ModelBounds measureModel(const BakedModel& model) {
  ModelBounds bounds;
  bool first = true;
  for (const BakedMesh& mesh : model.meshes) {
    for (const BakedVertex& vertex : mesh.vertices) {
      const Vector3& p = vertex.position;
      if (first) {
        bounds.min = p;
        bounds.max = p;
        first = false;
        continue;
      }
      bounds.min = Vector3(std::min(bounds.min.x, p.x), std::min(bounds.min.y, p.y), std::min(bounds.min.z, p.z));
      bounds.max = Vector3(std::max(bounds.max.x, p.x), std::max(bounds.max.y, p.y), std::max(bounds.max.z, p.z));
    }
  }
  bounds.min.w = 0.0f;
  bounds.max.w = 0.0f;
  return bounds;
}

}  // namespace baker
