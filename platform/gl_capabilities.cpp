#include "platform/gl_capabilities.h"

#include <GL/glew.h>

#include <cctype>

#include "platform/gl_entry_points.h"

namespace platform {

namespace {

GLCapabilities gCapabilities;

// The first "major.minor" in a version string: drivers put a prefix before it ("OpenGL ES 3.0
// Mesa …", "OpenGL ES GLSL ES 3.00") and vendor text after it.
bool firstVersionIn(const std::string& text, int& major, int& minor) {
  for (size_t at = 0; at < text.size(); ++at) {
    if (!std::isdigit(static_cast<unsigned char>(text[at]))) {
      continue;
    }
    size_t end = at;
    int whole = 0;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])) && whole < 1000) {
      whole = whole * 10 + (text[end] - '0');
      ++end;
    }
    if (end + 1 >= text.size() || text[end] != '.' || !std::isdigit(static_cast<unsigned char>(text[end + 1]))) {
      at = end;
      continue;
    }
    major = whole;
    minor = 0;
    for (++end; end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])) && minor < 1000; ++end) {
      minor = minor * 10 + (text[end] - '0');
    }
    return true;
  }
  return false;
}

int integerState(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return value;
}

bool atLeast(const GLCapabilities& record, int major, int minor) {
  return record.majorVersion > major || (record.majorVersion == major && record.minorVersion >= minor);
}

}  // namespace

const char* contextKindName(GLContextKind kind) {
  switch (kind) {
    case GLContextKind::Core:
      return "core";
    case GLContextKind::ES:
      return "es";
    case GLContextKind::Compatibility:
      break;
  }
  return "compat";
}

bool parseContextKind(const std::string& text, GLContextKind& kind) {
  for (const GLContextKind candidate : {GLContextKind::Compatibility, GLContextKind::Core, GLContextKind::ES}) {
    if (text == contextKindName(candidate)) {
      kind = candidate;
      return true;
    }
  }
  return false;
}

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
  record.largestTextureSide = integerState(GL_MAX_TEXTURE_SIZE);
  // ES names only the numbered draw buffers; the first is the one drawn into.
  const int windowDrawBuffer = integerState(es ? GL_DRAW_BUFFER0 : GL_DRAW_BUFFER);
  if (windowDrawBuffer != 0) {
    record.windowDrawBuffer = static_cast<unsigned int>(windowDrawBuffer);
  }
  if (record.framebufferObjects) {
    record.largestRenderbufferSide = integerState(GL_MAX_RENDERBUFFER_SIZE);
  }
  if (record.multisampleRenderbuffers) {
    record.samples = integerState(GL_MAX_SAMPLES);
  }
  if (record.multitexture) {
    // Fixed-function units carry coordinates and combiners; the shader back end's units are its
    // own and need only image units.
    record.textureUnits = integerState(kind == GLContextKind::Compatibility ? GL_MAX_TEXTURE_UNITS
                                                                             : GL_MAX_TEXTURE_IMAGE_UNITS);
  }
  // Queries of names a context does not know leave an error behind; it is not the frame's.
  while (glGetError() != GL_NO_ERROR) {
  }
  return record;
}

const GLCapabilities& contextCapabilities() { return gCapabilities; }

void setGLCapabilities(const GLCapabilities& capabilities) { gCapabilities = capabilities; }

}  // namespace platform
