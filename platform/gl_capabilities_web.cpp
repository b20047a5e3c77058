// The web's record: a browser's WebGL 2 is OpenGL ES 3.0 with nothing more the presentation uses.
// Every GL entry point is declared and linked here, so presence says nothing; what WebGL 2 lacks
// is written down instead: no debug messages and no separable programs. Pixel buffers read frames
// back, copied out of the buffer (WebGL 2 maps buffers only for writing).
#include "platform/gl_capabilities.h"

#include <GLES3/gl3.h>

#include "platform/gl_entry_points.h"

namespace platform {

GLCapabilities readGLCapabilities(GLContextKind kind) {
  GLCapabilities record;
  record.kind = kind;
  record.versionText = driverText(GL_VERSION);
  record.renderer = driverText(GL_RENDERER);
  record.shadingLanguageText = driverText(GL_SHADING_LANGUAGE_VERSION);
  if (!firstVersionIn(record.versionText, record.majorVersion, record.minorVersion)) {
    record.majorVersion = 3;
    record.minorVersion = 0;
  }
  record.shadingLanguageVersion = 300;
  record.vertexPrograms = true;
  record.fragmentPrograms = true;
  record.framebufferObjects = true;
  record.framebufferBlit = true;
  record.multisampleRenderbuffers = true;
  record.separablePrograms = false;
  record.anySizeTextures = true;
  record.multitexture = true;
  record.debugOutput = false;
  record.pixelBuffers = true;
  record.largestTextureSide = driverInteger(GL_MAX_TEXTURE_SIZE);
  record.largestRenderbufferSide = driverInteger(GL_MAX_RENDERBUFFER_SIZE);
  record.samples = driverInteger(GL_MAX_SAMPLES);
  record.textureUnits = driverInteger(GL_MAX_TEXTURE_IMAGE_UNITS);
  return record;
}

}  // namespace platform
