#include "platform/gl_binding_record.h"

#include <GL/glew.h>

namespace platform {

namespace {

struct BindingRecord {
  unsigned int program = 0;
  unsigned int textures[kRecordedTextureUnits] = {};
};

BindingRecord& record() {
  static BindingRecord bindings;
  return bindings;
}

}  // namespace

void resetBindingRecord() { record() = BindingRecord(); }

void useProgram(unsigned int program) {
  BindingRecord& bindings = record();
  if (bindings.program == program) {
    return;
  }
  glUseProgram(program);
  bindings.program = program;
}

unsigned int programInUse() { return record().program; }

void bindTexture2D(int unit, unsigned int texture) {
  const bool recorded = unit >= 0 && unit < kRecordedTextureUnits;
  if (recorded && record().textures[unit] == texture) {
    return;
  }
  if (unit != 0) {
    glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
  }
  glBindTexture(GL_TEXTURE_2D, texture);
  if (unit != 0) {
    glActiveTexture(GL_TEXTURE0);
  }
  if (recorded) {
    record().textures[unit] = texture;
  }
}

unsigned int textureOnUnit(int unit) {
  return unit >= 0 && unit < kRecordedTextureUnits ? record().textures[unit] : 0u;
}

void deleteTextures(int count, const unsigned int* textures) {
  if (count <= 0) {
    return;
  }
  glDeleteTextures(count, textures);
  for (int index = 0; index < count; ++index) {
    for (unsigned int& bound : record().textures) {
      if (bound == textures[index] && textures[index] != 0) {
        bound = 0;
      }
    }
  }
}

}  // namespace platform
