// What the current GL context is and can do, read once when the context is made.
// Every place that needs to know what the driver offers reads this record; nobody asks the driver again.
#pragma once

#include <string>

namespace platform {

// The kind of context asked for and got: the compatibility profile (fixed function and all), a
// core profile (3.3 and up, no fixed function), or OpenGL ES (3.0 and up, as WebGL 2 is).
enum class GLContextKind { Compatibility, Core, ES };

const char* contextKindName(GLContextKind kind);  // "compat", "core", "es"
// Reads a `--gl` value; false for anything else.
bool parseContextKind(const std::string& text, GLContextKind& kind);

struct GLCapabilities {
  GLContextKind kind = GLContextKind::Compatibility;
  int majorVersion = 0;
  int minorVersion = 0;
  // Shading language version times 100 (120, 330, 300 for ES 3.00); 0 without GLSL.
  int shadingLanguageVersion = 0;
  std::string versionText;
  std::string renderer;
  std::string shadingLanguageText;
  bool framebufferObjects = false;
  bool framebufferBlit = false;
  bool multisampleRenderbuffers = false;
  bool separablePrograms = false;
  // Textures of any size; without it every texture side is a power of two.
  bool anySizeTextures = false;
  bool multitexture = false;
  bool vertexPrograms = false;    // GL 2.0 program objects with a vertex stage
  bool fragmentPrograms = false;  // and a fragment stage
  bool debugOutput = false;       // KHR_debug or ARB_debug_output entry points present
  int textureUnits = 1;           // units with their own coordinates and combiners
  int largestTextureSide = 64;
  int largestRenderbufferSide = 0;
  int samples = 0;                // largest multisample count of a renderbuffer
  bool pixelBuffers = false;      // pixel-pack buffer objects for reading frames back
  // The buffer the window's own framebuffer draws into (GL_BACK where it is double-buffered), read
  // while that framebuffer is bound, so that reading frames back asks the driver nothing; GL_BACK
  // where the driver does not say.
  unsigned int windowDrawBuffer = 0x0405;

  bool isES() const { return kind == GLContextKind::ES; }
  bool hasFixedFunction() const { return kind == GLContextKind::Compatibility; }
};

// Reads the record from the context that is current; the entry points must be loaded. The desktop
// asks the driver what it offers (gl_capabilities_desktop.cpp); a browser's WebGL 2 is one fixed
// record of ES 3.0 (gl_capabilities_web.cpp).
GLCapabilities readGLCapabilities(GLContextKind kind);

// The first "major.minor" in a version string: drivers put a prefix before it ("OpenGL ES 3.0
// Mesa …", "OpenGL ES GLSL ES 3.00") and vendor text after it. False when there is none.
bool firstVersionIn(const std::string& text, int& major, int& minor);

// The record of the context the program draws with: set once the context is made, read by all.
const GLCapabilities& contextCapabilities();
void setGLCapabilities(const GLCapabilities& capabilities);

}  // namespace platform
