// A world-object container that owns what it holds: the objects it draws as children, and others
// it only keeps alive (parts linked below one of its children).
// Teardown unlinks every held object before freeing any, so the order of freeing never matters.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "world/c_static_3d.h"

// Where an object stands: what tweens and frames change of it.
struct ObjectPlacement {
  Vector3 position;
  float rotationAxis[3] = {0.0f, 1.0f, 0.0f};
  float rotationAngle = 0.0f;
  float scale = 1.0f;
};
ObjectPlacement placementOf(const CGameObj& object);
void applyPlacement(CGameObj& object, const ObjectPlacement& placement);

class ObjectGroup : public CStatic3D {
 public:
  ObjectGroup() = default;
  ~ObjectGroup() override;

  // Takes the object and appends it to the children; returns it. Null stays null and adds nothing.
  CGameObj* add(std::unique_ptr<CGameObj> object);
  // Takes the object without drawing it here; returns it. Null stays null.
  CGameObj* keep(std::unique_ptr<CGameObj> object);
  // Takes child number index out of the children, and frees it when the group holds it; the
  // children after it move up one place.
  void removeChild(std::size_t index);
  // Takes out and frees every child, last first.
  void removeAll();
  // Takes child number index out of the children and hands it back instead of freeing it; null
  // when the group does not hold it. The children after it move up one place.
  std::unique_ptr<CGameObj> takeChild(std::size_t index);
  // Room for this many held objects and children, so that adding up to that many allocates nothing.
  void reserve(std::size_t count);

 private:
  std::vector<std::unique_ptr<CGameObj>> owned_;
};
