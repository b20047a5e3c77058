#include "world/view_volume.h"

#include <cmath>

#include "gpu/matrix_helpers.h"
#include "world/c_static_3d.h"
#include "world/placed_box.h"

namespace {

// Row r of a column-major matrix.
float at(const float m[16], int row, int column) { return m[column * 4 + row]; }

}  // namespace

ViewVolume ViewVolume::fromCurrentMatrices() { return fromMatrix(currentClipMatrix().m); }

ViewVolume ViewVolume::fromMatrix(const float clip[16]) {
  ViewVolume volume;
  // Left, right, bottom, top, near, far: the last row plus or minus each of the others.
  for (int plane = 0; plane < 6; ++plane) {
    const int row = plane / 2;
    const float sign = plane % 2 == 0 ? 1.0f : -1.0f;
    float* const values = volume.planes[plane];
    for (int column = 0; column < 4; ++column) {
      values[column] = at(clip, 3, column) + sign * at(clip, row, column);
    }
    // Unit normals, so that a plane's value at a point is the point's distance from it.
    const float length = std::sqrt(values[0] * values[0] + values[1] * values[1] + values[2] * values[2]);
    if (length > 0.0f) {
      for (int column = 0; column < 4; ++column) {
        values[column] /= length;
      }
    }
  }
  return volume;
}

bool ViewVolume::sphereOutside(const Vector3& centre, float radius) const {
  for (const auto& plane : planes) {
    const float distance = plane[0] * centre.x + plane[1] * centre.y + plane[2] * centre.z + plane[3];
    if (distance < -radius) {
      return true;
    }
  }
  return false;
}

bool ViewVolume::boxOutside(const float boxMin[3], const float boxMax[3]) const {
  for (const auto& plane : planes) {
    // The corner farthest along the plane's normal is the last to leave.
    const float x = plane[0] >= 0.0f ? boxMax[0] : boxMin[0];
    const float y = plane[1] >= 0.0f ? boxMax[1] : boxMin[1];
    const float z = plane[2] >= 0.0f ? boxMax[2] : boxMin[2];
    if (plane[0] * x + plane[1] * y + plane[2] * z + plane[3] < -0.01f) {
      return true;
    }
  }
  return false;
}

bool modelOutside(const ViewVolume& volume, const CStatic3D& object) {
  const Model* model = object.model;
  if (model == nullptr || model->boundsMin[0] > model->boundsMax[0]) {
    return false;
  }
  const Vector3 middle(0.5f * (model->boundsMin[0] + model->boundsMax[0]), 0.5f * (model->boundsMin[1] + model->boundsMax[1]),
                       0.5f * (model->boundsMin[2] + model->boundsMax[2]), 0.0f);
  const float dx = model->boundsMax[0] - model->boundsMin[0];
  const float dy = model->boundsMax[1] - model->boundsMin[1];
  const float dz = model->boundsMax[2] - model->boundsMin[2];
  const float scale = std::fabs(object.scale);
  // A little more than the box's half diagonal, so rounding never leaves out an edge pixel.
  const float radius = 0.5f * std::sqrt(dx * dx + dy * dy + dz * dz) * scale * 1.01f + 0.01f;
  const Vector3 centre = object.position + rotatedAbout(middle * scale, object.rotationAxis, object.rotationAngle);
  return volume.sphereOutside(centre, radius);
}
