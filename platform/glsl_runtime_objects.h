// The records behind the shader runtime's handles, shared by its program and parameter halves.
#pragma once

#include <GL/glew.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/glsl_runtime.h"

namespace platform {

struct GlslParameter {
  GlslProgram* program = nullptr;
  std::string name;
  GLint location = -1;
  GLenum type = 0;           // the GLSL type, e.g. GL_FLOAT_VEC3 or GL_SAMPLER_2D
  GLint textureUnit = -1;    // samplers only
  GLuint texture = 0;        // samplers only: the texture last set
};

struct GlslProgram {
  GlslContext* context = nullptr;
  GLuint object = 0;
  ShaderProfile profile = ShaderProfile::Unknown;
  std::vector<std::unique_ptr<GlslParameter>> parameters;
};

struct GlslContext {
  std::vector<std::unique_ptr<GlslProgram>> programs;
};

// Records an error for getError(); a later failure replaces an earlier one.
void recordError(ShaderError error);
bool isSamplerType(GLenum type);
// Reads the program's active uniforms into its parameter table and gives the samplers units.
void collectParameters(GlslProgram& program);

}  // namespace platform
