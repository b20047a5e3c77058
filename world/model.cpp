#include "world/model.h"

void Model::computeBounds() {
  startBounds(boundsMin, boundsMax);
  for (float& value : centre) {
    value = 0.0f;
  }
  if (meshes.empty()) {
    return;
  }
  for (const std::unique_ptr<Mesh>& mesh : meshes) {
    mesh->computeBounds();
    mergeBounds(boundsMin, boundsMax, mesh->boundsMin, mesh->boundsMax);
  }
  for (int axis = 0; axis < 3; ++axis) {
    centre[axis] = (boundsMin[axis] + boundsMax[axis]) * 0.5f;
  }
}

void Model::draw(int32_t mode, float normalLength) {
  for (const std::unique_ptr<Mesh>& mesh : meshes) {
    mesh->draw(mode, normalLength);
  }
}

void Model::createGpuMeshes() {
  for (const std::unique_ptr<Mesh>& mesh : meshes) {
    mesh->createGpuMesh();
  }
}
