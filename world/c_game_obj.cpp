#include "world/c_game_obj.h"

#include "gpu/draw_layer.h"
#include "world/bounds.h"

const char* CGameObj::getName() const { return "CGameObj"; }

void CGameObj::applyTransform() {
  DrawLayer& layer = drawLayer();
  layer.pushMatrix();
  layer.translate(position.x, position.y, position.z);
  layer.rotate(rotationAngle, rotationAxis[0], rotationAxis[1], rotationAxis[2]);
  layer.scale(scale, scale, scale);
}

void CGameObj::render() {
  applyTransform();
  for (CGameObj* child : children) {
    child->render();
  }
  popTransform();
}

void CGameObj::popTransform() { drawLayer().popMatrix(); }

void CGameObj::update() {
  startBounds(boundsMin, boundsMax);
  for (CGameObj* child : children) {
    child->update();
    mergeBounds(boundsMin, boundsMax, child->boundsMin, child->boundsMax);
  }
}

CGameObj::~CGameObj() {
  for (CGameObj* child : children) {
    if (child->parentCount != 0) {
      child->parentCount -= 1;
      // The child outlives this object: it must not keep pointing at it.
      if (child->parent == this) {
        child->parent = nullptr;
      }
    } else {
      delete child;
    }
  }
}

void CGameObj::addChild(CGameObj* child) {
  child->parent = this;
  children.push_back(child);
  child->parentCount += 1;
}
