// A timed scene: loads its own content and, each frame, decides from the time whether it draws.
// A frame is an advance (everything that moves, every random draw) followed by a draw (GL only), so
// that frames can be skipped without drawing and a scene can be played again from its start.
#pragma once

#include "gpu/frame_context.h"

class StateRecord;
class StateReader;

class Scene {
 public:
  virtual ~Scene() = default;
  virtual void init() {}  // fixed data such as camera paths
  // Models, textures and everything built from them; firstFrame says what the first frame is
  // drawn into, for surfaces that have to exist before the first frame.
  virtual void load(const FrameContext& /*firstFrame*/) {}
  // Moves the scene's state on to frame.timeSeconds (presentation time, not clamped) by
  // frame.dtSeconds (at most 0.1), without drawing.
  virtual void advance(const FrameContext& /*frame*/) {}
  // Draws the scene as the last advance left it; drawing again without an advance shows the same.
  virtual void draw(const FrameContext& /*frame*/) {}
  // Draws only the pictures that later frames are made from, for a frame that is not shown.
  virtual void drawFeedback(const FrameContext& /*frame*/) {}
  // Whether the scene draws the picture at this presentation time.
  virtual bool drawsAt(float /*timeSeconds*/) const { return false; }
  // Frames that must be drawn before timeSeconds for a picture at that time to be what a run from
  // the start shows: the scene's picture feeds on its earlier pictures.
  virtual int framesToSettle(float timeSeconds) const {
    (void)timeSeconds;
    return 0;
  }
  // Writes everything the frames change, as it stands now ...
  virtual void writeState(StateRecord& /*record*/) const {}
  // ... and reads back what writeState wrote: the next frames play as they did from there.
  virtual void readState(StateReader& /*reader*/) {}
  // Makes the scene's drawing surfaces for frame.drawable: at its surface size, the full size for
  // the drawable (drawingSurfaceSize) or smaller while frames come too slowly. Called once every
  // scene has loaded, and again whenever either size changes.
  virtual void resizeSurfaces(const FrameContext& /*frame*/) {}
};
