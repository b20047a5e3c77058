#include "world/c_static_3d.h"

#include "world/bounds.h"
#include "world/model_cache.h"

std::unique_ptr<CStatic3D> CStatic3D::create(const std::string& fileName) {
  Model* cached = modelCache().getModel(fileName);
  if (cached == nullptr) {
    return nullptr;
  }
  auto object = std::make_unique<CStatic3D>();
  object->model = cached;
  object->update();
  object->drawMode = kDrawVertexArrays;
  return object;
}

const char* CStatic3D::getName() const { return "CStatic3D"; }

void CStatic3D::render() {
  CGameObj::render();
  if (model == nullptr) {
    return;
  }
  applyTransform();
  if (visible) {
    model->draw(drawMode, 1.0f);
  }
  popTransform();
}

void CStatic3D::update() {
  CGameObj::update();
  if (model != nullptr) {
    mergeBounds(boundsMin, boundsMax, model->boundsMin, model->boundsMax);
  }
}

std::unique_ptr<CStatic3D> CStatic3D::extractMesh(const std::string& meshName) {
  if (model == nullptr) {
    return nullptr;
  }
  auto& meshes = model->meshes;
  auto found = meshes.begin();
  while (found != meshes.end() && (*found)->name != meshName) {
    ++found;
  }
  if (found == meshes.end()) {
    return nullptr;
  }
  auto cutModel = std::make_unique<Model>();
  cutModel->meshes.push_back(std::move(*found));
  meshes.erase(found);
  cutModel->computeBounds();

  auto object = std::make_unique<CStatic3D>();
  object->model = modelCache().keepModel(std::move(cutModel));
  object->update();
  object->drawMode = drawMode;
  return object;
}
