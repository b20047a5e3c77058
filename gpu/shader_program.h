// One compiled shader program as the shader manager keeps it: where it came from and its handle.
#pragma once

#include <string>

#include "platform/glsl_runtime.h"

struct ShaderProgram {
  // The source file it was made from; empty until creation succeeds.
  std::string name;
  // Owned by the shader manager's context, which frees it at release.
  platform::GlslProgram* program = nullptr;
  platform::ShaderProfile profile = platform::ShaderProfile::Unknown;
};
