#include "effects/effect_pass.h"

PassState blendedEffectPass(BlendFactor source, BlendFactor destination, TextureMode mode) {
  PassState pass;
  pass.blend = true;
  pass.blendSource = source;
  pass.blendDestination = destination;
  pass.depthTest = true;
  pass.depthWrite = false;
  pass.cullBackFaces = false;
  pass.lighting = false;
  pass.colorMaterial = true;
  pass.units[0] = TextureUnitState{true, mode};
  return pass;
}
