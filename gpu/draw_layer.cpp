#include "gpu/draw_layer.h"

#include <cassert>

#include "core/debug_log.h"

namespace {

std::unique_ptr<DrawLayer> gLayer;

}  // namespace

int changedFields(const PassState& from, const PassState& to) {
  int changes = 0;
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    changes += (from.units[unit].enabled != to.units[unit].enabled) + (from.units[unit].mode != to.units[unit].mode);
  }
  changes += (from.blend != to.blend) + (from.blendSource != to.blendSource) +
             (from.blendDestination != to.blendDestination) + (from.depthTest != to.depthTest) +
             (from.depthWrite != to.depthWrite) + (from.cullBackFaces != to.cullBackFaces) +
             (from.alphaTest != to.alphaTest) + (from.alphaAbove != to.alphaAbove) + (from.lighting != to.lighting) +
             (from.colorMaterial != to.colorMaterial) + (from.scissorTest != to.scissorTest);
  return changes;
}

bool meshArraysValid(const VertexArrays& arrays, const uint32_t* indices, int indexCount) {
  if (arrays.positions == nullptr || indices == nullptr || indexCount <= 0) {
    return false;
  }
  for (int index = 0; index < indexCount; ++index) {
    if (indices[index] >= static_cast<uint32_t>(arrays.vertexCount)) {
      DebugLog::append(kLogFileName, "Drawing layer: a mesh of %d vertices names a vertex past its end; not drawn\r\n",
                       arrays.vertexCount);
      return false;
    }
  }
  return true;
}

bool PassState::operator==(const PassState& other) const { return changedFields(*this, other) == 0; }

bool createDrawLayer(const platform::GLCapabilities& capabilities) {
  gLayer = createBackEnd(capabilities);
  if (gLayer == nullptr) {
    DebugLog::append(kLogFileName, "Drawing: no drawing layer for this %s context\r\n",
                     platform::contextKindName(capabilities.kind));
    return false;
  }
  DebugLog::append(kLogFileName, "Drawing: the %s back end, %s context (%s)\r\n", gLayer->backEndName(),
                   platform::contextKindName(capabilities.kind), capabilities.versionText.c_str());
  return true;
}

void releaseDrawLayer() { gLayer.reset(); }

bool hasDrawLayer() { return gLayer != nullptr; }

DrawLayer& drawLayer() {
  assert(gLayer != nullptr && "drawing before the drawing layer was made");
  return *gLayer;
}
