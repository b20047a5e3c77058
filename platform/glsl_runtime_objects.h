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
  GLint location = -1;       // in the program's own object
  GLenum type = 0;           // the GLSL type, e.g. GL_FLOAT_VEC3 or GL_SAMPLER_2D
  GLint textureUnit = -1;    // samplers only
  GLuint texture = 0;        // samplers only: the texture last set
  // The value last loaded (a matrix, a 3-vector or a scalar), kept so that a stage linked with
  // another one later receives it too.
  float value[16] = {};
};

struct GlslProgram {
  GlslContext* context = nullptr;
  // A separable program, or, where stages are linked in pairs, this stage linked on its own: it
  // lists the stage's uniforms and runs it while the other stage is fixed-function.
  GLuint object = 0;
  // Where stages are linked in pairs: the compiled stage, attached to every pair it is part of.
  GLuint shader = 0;
  ShaderProfile profile = ShaderProfile::Unknown;
  std::vector<std::unique_ptr<GlslParameter>> parameters;
  // A fragment stage translated for a context without fixed function: its alpha-test uniforms in
  // its own object (-1 elsewhere).
  GLint alphaTestLocation = -1;
  GLint alphaAboveLocation = -1;
};

struct GlslContext {
  std::vector<std::unique_ptr<GlslProgram>> programs;
};

// How the driver lets a vertex and a fragment stage run together; driverStageLinking() is defined
// with the separable programs, per target.
enum class StageLinking {
  Separable,    // each stage is its own program; a pipeline combines them
  InPairs,      // the stages bound at the time are linked into one program, made once per pair
  Unavailable,  // no GLSL at all
};
StageLinking driverStageLinking();

// Records an error for getError(); a later failure replaces an earlier one.
void recordError(ShaderError error);
bool isSamplerType(GLenum type);
// Reads the active uniforms of `listing` (a program holding the stage) into the program's parameter
// table, with their locations in the program's own object, and gives the samplers units.
void collectParameters(GlslProgram& program, unsigned int listing);
// Sends the parameter's kept value (a sampler's unit) to `location` of the program in use.
void sendKeptValue(const GlslParameter& parameter, GLint location);
// Sends a parameter's new value wherever it takes effect: into its separable program, or into the
// linked program in use when its stage is part of it. Defined with the stage binding.
void publishParameter(const GlslParameter& parameter);

// Separable programs, where the driver has them: the desktop's from GL 4.1 or with
// ARB_separate_shader_objects (glsl_separable_desktop.cpp). WebGL 2 has none
// (glsl_separable_web.cpp), where driverStageLinking() never answers Separable and these calls are
// never made.
// A program of one stage from its source, 0 when the driver made none; it may not have linked.
GLuint createSeparableProgram(GLenum shaderType, const char* source);
// The pass's alpha test into a fragment program's two uniforms.
void sendAlphaTestToProgram(GLuint program, GLint testLocation, bool enabled, GLint aboveLocation, float above);
// Makes the pipeline (once) and points its stages at the programs (0: none), then leaves it bound
// while either stage has one.
void bindPipelineStages(GLuint& pipeline, GLuint vertexProgram, GLuint fragmentProgram);
// The parameter's kept value (a sampler's unit) into its own separable program.
void sendToSeparableProgram(const GlslParameter& parameter);
// Unbinds and deletes the pipeline; it is 0 afterwards.
void deletePipeline(GLuint& pipeline);

}  // namespace platform
