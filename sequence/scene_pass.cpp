#include "sequence/scene_pass.h"

PassState scenePass() {
  PassState state;
  state.depthTest = true;
  state.colorMaterial = true;
  state.units[0].enabled = true;
  return state;
}

PassState litScenePass() {
  PassState state = scenePass();
  state.lighting = true;
  return state;
}
