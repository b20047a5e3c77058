#include "sequence/scene_list.h"

SceneList::~SceneList() { releaseAll(); }

void SceneList::releaseAll() {
  for (Scene* scene : scenes_) {
    delete scene;
  }
  scenes_.clear();
}

void SceneList::append(Scene* scene) { scenes_.push_back(scene); }

void SceneList::resizeSurfacesAll(int drawableWidth, int drawableHeight, SurfaceSize surfaceSize) {
  forEachScene([=](Scene& scene) { scene.resizeSurfaces(drawableWidth, drawableHeight, surfaceSize); });
}

int SceneList::sceneDrawingAt(float timeSeconds) const {
  int place = 0;
  for (const Scene* scene : scenes_) {
    if (scene != nullptr && scene->drawsAt(timeSeconds)) {
      return place;
    }
    ++place;
  }
  return -1;
}

void SceneList::initAll() {
  forEachScene([](Scene& scene) { scene.init(); });
}

void SceneList::loadAll() {
  forEachScene([](Scene& scene) { scene.load(); });
}

void SceneList::advanceAll(float timeSeconds, float dtSeconds) {
  forEachScene([=](Scene& scene) { scene.advance(timeSeconds, dtSeconds); });
}

void SceneList::drawAll(float timeSeconds, float dtSeconds) {
  forEachScene([=](Scene& scene) { scene.draw(timeSeconds, dtSeconds); });
}

void SceneList::drawFeedbackAll(float timeSeconds, float dtSeconds) {
  forEachScene([=](Scene& scene) { scene.drawFeedback(timeSeconds, dtSeconds); });
}

int SceneList::framesToSettle(float timeSeconds) const {
  int frames = 0;
  for (const Scene* scene : scenes_) {
    if (scene != nullptr && scene->framesToSettle(timeSeconds) > frames) {
      frames = scene->framesToSettle(timeSeconds);
    }
  }
  return frames;
}

void SceneList::writeStateAll(StateRecord& record) const {
  for (const Scene* scene : scenes_) {
    if (scene != nullptr) {
      scene->writeState(record);
    }
  }
}

void SceneList::readStateAll(StateReader& reader) {
  forEachScene([&reader](Scene& scene) { scene.readState(reader); });
}
