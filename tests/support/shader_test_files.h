// Small shader sources the shader tests write into their working folder.
#pragma once

#include "tests/support/text_files.h"

// A vertex stage with a matrix, a 3-vector and a scalar, all used so the compiler keeps them.
constexpr const char* kTestVertexSource =
    "#version 120\n"
    "uniform mat4 transform;\n"
    "uniform vec3 offset;\n"
    "uniform float scale;\n"
    "varying vec3 shade;\n"
    "void main() {\n"
    "  gl_Position = transform * vec4(gl_Vertex.xyz * scale + offset, 1.0);\n"
    "  shade = offset;\n"
    "}\n";

// A fragment stage with two samplers and a colour.
constexpr const char* kTestFragmentSource =
    "#version 120\n"
    "uniform sampler2D first;\n"
    "uniform sampler2D second;\n"
    "uniform vec3 colour;\n"
    "varying vec3 shade;\n"
    "void main() {\n"
    "  gl_FragColor = texture2D(first, vec2(0.5)) * texture2D(second, vec2(0.5)) * vec4(colour + shade, 1.0);\n"
    "}\n";
