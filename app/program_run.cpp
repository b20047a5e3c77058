#include "app/program_run.h"

#include "app/gl_window.h"

ProgramRun& programRun() {
  static ProgramRun run;
  return run;
}

Drawable currentDrawable() {
  const GLWindow& window = programRun().window;
  return Drawable{window.drawableWidth(), window.drawableHeight(), programRun().surfaces.size()};
}
