// What the presentation is made of, in one place for the program and its tests.
#include "app/presentation.h"

#include "sequence/camera.h"
#include "sequence/outdoor_scene.h"
#include "sequence/title_scene.h"
#include "sequence/tween_timeline.h"

void composePresentation(Presentation& show, const Drawable& drawable) {
  // The list owns its scenes from here on and plays them in this order. Loading adds the scenes'
  // own tweens (palms rising, windmills dropping) to the timeline before the rig's two.
  show.scenes.append(new OutdoorScene());
  show.scenes.append(new TitleScene());
  show.scenes.initAll();
  const FrameContext firstFrame = frameOf(0.0f, 0.0f, drawable);
  show.scenes.loadAll(firstFrame);
  // The shared target's surface is made once every scene has loaded, where the log has always
  // shown it.
  show.scenes.resizeSurfacesAll(firstFrame);

  // The rig's resting place, and the two pulses it shows: the target lift at 20 s and the field
  // of view at 30 s, both held at their end values afterwards.
  RigCamera& rig = rigCamera();
  rig.place(5.0f, 5.0f, 0.0f, 7.0f, 0.0f, 0.0f);
  tweenTimeline().addPingPong(&rig.fieldOfView, 50.0f, 65.0f, 30.0f, 33.0f, 0.2f);
  tweenTimeline().addPingPong(&show.targetLift, 0.0f, 5.0f, 20.0f, 23.0f, 0.3f);
}
