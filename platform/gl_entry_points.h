// The GL entry points of the current context: loaded once the context is current, with the
// framebuffer-object calls under their core names whichever way the driver offers them (GL 3.0,
// ARB_framebuffer_object, or the older EXT_framebuffer_object), so that drawing code calls one set.
#pragma once

#include <string>

namespace platform {

// False when the loader could not start (no current context); `problem` then says why.
bool loadGLEntryPoints(std::string& problem);
bool hasFramebufferObjects();
// Texture units with their own coordinates (GL 1.3), needed for more than one texture a draw.
bool hasMultitexture();

// A string the current context gives (GL_VERSION, GL_RENDERER, ...); empty where it gives none.
std::string driverText(unsigned int name);
// One integer of the current context's state (GL_MAX_TEXTURE_SIZE, ...); 0 where it gives none.
int driverInteger(unsigned int name);
// The entry-point loader's own version, for the log.
std::string loaderVersion();

}  // namespace platform
