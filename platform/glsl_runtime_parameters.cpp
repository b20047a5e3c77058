// Named parameters of the shader runtime: the uniform table of a program and the loads into it.
#include <algorithm>
#include <cstring>

#include "core/draw_counts.h"
#include "core/matrix4.h"
#include "platform/gl_binding_record.h"
#include "platform/gl_capabilities.h"
#include "platform/glsl_runtime.h"
#include "platform/glsl_runtime_objects.h"
#include "platform/glsl_translation.h"

namespace platform {

namespace {

GLenum textureTargetOf(GLenum samplerType) {
  switch (samplerType) {
    case GL_SAMPLER_1D:
    case GL_SAMPLER_1D_SHADOW:
      return GL_TEXTURE_1D;
    case GL_SAMPLER_3D:
      return GL_TEXTURE_3D;
    case GL_SAMPLER_CUBE:
    case GL_SAMPLER_CUBE_SHADOW:
      return GL_TEXTURE_CUBE_MAP;
    default:
      return GL_TEXTURE_2D;
  }
}

// Array uniforms are listed as "name[0]"; they are asked for by their bare name.
std::string bareUniformName(const char* listedName) {
  std::string name = listedName;
  const size_t length = name.size();
  if (length > 3 && name.compare(length - 3, 3, "[0]") == 0) {
    name.resize(length - 3);
  }
  return name;
}

// A sampler bound in the source (layout(binding = N)) keeps its unit. Otherwise all read 0, and
// they are numbered in the order the program lists them.
void assignTextureUnits(GlslProgram& program) {
  bool sourceBindsUnits = false;
  // The program is made current while its samplers are read: emscripten's WebGL binding looks a
  // location up in the current program, whatever program the call names. The program current
  // before is current again afterwards.
  GLint previous = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
  glUseProgram(program.object);
  for (const auto& parameter : program.parameters) {
    if (isSamplerType(parameter->type) && parameter->location >= 0) {
      GLint unit = 0;
      countQueries(1);
      glGetUniformiv(program.object, parameter->location, &unit);
      parameter->textureUnit = unit;
      sourceBindsUnits = sourceBindsUnits || unit != 0;
    }
  }
  glUseProgram(static_cast<GLuint>(previous));
  GLint nextUnit = 0;
  for (const auto& parameter : program.parameters) {
    if (isSamplerType(parameter->type) && !sourceBindsUnits) {
      parameter->textureUnit = nextUnit++;
      publishParameter(*parameter);
    }
  }
}

bool hasType(const GlslParameter* parameter, GLenum type) {
  if (parameter == nullptr) {
    recordError(ShaderError::InvalidParameter);
    return false;
  }
  if (parameter->type != type) {
    recordError(ShaderError::ParameterTypeMismatch);
    return false;
  }
  return true;
}

bool isSampler(const GlslParameter* parameter) {
  if (parameter == nullptr) {
    recordError(ShaderError::InvalidParameter);
    return false;
  }
  if (!isSamplerType(parameter->type)) {
    recordError(ShaderError::ParameterTypeMismatch);
    return false;
  }
  return true;
}

// The matrices handed over for a context without fixed function; identities until then.
struct HandedMatrices {
  Matrix4 modelView;
  Matrix4 projection;
};

HandedMatrices& handedMatrices() {
  static HandedMatrices matrices;
  return matrices;
}

// One of the GL's matrices (GL_MODELVIEW_MATRIX or GL_PROJECTION_MATRIX) as it stands now.
Matrix4 stateMatrix(GLenum name) {
  if (!contextCapabilities().hasFixedFunction()) {
    return name == GL_MODELVIEW_MATRIX ? handedMatrices().modelView : handedMatrices().projection;
  }
  Matrix4 value;
  value.isIdentity = false;
  countQueries(1);
  glGetFloatv(name, value.m);
  return value;
}

// Binds the texture on the sampler's unit; unit 0 stays the active one. 2D textures go through the
// binding record, which the drawing layer reads.
void bindOnUnit(const GlslParameter& parameter, GLuint texture) {
  const GLenum target = textureTargetOf(parameter.type);
  if (target == GL_TEXTURE_2D) {
    bindTexture2D(parameter.textureUnit, texture);
    return;
  }
  glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + parameter.textureUnit));
  glBindTexture(target, texture);
  glActiveTexture(GL_TEXTURE0);
}

bool isAlphaTestUniform(const char* name) {
  return std::strcmp(name, kAlphaTestUniform) == 0 || std::strcmp(name, kAlphaAboveUniform) == 0;
}

}  // namespace

bool isSamplerType(GLenum type) {
  switch (type) {
    case GL_SAMPLER_1D:
    case GL_SAMPLER_2D:
    case GL_SAMPLER_3D:
    case GL_SAMPLER_CUBE:
    case GL_SAMPLER_1D_SHADOW:
    case GL_SAMPLER_2D_SHADOW:
    case GL_SAMPLER_CUBE_SHADOW:
      return true;
    default:
      return false;
  }
}

