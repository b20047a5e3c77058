// A world object that draws a model from the model cache, and can cut a named mesh out of it
// into an object of its own.
#pragma once

#include <memory>
#include <string>

#include "world/c_game_obj.h"
#include "world/mesh.h"
#include "world/model.h"

class CStatic3D : public CGameObj {
 public:
  // An object drawing the cached model of fileName (relative to the data folder); null when the
  // model cannot be loaded. The model stays the cache's, shared by every object of that file.
  static std::unique_ptr<CStatic3D> create(const std::string& fileName);

  const char* getName() const override;
  // The children inside this object's transform, then the model (only while visible) inside a
  // second push of the same transform.
  void render() override;
  // The children's box merged with the model's, untransformed.
  void update() override;

  // Moves the first mesh named meshName (byte for byte) out of this object's model into a new
  // model drawn by a new, unlinked object with the default transform and this drawMode. The
  // model is shared, so every object of the same file loses the mesh; its bounds stay as they
  // were. Null when there is no model or no mesh of that name. The new model lives until exit.
  std::unique_ptr<CStatic3D> extractMesh(const std::string& meshName);

  Model* model = nullptr;  // not owned
  int32_t drawMode = kDrawVertexArrays;
};
