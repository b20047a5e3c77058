#include "sequence/scene_list.h"

SceneList::~SceneList() { releaseAll(); }

void SceneList::releaseAll() {
  for (Scene* scene : scenes_) {
    delete scene;
  }
  scenes_.clear();
}

void SceneList::append(Scene* scene) { scenes_.push_back(scene); }

void SceneList::resizeSurfacesAll(const FrameContext& frame) {
  forEachScene([&frame](Scene& scene) { scene.resizeSurfaces(frame); });
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

void SceneList::loadAll(const FrameContext& firstFrame) {
  forEachScene([&firstFrame](Scene& scene) { scene.load(firstFrame); });
}

void SceneList::advanceAll(const FrameContext& frame) {
  forEachScene([&frame](Scene& scene) { scene.advance(frame); });
}

void SceneList::drawAll(const FrameContext& frame) {
  forEachScene([&frame](Scene& scene) { scene.draw(frame); });
}

void SceneList::drawFeedbackAll(const FrameContext& frame) {
  forEachScene([&frame](Scene& scene) { scene.drawFeedback(frame); });
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
