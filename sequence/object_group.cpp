#include "sequence/object_group.h"

#include <algorithm>
#include <cassert>

ObjectGroup::~ObjectGroup() {
  // A freed parent lowers its children's counts, so links to already freed objects must go first.
  for (const std::unique_ptr<CGameObj>& object : owned_) {
    object->children.clear();
  }
  children.clear();
}

CGameObj* ObjectGroup::add(std::unique_ptr<CGameObj> object) {
  CGameObj* const added = keep(std::move(object));
  if (added != nullptr) {
    addChild(added);
  }
  return added;
}

CGameObj* ObjectGroup::keep(std::unique_ptr<CGameObj> object) {
  if (!object) {
    return nullptr;
  }
  owned_.push_back(std::move(object));
  return owned_.back().get();
}

void ObjectGroup::removeChild(std::size_t index) { takeChild(index); }

std::unique_ptr<CGameObj> ObjectGroup::takeChild(std::size_t index) {
  assert(index < children.size() && "child index out of range");
  CGameObj* const child = children[index];
  children.erase(children.begin() + static_cast<std::ptrdiff_t>(index));
  child->parent = nullptr;
  child->parentCount -= 1;
  const auto owner = std::find_if(owned_.begin(), owned_.end(),
                                  [child](const std::unique_ptr<CGameObj>& object) { return object.get() == child; });
  if (owner == owned_.end()) {
    return nullptr;
  }
  std::unique_ptr<CGameObj> taken = std::move(*owner);
  owned_.erase(owner);
  return taken;
}

void ObjectGroup::reserve(std::size_t count) {
  owned_.reserve(count);
  children.reserve(count);
}

void ObjectGroup::removeAll() {
  while (!children.empty()) {
    removeChild(children.size() - 1);
  }
}

ObjectPlacement placementOf(const CGameObj& object) {
  ObjectPlacement placement;
  placement.position = object.position;
  std::copy(object.rotationAxis, object.rotationAxis + 3, placement.rotationAxis);
  placement.rotationAngle = object.rotationAngle;
  placement.scale = object.scale;
  return placement;
}

void applyPlacement(CGameObj& object, const ObjectPlacement& placement) {
  object.position = placement.position;
  std::copy(placement.rotationAxis, placement.rotationAxis + 3, object.rotationAxis);
  object.rotationAngle = placement.rotationAngle;
  object.scale = placement.scale;
}
