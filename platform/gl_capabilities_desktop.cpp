// The desktop's record: what the context's version and the entry points GLEW found offer.
#include "platform/gl_capabilities.h"

#include <GL/glew.h>

#include "platform/gl_entry_points.h"

namespace platform {

namespace {

bool atLeast(const GLCapabilities& record, int major, int minor) {
  return record.majorVersion > major || (record.majorVersion == major && record.minorVersion >= minor);
}

}  // namespace

GLCapabilities readGLCapabilities(GLContextKind kind) {
  GLCapabilities record;
  record.kind = kind;
  record.versionText = driverText(GL_VERSION);
  record.renderer = driverText(GL_RENDERER);
  firstVersionIn(record.versionText, record.majorVersion, record.minorVersion);
  const bool es = kind == GLContextKind::ES;
  // ES 3.0 has everything GL 3.0 brought that the presentation uses.
  const bool modern = atLeast(record, 3, 0);
  const bool programCalls = (es || atLeast(record, 2, 0)) && glCreateShader != nullptr && glUseProgram != nullptr &&
                            glGetProgramiv != nullptr && glDeleteProgram != nullptr;
  if (programCalls) {
    record.shadingLanguageText = driverText(GL_SHADING_LANGUAGE_VERSION);
    int major = 0;
    int minor = 0;
    if (firstVersionIn(record.shadingLanguageText, major, minor)) {
      // "1.20" is 120, "3.00" is 300; a one-digit minor ("1.2") is tenths.
      record.shadingLanguageVersion = major * 100 + (minor < 10 ? minor * 10 : minor);
    }
  }
  record.vertexPrograms = programCalls;
  record.fragmentPrograms = programCalls;
  record.framebufferObjects = hasFramebufferObjects();
  record.framebufferBlit = record.framebufferObjects && glBlitFramebuffer != nullptr;
  record.multisampleRenderbuffers = record.framebufferObjects && glRenderbufferStorageMultisample != nullptr;
  record.separablePrograms = programCalls && !es && (GLEW_VERSION_4_1 || GLEW_ARB_separate_shader_objects) &&
                             glCreateShaderProgramv != nullptr && glGenProgramPipelines != nullptr &&
                             glProgramUniform1f != nullptr;
  record.anySizeTextures = modern || GLEW_ARB_texture_non_power_of_two;
  record.multitexture = es || kind == GLContextKind::Core ? glActiveTexture != nullptr : hasMultitexture();
  record.debugOutput = (glDebugMessageCallback != nullptr && glDebugMessageControl != nullptr) ||
                       (glDebugMessageCallbackARB != nullptr && glDebugMessageControlARB != nullptr);
  // Compatibility contexts map whole buffers; core and ES ones map ranges (ES has nothing else).
  const bool mapping = kind == GLContextKind::Compatibility ? glMapBuffer != nullptr : glMapBufferRange != nullptr;
  record.pixelBuffers = glGenBuffers != nullptr && mapping && (es || GLEW_VERSION_2_1 || GLEW_ARB_pixel_buffer_object);
  record.largestTextureSide = driverInteger(GL_MAX_TEXTURE_SIZE);
  // ES names only the numbered draw buffers; the first is the one drawn into.
  const int windowDrawBuffer = driverInteger(es ? GL_DRAW_BUFFER0 : GL_DRAW_BUFFER);
  if (windowDrawBuffer != 0) {
    record.windowDrawBuffer = static_cast<unsigned int>(windowDrawBuffer);
  }
  if (record.framebufferObjects) {
    record.largestRenderbufferSide = driverInteger(GL_MAX_RENDERBUFFER_SIZE);
  }
  if (record.multisampleRenderbuffers) {
    record.samples = driverInteger(GL_MAX_SAMPLES);
  }
  if (record.multitexture) {
    // Fixed-function units carry coordinates and combiners; the shader back end's units are its
    // own and need only image units.
    record.textureUnits = driverInteger(kind == GLContextKind::Compatibility ? GL_MAX_TEXTURE_UNITS
                                                                             : GL_MAX_TEXTURE_IMAGE_UNITS);
  }
  // Queries of names a context does not know leave an error behind; it is not the frame's.
  while (glGetError() != GL_NO_ERROR) {
  }
  return record;
}

}  // namespace platform
