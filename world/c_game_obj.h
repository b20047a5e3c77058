// The base of everything placed and drawn in a scene: a transform, child objects drawn inside
// it, a bounding box and a visibility flag. Scenes and tweens write the public fields directly.
#pragma once

#include <cstdint>
#include <vector>

#include "core/vector3.h"

class CGameObj {
 public:
  CGameObj() = default;
  CGameObj(const CGameObj&) = delete;
  CGameObj& operator=(const CGameObj&) = delete;

  // The five operations every derived class keeps, in this order.
  virtual const char* getName() const;
  // Pushes the model-view matrix, then translate, rotate about rotationAxis, uniform scale.
  virtual void applyTransform();
  // This object's transform around the children's render, all through the virtual slots.
  virtual void render();
  virtual void popTransform();
  // The box over the children's boxes, each untransformed; the inverted start box without any.
  virtual void update();

  // Each child whose parentCount is 0 is destroyed with this object (it must have been made
  // with new); any other child has its count lowered and lives on with its own owner, its
  // parent pointer cleared when it pointed here.
  virtual ~CGameObj();

  // Appends child (drawn once per entry) and raises its parentCount.
  void addChild(CGameObj* child);

  bool visible = true;  // derived classes draw their own content only while true
  int32_t parentCount = 0;
  Vector3 position;  // in the parent's frame; w plays no part
  float rotationAxis[3] = {0.0f, 1.0f, 0.0f};
  float rotationAngle = 0.0f;  // degrees
  float scale = 1.0f;
  float boundsMin[3] = {0.0f, 0.0f, 0.0f};
  float boundsMax[3] = {0.0f, 0.0f, 0.0f};
  CGameObj* parent = nullptr;  // not owned
  std::vector<CGameObj*> children;  // drawn in this order
};
