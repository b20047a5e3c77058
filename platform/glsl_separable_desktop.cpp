// How the desktop's drivers link stages, and their separable programs: one program per stage,
// combined by a program pipeline, from GL 4.1 or with ARB_separate_shader_objects.
#include "platform/glsl_runtime_objects.h"

#include "platform/gl_capabilities.h"

namespace platform {

StageLinking driverStageLinking() {
  // Both ways read programs back with the GL 2.0 calls. A GL 1.x context may still name the
  // separable-program extension, whose own entry points then come without those.
  const bool programCalls = GLEW_VERSION_2_0 && glCreateShader != nullptr && glUseProgram != nullptr &&
                            glGetProgramiv != nullptr && glDeleteProgram != nullptr;
  if (!programCalls) {
    return StageLinking::Unavailable;
  }
  // ES 3.0 has no separable programs (3.1 names them differently): its stages are always linked.
  if (!contextCapabilities().isES() && (GLEW_VERSION_4_1 || GLEW_ARB_separate_shader_objects) &&
      glCreateShaderProgramv != nullptr && glGenProgramPipelines != nullptr && glProgramUniform1f != nullptr) {
    return StageLinking::Separable;
  }
  return StageLinking::InPairs;
}

GLuint createSeparableProgram(GLenum shaderType, const char* source) {
  return glCreateShaderProgramv(shaderType, 1, &source);
}

void sendAlphaTestToProgram(GLuint program, GLint testLocation, bool enabled, GLint aboveLocation, float above) {
  glProgramUniform1i(program, testLocation, enabled ? 1 : 0);
  glProgramUniform1f(program, aboveLocation, above);
}

void bindPipelineStages(GLuint& pipeline, GLuint vertexProgram, GLuint fragmentProgram) {
  if (pipeline == 0) {
    glGenProgramPipelines(1, &pipeline);
  }
  glUseProgramStages(pipeline, GL_VERTEX_SHADER_BIT, vertexProgram);
  glUseProgramStages(pipeline, GL_FRAGMENT_SHADER_BIT, fragmentProgram);
  glBindProgramPipeline(vertexProgram != 0 || fragmentProgram != 0 ? pipeline : 0);
}

void sendToSeparableProgram(const GlslParameter& parameter) {
  const GLuint object = parameter.program->object;
  switch (parameter.type) {
    case GL_FLOAT:
      glProgramUniform1f(object, parameter.location, parameter.value[0]);
      return;
    case GL_FLOAT_VEC3:
      glProgramUniform3fv(object, parameter.location, 1, parameter.value);
      return;
    case GL_FLOAT_MAT4:
      glProgramUniformMatrix4fv(object, parameter.location, 1, GL_FALSE, parameter.value);
      return;
    default:
      if (isSamplerType(parameter.type)) {
        glProgramUniform1i(object, parameter.location, parameter.textureUnit);
      }
      return;
  }
}

void deletePipeline(GLuint& pipeline) {
  glBindProgramPipeline(0);
  glDeleteProgramPipelines(1, &pipeline);
  pipeline = 0;
}

}  // namespace platform