void collectParameters(GlslProgram& program, unsigned int listing) {
  GLint uniformCount = 0;
  GLint longestName = 0;
  countQueries(2);
  glGetProgramiv(listing, GL_ACTIVE_UNIFORMS, &uniformCount);
  glGetProgramiv(listing, GL_ACTIVE_UNIFORM_MAX_LENGTH, &longestName);
  std::string nameBuffer(static_cast<size_t>(longestName > 0 ? longestName : 1), '\0');
  for (GLint index = 0; index < uniformCount; ++index) {
    GLsizei nameLength = 0;
    GLint size = 0;
    GLenum type = 0;
    countQueries(2);
    glGetActiveUniform(listing, static_cast<GLuint>(index), static_cast<GLsizei>(nameBuffer.size()), &nameLength,
                       &size, &type, &nameBuffer[0]);
    // Uniforms inside blocks and the GL's own state (gl_...) have no location of their own; the
    // alpha test a translation adds is the runtime's, not a parameter.
    if (glGetUniformLocation(listing, nameBuffer.c_str()) < 0 || isAlphaTestUniform(nameBuffer.c_str())) {
      continue;
    }
    // In the program's own object a uniform that only shapes what the stage hands on may be gone
    // (location -1); loads to it then do nothing, as nothing there reads it.
    countQueries(1);
    const GLint location = glGetUniformLocation(program.object, nameBuffer.c_str());
    auto parameter = std::make_unique<GlslParameter>();
    parameter->program = &program;
    parameter->name = bareUniformName(nameBuffer.c_str());
    parameter->location = location;
    parameter->type = type;
    program.parameters.push_back(std::move(parameter));
  }
  assignTextureUnits(program);
}

void sendKeptValue(const GlslParameter& parameter, GLint location) {
  switch (parameter.type) {
    case GL_FLOAT:
      glUniform1f(location, parameter.value[0]);
      return;
    case GL_FLOAT_VEC3:
      glUniform3fv(location, 1, parameter.value);
      return;
    case GL_FLOAT_MAT4:
      glUniformMatrix4fv(location, 1, GL_FALSE, parameter.value);
      return;
    default:
      if (isSamplerType(parameter.type)) {
        glUniform1i(location, parameter.textureUnit);
      }
      return;
  }
}

GlslParameter* namedParameter(GlslProgram* program, const char* name) {
  if (program == nullptr) {
    recordError(ShaderError::InvalidProgram);
    return nullptr;
  }
  if (name == nullptr) {
    return nullptr;
  }
  for (const auto& parameter : program->parameters) {
    if (parameter->name == name) {
      return parameter.get();
    }
  }
  return nullptr;
}

void setStateMatrixParameter(GlslParameter* parameter, StateMatrix matrix, MatrixTransform transform) {
  if (!hasType(parameter, GL_FLOAT_MAT4)) {
    return;
  }
  if (transform != MatrixTransform::Identity && transform != MatrixTransform::Transpose) {
    recordError(ShaderError::InvalidEnumerant);
    return;
  }
  Matrix4 value;
  switch (matrix) {
    case StateMatrix::ModelView:
      value = stateMatrix(GL_MODELVIEW_MATRIX);
      break;
    case StateMatrix::Projection:
      value = stateMatrix(GL_PROJECTION_MATRIX);
      break;
    case StateMatrix::ModelViewProjection:
      value = stateMatrix(GL_PROJECTION_MATRIX);
      value.multiply(stateMatrix(GL_MODELVIEW_MATRIX));
      break;
    default:
      recordError(ShaderError::InvalidEnumerant);
      return;
  }
  // Kept as the program will hold it, so every later send is a plain column-major load.
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      const bool transpose = transform == MatrixTransform::Transpose;
      parameter->value[column * 4 + row] = transpose ? value.m[row * 4 + column] : value.m[column * 4 + row];
    }
  }
  publishParameter(*parameter);
}

void setStateMatrices(const float modelView[16], const float projection[16]) {
  std::copy(modelView, modelView + 16, handedMatrices().modelView.m);
  std::copy(projection, projection + 16, handedMatrices().projection.m);
  handedMatrices().modelView.isIdentity = false;
  handedMatrices().projection.isIdentity = false;
}

void setParameter3fv(GlslParameter* parameter, const float values[3]) {
  if (!hasType(parameter, GL_FLOAT_VEC3)) {
    return;
  }
  std::copy(values, values + 3, parameter->value);
  publishParameter(*parameter);
}

void setParameter1f(GlslParameter* parameter, float value) {
  if (!hasType(parameter, GL_FLOAT)) {
    return;
  }
  parameter->value[0] = value;
  publishParameter(*parameter);
}

void setTextureParameter(GlslParameter* parameter, unsigned int texture) {
  if (!isSampler(parameter)) {
    return;
  }
  parameter->texture = texture;
  publishParameter(*parameter);
}

void enableTextureParameter(GlslParameter* parameter) {
  if (isSampler(parameter)) {
    bindOnUnit(*parameter, parameter->texture);
  }
}

void disableTextureParameter(GlslParameter* parameter) {
  if (isSampler(parameter)) {
    bindOnUnit(*parameter, 0);
  }
}

unsigned int textureParameter(const GlslParameter* parameter) {
  return parameter == nullptr ? 0 : parameter->texture;
}

int textureUnit(const GlslParameter* parameter) { return parameter == nullptr ? -1 : parameter->textureUnit; }

}  // namespace platform
