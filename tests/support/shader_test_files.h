// Helpers for the shader tests: small source files written into the working folder, and the
// part of the log a test added.
#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/debug_log.h"

// A vertex stage with a matrix, a 3-vector and a scalar, all used so the compiler keeps them.
constexpr const char* kTestVertexSource =
    "#version 410 compatibility\n"
    "uniform mat4 transform;\n"
    "uniform vec3 offset;\n"
    "uniform float scale;\n"
    "layout(location = 0) out vec3 shade;\n"
    "void main() {\n"
    "  gl_Position = transform * vec4(gl_Vertex.xyz * scale + offset, 1.0);\n"
    "  shade = offset;\n"
    "}\n";

// A fragment stage with two samplers and a colour.
constexpr const char* kTestFragmentSource =
    "#version 410 compatibility\n"
    "uniform sampler2D first;\n"
    "uniform sampler2D second;\n"
    "uniform vec3 colour;\n"
    "layout(location = 0) in vec3 shade;\n"
    "layout(location = 0) out vec4 result;\n"
    "void main() {\n"
    "  result = texture(first, vec2(0.5)) * texture(second, vec2(0.5)) * vec4(colour + shade, 1.0);\n"
    "}\n";

inline void writeTextFile(const std::string& path, const std::string& text) {
  std::ofstream stream(path, std::ios::binary | std::ios::trunc);
  stream << text;
}

inline std::string readTextFile(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  std::stringstream text;
  text << stream.rdbuf();
  return text.str();
}

// What the log gained since construction (earlier runs and tests leave their lines before it).
class LogTail {
 public:
  LogTail() : start_(readTextFile(kLogFileName).size()) {}
  std::string text() const {
    const std::string whole = readTextFile(kLogFileName);
    return whole.size() > start_ ? whole.substr(start_) : std::string();
  }

 private:
  size_t start_ = 0;
};
