// A small shader runtime over GLSL: contexts own programs compiled from source files for one
// stage, programs own their named parameters, and the vertex and fragment stages are enabled and
// bound independently. Where the driver has separable programs, one program pipeline combines the
// stages; where it does not (GL 2.x), the two stages bound at the time are linked into one program,
// made once per pair and kept, and it receives every value its stages were given.
// Every handle is valid from its creation until its context is destroyed; null is "no handle".
// Calls record their failure for getError() instead of returning it, so a caller may ignore them.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct GlslContext;
struct GlslProgram;
struct GlslParameter;

// Profile classes callers ask for: the newest vertex or fragment profile of the driver.
constexpr int kProfileClassVertex = 8;
constexpr int kProfileClassFragment = 9;

// Profiles by number. The GLSL ones are what programs compile for; the older vertex and fragment
// profile numbers are still understood by the support check and by enable and disable, which
// answer for the GLSL stage of the same kind.
enum class ShaderProfile : int32_t {
  Unknown = 6145,
  Fp20 = 6147,
  Fp30 = 6149,
  Arbvp1 = 6150,
  Arbfp1 = 7000,
  Vp40 = 7001,
  GlslVertex = 7007,
  GlslFragment = 7008,
};

enum class ShaderError : int32_t {
  None = 0,
  CompileError,           // the GLSL compile or link failed; errorString carries the log
  FileReadError,          // the source file is missing, unreadable or too large
  InvalidContext,
  InvalidProgram,
  InvalidParameter,
  InvalidProfile,
  InvalidEntry,           // the entry function name is not a GLSL identifier
  InvalidEnumerant,
  ParameterTypeMismatch,  // e.g. a scalar load on a 3-vector, a texture on a non-sampler
  UnsupportedDriver,      // the GL driver offers no GLSL programs
};

// Which GL matrix a state-matrix parameter receives, and how it is transformed on the way.
enum class StateMatrix : int32_t { ModelView = 4, Projection = 5, ModelViewProjection = 7 };
enum class MatrixTransform : int32_t { Identity = 0, Transpose = 1 };

// The error of the latest failing call since the last getError(), which clears it.
ShaderError getError();
// Readable text for an error; for a compile error it ends with the compiler's log on one line.
std::string errorString(ShaderError error);

GlslContext* createShaderContext();
// Deletes every program of the context and unbinds any of them still bound. Null is ignored.
void destroyShaderContext(GlslContext* context);

// The GLSL profile of a class (8 vertex, 9 fragment); Unknown when the driver cannot run it.
ShaderProfile latestProfile(int profileClass);
bool isProfileSupported(ShaderProfile profile);

// Compiles and links the file (read whole, used as named) for the profile's stage. The entry
// function stands for GLSL's main: a source may name its entry `basic_vs` and be asked for it.
// Null on failure, with the reason for getError().
GlslProgram* createProgramFromFile(GlslContext* context, const char* fileName, ShaderProfile profile,
                                   const char* entry);
ShaderProfile programProfile(const GlslProgram* program);
unsigned int programObject(const GlslProgram* program);  // the GL program name, 0 for none

// The uniform of that name, or null when the program does not use it.
GlslParameter* namedParameter(GlslProgram* program, const char* name);

// Stage control: a program draws only while its profile is enabled and it is bound to it.
void enableProfile(ShaderProfile profile);
void disableProfile(ShaderProfile profile);
void bindProgram(GlslProgram* program);
void unbindProgram(ShaderProfile profile);

// Uniform loads. The state matrix is read from GL's current matrices at the time of the call; a
// context without fixed function has none, and reads the ones last handed to setStateMatrices.
void setStateMatrixParameter(GlslParameter* parameter, StateMatrix matrix, MatrixTransform transform);
// The model-view and projection matrices (column-major) that stand for the GL's on a context
// without fixed function: whoever keeps the matrices there hands them over as they change.
void setStateMatrices(const float modelView[16], const float projection[16]);
// The alpha test of the pass the stages draw in (fragments pass where alpha > alphaAbove), which a
// context without fixed function leaves to the fragment stage; the values stay for every stage
// bound later. Off until set.
void setAlphaTest(bool enabled, float alphaAbove);
void setParameter3fv(GlslParameter* parameter, const float values[3]);
void setParameter1f(GlslParameter* parameter, float value);

// Samplers take texture units 0, 1, ... in the program's order unless the source fixes them with
// layout(binding = N). Setting a texture points the sampler at its unit and remembers the texture;
// enabling binds that texture on the unit, disabling binds none there. Both bind through the
// binding record (platform/gl_binding_record.h) and leave unit 0 the active one.
void setTextureParameter(GlslParameter* parameter, unsigned int texture);
void enableTextureParameter(GlslParameter* parameter);
void disableTextureParameter(GlslParameter* parameter);
unsigned int textureParameter(const GlslParameter* parameter);
int textureUnit(const GlslParameter* parameter);  // -1 for a parameter that is not a sampler

}  // namespace platform
