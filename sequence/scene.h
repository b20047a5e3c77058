// A timed scene: loads its own content and, each frame, decides from the time whether it draws.
#pragma once

class Scene {
 public:
  virtual ~Scene() = default;
  virtual void init() {}  // fixed data such as camera paths
  virtual void load() {}  // models, textures and everything built from them
  // timeSeconds: presentation time, not clamped; dtSeconds: frame duration, at most 0.1.
  virtual void update(float timeSeconds, float dtSeconds) {
    (void)timeSeconds;
    (void)dtSeconds;
  }
  virtual void release() {}  // frees some of what load() made
};
