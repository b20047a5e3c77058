// Carries the project's shader files, written in GLSL 1.20 with the fixed function's built-in
// inputs, into the shading language of a core or ES context, where those built-ins are gone.
// The vertex inputs become named inputs at the locations below, which the drawing layer feeds.
#pragma once

#include <string>

#include "platform/gl_capabilities.h"

namespace platform {

// Where each vertex input is fed on a context without the built-in ones: position, normal and
// colour, then the texture coordinates of units 0, 1 and 2.
constexpr int kAttributePosition = 0;
constexpr int kAttributeNormal = 1;
constexpr int kAttributeColor = 2;
constexpr int kAttributeTexCoord0 = 3;
constexpr int kAttributeTexCoordUnits = 3;
constexpr int kAttributeCount = kAttributeTexCoord0 + kAttributeTexCoordUnits;

enum class ShaderStage { Vertex, Fragment };

// A translated fragment stage that writes a colour ends with the alpha test the fixed function did
// after it: with the bool uniform on, fragments pass where alpha > the float uniform.
constexpr const char* kAlphaTestUniform = "builtInAlphaTest";
constexpr const char* kAlphaAboveUniform = "builtInAlphaAbove";

// GLSL of the function named here, which tells whether an alpha passes the test against a
// reference as the GL tests it on the 8-bit surfaces drawn into: both rounded to 8 bits first.
constexpr const char* kAlphaTestPasses = "alphaTestPasses";
std::string alphaTestFunction();

// The #version line (and for ES the default precisions) that generated and translated sources
// open with on a context of this kind: GLSL 3.30 core, or GLSL ES 3.00.
std::string modernShaderHeader(GLContextKind kind);

// The source with its comments taken out, so that declarations and names can be read from it.
std::string withoutComments(const std::string& source);

// Rewrites a GLSL 1.20 source for a core or ES context; a compatibility context takes it as it is.
// False, with the reason in `problem`, when the source relies on fixed-function state (the GL's
// matrices, lights or texture coordinate outputs) that such a context does not have.
bool translateShaderSource(const std::string& source, ShaderStage stage, GLContextKind kind, std::string& translated,
                           std::string& problem);

}  // namespace platform
