#include "sequence/scene_list.h"

SceneList::~SceneList() {
  for (Scene* scene : scenes_) {
    delete scene;
  }
}

void SceneList::append(Scene* scene) { scenes_.push_back(scene); }

void SceneList::initAll() {
  for (Scene* scene : scenes_) {
    if (scene != nullptr) {
      scene->init();
    }
  }
}

void SceneList::loadAll() {
  for (Scene* scene : scenes_) {
    if (scene != nullptr) {
      scene->load();
    }
  }
}

void SceneList::updateAll(float timeSeconds, float dtSeconds) {
  for (Scene* scene : scenes_) {
    if (scene != nullptr) {
      scene->update(timeSeconds, dtSeconds);
    }
  }
}
