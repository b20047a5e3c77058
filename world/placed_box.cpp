#include "world/placed_box.h"

#include <cmath>

#include "world/bounds.h"
#include "world/c_static_3d.h"

namespace {

// Objects nested deeper than this below the one asked about are not followed: the box is refused.
constexpr int kMaxDepth = 8;

// The objects from the one being walked up to the one asked about, innermost first.
struct Chain {
  const CGameObj* links[kMaxDepth + 1] = {};
  int count = 0;
};

// p from the object's own frame into the frame it is placed in: scale, turn, then move, the
// reverse of the order applyTransform multiplies them in.
Vector3 placedPoint(const CGameObj& object, const Vector3& p) {
  return object.position + rotatedAbout(p * object.scale, object.rotationAxis, object.rotationAngle);
}

// Merges the model box of chain's innermost object, carried out through every link.
void mergeModelBox(const Chain& chain, const Model& model, float boxMin[3], float boxMax[3]) {
  for (int corner = 0; corner < 8; ++corner) {
    Vector3 p((corner & 1) != 0 ? model.boundsMax[0] : model.boundsMin[0],
              (corner & 2) != 0 ? model.boundsMax[1] : model.boundsMin[1],
              (corner & 4) != 0 ? model.boundsMax[2] : model.boundsMin[2], 0.0f);
    for (int link = 0; link < chain.count; ++link) {
      p = placedPoint(*chain.links[link], p);
    }
    const float point[3] = {p.x, p.y, p.z};
    mergeBounds(boxMin, boxMax, point, point);
  }
}

// Walks object and its descendants; outer holds object's parent up to the object asked about.
// False as soon as a descendant draws something without a box.
bool mergeTree(const CStatic3D& object, const Chain& outer, float boxMin[3], float boxMax[3], bool& anyModel) {
  if (outer.count > kMaxDepth) {
    return false;
  }
  Chain chain;
  chain.links[0] = &object;
  for (int link = 0; link < outer.count; ++link) {
    chain.links[link + 1] = outer.links[link];
  }
  chain.count = outer.count + 1;
  const Model* model = object.model;
  if (model != nullptr && model->boundsMin[0] <= model->boundsMax[0]) {
    mergeModelBox(chain, *model, boxMin, boxMax);
    anyModel = true;
  }
  for (const CGameObj* child : object.children) {
    const auto* staticChild = dynamic_cast<const CStatic3D*>(child);
    if (staticChild == nullptr || !mergeTree(*staticChild, chain, boxMin, boxMax, anyModel)) {
      return false;
    }
  }
  return true;
}

}  // namespace

Vector3 rotatedAbout(const Vector3& v, const float axis[3], float angleDegrees) {
  const float length = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
  if (angleDegrees == 0.0f || length == 0.0f) {
    return v;
  }
  const float kx = axis[0] / length;
  const float ky = axis[1] / length;
  const float kz = axis[2] / length;
  const float radians = angleDegrees * 3.14159265f / 180.0f;
  const float c = std::cos(radians);
  const float s = std::sin(radians);
  const float dot = kx * v.x + ky * v.y + kz * v.z;
  return Vector3(v.x * c + (ky * v.z - kz * v.y) * s + kx * dot * (1.0f - c),
                 v.y * c + (kz * v.x - kx * v.z) * s + ky * dot * (1.0f - c),
                 v.z * c + (kx * v.y - ky * v.x) * s + kz * dot * (1.0f - c), 0.0f);
}

bool placedBox(const CStatic3D& object, float boxMin[3], float boxMax[3]) {
  startBounds(boxMin, boxMax);
  bool anyModel = false;
  return mergeTree(object, Chain(), boxMin, boxMax, anyModel) && anyModel;
}
