// The presentation's scenes in the order they were appended; forwards every life-cycle call.
// The list owns its scenes and deletes them when it is destroyed.
#pragma once

#include <cstddef>
#include <list>

#include "sequence/scene.h"

class SceneList {
 public:
  SceneList() = default;
  SceneList(const SceneList&) = delete;
  SceneList& operator=(const SceneList&) = delete;
  virtual ~SceneList();  // releaseAll()
  // Deletes every scene, and with them their GL objects; needs the context that made them.
  void releaseAll();
  void resizeSurfacesAll(const FrameContext& frame);
  // The place in the list of the first scene that draws at this time; -1 when none does.
  int sceneDrawingAt(float timeSeconds) const;

  void append(Scene* scene);  // takes ownership
  void initAll();
  void loadAll(const FrameContext& firstFrame);
  void advanceAll(const FrameContext& frame);
  void drawAll(const FrameContext& frame);
  void drawFeedbackAll(const FrameContext& frame);
  int framesToSettle(float timeSeconds) const;  // the most any scene needs
  // Every scene's part of what the frames change, in list order.
  void writeStateAll(StateRecord& record) const;
  void readStateAll(StateReader& reader);
  std::size_t size() const { return scenes_.size(); }

 private:
  // Calls call(scene) for every scene in order, skipping null entries.
  template <typename Call>
  void forEachScene(Call call) {
    for (Scene* scene : scenes_) {
      if (scene != nullptr) {
        call(*scene);
      }
    }
  }

  std::list<Scene*> scenes_;
};
