// Small shader sources the shader tests write into their working folder.
#pragma once

#include "tests/support/text_files.h"

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
