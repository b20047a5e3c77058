// The web's entry points: emscripten links every WebGL 2 function into the program, so there is
// nothing to load, and WebGL 2 has framebuffer objects and texture units under their core names.
#include "platform/gl_entry_points.h"

namespace platform {

bool loadGLEntryPoints(std::string& /*problem*/) { return true; }

bool hasFramebufferObjects() { return true; }

bool hasMultitexture() { return true; }

std::string loaderVersion() { return "none (WebGL 2 entry points linked in)"; }

}  // namespace platform
