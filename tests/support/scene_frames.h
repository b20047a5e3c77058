// One shown frame of a scene, as the program plays it: the advance, then the drawing.
#pragma once

#include "sequence/scene.h"

inline void playFrame(Scene& scene, float timeSeconds, float dtSeconds) {
  scene.advance(timeSeconds, dtSeconds);
  scene.draw(timeSeconds, dtSeconds);
}
