// Separable programs on the web: WebGL 2 has none, so the runtime always links its stages in pairs
// and none of the pipeline calls below is reached.
#include <cassert>

#include "platform/glsl_runtime_objects.h"

namespace platform {

// WebGL 2 always has GLSL ES 3.00 programs.
StageLinking driverStageLinking() { return StageLinking::InPairs; }

GLuint createSeparableProgram(GLenum /*shaderType*/, const char* /*source*/) {
  assert(false && "WebGL 2 has no separable programs");
  return 0;
}

void sendAlphaTestToProgram(GLuint /*program*/, GLint /*testLocation*/, bool /*enabled*/, GLint /*aboveLocation*/,
                            float /*above*/) {
  assert(false && "WebGL 2 has no separable programs");
}

void bindPipelineStages(GLuint& /*pipeline*/, GLuint /*vertexProgram*/, GLuint /*fragmentProgram*/) {
  assert(false && "WebGL 2 has no separable programs");
}

void sendToSeparableProgram(const GlslParameter& /*parameter*/) {
  assert(false && "WebGL 2 has no separable programs");
}

void deletePipeline(GLuint& pipeline) { pipeline = 0; }

}  // namespace platform
