#include "platform/gl_entry_points.h"

#include <GL/glew.h>

namespace platform {

std::string driverText(unsigned int name) {
  const GLubyte* text = glGetString(static_cast<GLenum>(name));
  return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text));
}

int driverInteger(unsigned int name) {
  GLint value = 0;
  glGetIntegerv(static_cast<GLenum>(name), &value);
  return value;
}

}  // namespace platform
