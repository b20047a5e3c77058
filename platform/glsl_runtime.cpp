// Contexts, profiles, compiling and stage binding of the shader runtime; the parameter calls are
// in glsl_runtime_parameters.cpp.
//
// Sections: the runtime's state; binding the stages; reading and compiling sources; the runtime's
// calls.
#include "platform/glsl_runtime.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>

#include "core/draw_counts.h"
#include "core/input_file.h"
#include "platform/gl_binding_record.h"
#include "platform/gl_capabilities.h"
#include "platform/glsl_runtime_objects.h"
#include "platform/glsl_translation.h"

namespace platform {

namespace {

// Shader sources are small text files; anything larger is not one.
constexpr size_t kMaxSourceBytes = 1u << 20;

enum Stage { kNoStage = -1, kVertexStage = 0, kFragmentStage = 1, kStageCount = 2 };

struct StageBinding {
  bool enabled = false;
  GlslProgram* bound = nullptr;
};

// Where stages are linked in pairs: one GL program for a vertex and a fragment stage (either may
// be missing), and where each of their parameters lives in it.
struct LinkedStages {
  GlslProgram* vertex = nullptr;
  GlslProgram* fragment = nullptr;
  // Owned when both stages are there; a single stage runs its own program.
  GLuint object = 0;
  std::vector<std::pair<const GlslParameter*, GLint>> locations;
  GLint alphaTestLocation = -1;
  GLint alphaAboveLocation = -1;
};

// What the runtime keeps between calls. One GL context runs the program, so one pipeline (or one
// set of linked pairs) serves every shader context; it is made on first use and deleted with the
// last shader context.
struct RuntimeState {
  ShaderError lastError = ShaderError::None;
  std::string lastListing;
  GLuint pipeline = 0;
  int liveContexts = 0;
  StageBinding stages[kStageCount];
  std::vector<std::unique_ptr<LinkedStages>> linked;
  // The linked program in use, null while both stages are fixed-function.
  const LinkedStages* inUse = nullptr;
  // The pass's alpha test, for fragment stages on a context without fixed function.
  bool alphaTest = false;
  float alphaAbove = 0.0f;
};

// ---- The runtime's state ----

RuntimeState& runtime() {
  static RuntimeState state;
  return state;
}

Stage stageOf(ShaderProfile profile) {
  switch (profile) {
    case ShaderProfile::GlslVertex:
    case ShaderProfile::Arbvp1:
    case ShaderProfile::Vp40:
      return kVertexStage;
    case ShaderProfile::GlslFragment:
    case ShaderProfile::Arbfp1:
    case ShaderProfile::Fp30:
    case ShaderProfile::Fp20:
      return kFragmentStage;
    case ShaderProfile::Unknown:
      break;
  }
  return kNoStage;
}

bool glslAvailable() { return driverStageLinking() != StageLinking::Unavailable; }

GlslProgram* activeProgram(Stage stage) {
  const StageBinding& binding = runtime().stages[stage];
  return binding.enabled ? binding.bound : nullptr;
}

// The pass's alpha test to the active fragment stage's own program, where it has the uniforms.
// ---- Binding the stages ----

void sendAlphaTestToSeparable() {
  const RuntimeState& state = runtime();
  const GlslProgram* fragment = activeProgram(kFragmentStage);
  if (fragment == nullptr || fragment->alphaTestLocation < 0) {
    return;
  }
  sendAlphaTestToProgram(fragment->object, fragment->alphaTestLocation, state.alphaTest, fragment->alphaAboveLocation,
                         state.alphaAbove);
}

// The pass's alpha test to the linked program in use, where it has the uniforms.
void sendAlphaTestToLinked() {
  const RuntimeState& state = runtime();
  if (state.inUse == nullptr || state.inUse->alphaTestLocation < 0) {
    return;
  }
  glUniform1i(state.inUse->alphaTestLocation, state.alphaTest ? 1 : 0);
  glUniform1f(state.inUse->alphaAboveLocation, state.alphaAbove);
}

// Points the pipeline's stages at the programs that are both enabled and bound, and leaves the
// pipeline bound while any stage runs a program; with none, drawing is fixed-function again.
void applySeparableStages() {
  RuntimeState& state = runtime();
  const bool anyActive = activeProgram(kVertexStage) != nullptr || activeProgram(kFragmentStage) != nullptr;
  if (state.pipeline == 0 && !anyActive) {
    return;
  }
  const GlslProgram* vertex = activeProgram(kVertexStage);
  const GlslProgram* fragment = activeProgram(kFragmentStage);
  bindPipelineStages(state.pipeline, vertex != nullptr ? vertex->object : 0, fragment != nullptr ? fragment->object : 0);
  sendAlphaTestToSeparable();
}

// The compiler's or linker's log of a shader or program object, read with its own pair of calls.
template <typename GetLength, typename GetLog>
std::string infoLog(GLuint object, GetLength getLength, GetLog getLog) {
  GLint length = 0;
  getLength(object, GL_INFO_LOG_LENGTH, &length);
  if (length <= 1) {
    return std::string();
  }
  std::string text(static_cast<size_t>(length), '\0');
  GLsizei written = 0;
  getLog(object, length, &written, &text[0]);
  text.resize(static_cast<size_t>(std::max(written, 0)));
  return text;
}

std::string programLog(GLuint object) { return infoLog(object, glGetProgramiv, glGetProgramInfoLog); }

std::string shaderLog(GLuint shader) { return infoLog(shader, glGetShaderiv, glGetShaderInfoLog); }

// Links the attached stages; 0, with the linker's log kept for errorString(), when that fails.
GLuint linkProgram(std::initializer_list<GLuint> shaders) {
  const GLuint object = glCreateProgram();
  for (const GLuint shader : shaders) {
    glAttachShader(object, shader);
  }
  glLinkProgram(object);
  countProgramLink();
  GLint linked = GL_FALSE;
  countQueries(1);
  glGetProgramiv(object, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) {
    runtime().lastListing = programLog(object);
    glDeleteProgram(object);
    return 0;
  }
  return object;
}

// The linked program for the two stages (either may be null), made and kept on first use.
const LinkedStages& linkedStagesFor(GlslProgram* vertex, GlslProgram* fragment) {
  RuntimeState& state = runtime();
  for (const std::unique_ptr<LinkedStages>& stages : state.linked) {
    if (stages->vertex == vertex && stages->fragment == fragment) {
      return *stages;
    }
  }
  auto stages = std::make_unique<LinkedStages>();
  stages->vertex = vertex;
  stages->fragment = fragment;
  const bool pair = vertex != nullptr && fragment != nullptr;
  if (pair) {
    stages->object = linkProgram({vertex->shader, fragment->shader});
    if (stages->object == 0) {
      recordError(ShaderError::CompileError);
    }
  } else {
    stages->object = (vertex != nullptr ? vertex : fragment)->object;
  }
  if (stages->object != 0) {
    countQueries(2);
    stages->alphaTestLocation = glGetUniformLocation(stages->object, kAlphaTestUniform);
    stages->alphaAboveLocation = glGetUniformLocation(stages->object, kAlphaAboveUniform);
  }
  for (const GlslProgram* program : {vertex, fragment}) {
    if (program == nullptr || stages->object == 0) {
      continue;
    }
    for (const std::unique_ptr<GlslParameter>& parameter : program->parameters) {
      countQueries(pair ? 1 : 0);
      const GLint location =
          pair ? glGetUniformLocation(stages->object, parameter->name.c_str()) : parameter->location;
      if (location >= 0) {
        stages->locations.emplace_back(parameter.get(), location);
      }
    }
  }
  state.linked.push_back(std::move(stages));
  return *state.linked.back();
}

// Puts the program of the enabled and bound stages in use, with every value their parameters
// were given; with no stage active, drawing is fixed-function again.
void applyLinkedStages() {
  RuntimeState& state = runtime();
  GlslProgram* vertex = activeProgram(kVertexStage);
  GlslProgram* fragment = activeProgram(kFragmentStage);
  const LinkedStages* wanted = nullptr;
  if (vertex != nullptr || fragment != nullptr) {
    const LinkedStages& stages = linkedStagesFor(vertex, fragment);
    wanted = stages.object != 0 ? &stages : nullptr;
  }
  if (wanted == state.inUse) {
    return;
  }
  state.inUse = wanted;
  useProgram(wanted != nullptr ? wanted->object : 0);
  if (wanted != nullptr) {
    for (const auto& [parameter, location] : wanted->locations) {
      sendKeptValue(*parameter, location);
    }
    sendAlphaTestToLinked();
  }
}

void applyStages() {
  if (driverStageLinking() == StageLinking::Separable) {
    applySeparableStages();
  } else {
    applyLinkedStages();
  }
}

// Deletes the linked pairs a program is part of; its own program object goes with the program.
void forgetLinkedStagesOf(const GlslProgram* program) {
  RuntimeState& state = runtime();
  auto& linked = state.linked;
  for (auto stages = linked.begin(); stages != linked.end();) {
    if ((*stages)->vertex != program && (*stages)->fragment != program) {
      ++stages;
      continue;
    }
    if (state.inUse == stages->get()) {
      useProgram(0);
      state.inUse = nullptr;
    }
    if ((*stages)->vertex != nullptr && (*stages)->fragment != nullptr && (*stages)->object != 0) {
      glDeleteProgram((*stages)->object);
    }
    stages = linked.erase(stages);
  }
}

// ---- Reading and compiling sources ----

bool readSourceFile(const char* fileName, std::string& source) {
  std::vector<uint8_t> bytes;
  if (!readInputFile(fileName, kMaxSourceBytes, bytes).ok()) {
    return false;
  }
  source.assign(bytes.begin(), bytes.end());
  return true;
}

bool isIdentifier(const char* text) {
  if (text == nullptr || !(std::isalpha(static_cast<unsigned char>(text[0])) || text[0] == '_')) {
    return false;
  }
  for (const char* c = text; *c != '\0'; ++c) {
    if (!std::isalnum(static_cast<unsigned char>(*c)) && *c != '_') {
      return false;
    }
  }
  return true;
}

// The offset just past the #version line, that line's number and the version it names, or
// (0, 0, 0) without one.
size_t endOfVersionLine(const std::string& source, int& versionLineNumber, int& version) {
  size_t lineStart = 0;
  int lineNumber = 1;
  while (lineStart < source.size()) {
    const size_t lineEnd = std::min(source.find('\n', lineStart), source.size());
    size_t c = source.find_first_not_of(" \t", lineStart);
    if (c < lineEnd && source[c] == '#') {
      c = source.find_first_not_of(" \t", c + 1);
      if (c < lineEnd && source.compare(c, 7, "version") == 0) {
        versionLineNumber = lineNumber;
        version = std::atoi(source.c_str() + c + 7);
        return lineEnd < source.size() ? lineEnd + 1 : lineEnd;
      }
    }
    lineStart = lineEnd + 1;
    ++lineNumber;
  }
  versionLineNumber = 0;
  version = 0;
  return 0;
}

// GLSL always starts at main: an entry of another name is renamed to it by a macro placed right
// after the #version line, and a #line directive keeps the compiler's line numbers those of the file.
std::string withEntryAsMain(const std::string& source, const std::string& entry) {
  if (entry == "main") {
    return source;
  }
  int versionLine = 0;
  int version = 0;
  const size_t insertAt = endOfVersionLine(source, versionLine, version);
  std::string header = "#define " + entry + " main\n";
  if (versionLine > 0) {
    std::string prefix = source.substr(0, insertAt);
    if (prefix.empty() || prefix.back() != '\n') {
      prefix += '\n';
    }
    // Before GLSL 3.30, "#line N" numbers the line after it N + 1; from 3.30 on, N.
    const int nextLine = version < 330 ? versionLine : versionLine + 1;
    return prefix + header + "#line " + std::to_string(nextLine) + "\n" + source.substr(insertAt);
  }
  return header + source;
}

// The compiler's log as one line: line breaks become "; ", trailing ones are dropped.
std::string oneLine(const std::string& text) {
  std::string line;
  bool breakPending = false;
  for (const char c : text) {
    if (c == '\n' || c == '\r') {
      breakPending = !line.empty();
      continue;
    }
    if (breakPending) {
      line += "; ";
      breakPending = false;
    }
    line += c;
  }
  return line;
}

GLenum shaderTypeOf(Stage stage) { return stage == kVertexStage ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER; }

// The context has no fixed function: a stage cannot run beside a fixed-function one, and the
// sources are carried into the context's own shading language first.
bool modernContext() { return !contextCapabilities().hasFixedFunction(); }

// The source in the shading language of the context; false, with the reason kept for
// errorString(), when it relies on what the context does not have.
bool sourceForContext(Stage stage, const std::string& source, std::string& translated) {
  std::string problem;
  const ShaderStage shaderStage = stage == kVertexStage ? ShaderStage::Vertex : ShaderStage::Fragment;
  if (!translateShaderSource(source, shaderStage, contextCapabilities().kind, translated, problem)) {
    runtime().lastListing = problem;
    return false;
  }
  return true;
}

GLuint compileSeparable(Stage stage, const std::string& written) {
  std::string source;
  if (!sourceForContext(stage, written, source)) {
    return 0;
  }
  const char* text = source.c_str();
  const GLuint object = createSeparableProgram(shaderTypeOf(stage), text);
  countProgramLink();
  if (object == 0) {
    runtime().lastListing = "the driver made no program object";
    return 0;
  }
  GLint linked = GL_FALSE;
  countQueries(1);
  glGetProgramiv(object, GL_LINK_STATUS, &linked);
  runtime().lastListing = programLog(object);
  if (linked != GL_TRUE) {
    glDeleteProgram(object);
    return 0;
  }
  return object;
}

// A varying's declaration: its type, its name and any array size.
const std::regex& varyingDeclaration() {
  static const std::regex kVarying(
      R"(\bvarying\s+(?:(?:highp|mediump|lowp|centroid|invariant)\s+)*(float|vec[234]|mat[234])\s+(\w+)\s*(\[\s*\d+\s*\])?\s*;)");
  return kVarying;
}

// A fragment stage that reads every varying the vertex source declares. Linked with it, the
// vertex stage keeps the uniforms that only shape what it hands on, which a vertex stage linked
// alone would lose to the compiler's dead-code removal, so its parameter table is complete.
std::string varyingReaderFor(const std::string& vertexSource) {
  int versionLine = 0;
  int version = 0;
  const size_t versionEnd = endOfVersionLine(vertexSource, versionLine, version);
  std::string declarations = vertexSource.substr(0, versionEnd);
  std::string reads;
  const std::string text = withoutComments(vertexSource);
  for (std::sregex_iterator match(text.begin(), text.end(), varyingDeclaration()), end; match != end; ++match) {
    const std::string type = (*match)[1];
    const std::string name = (*match)[2];
    declarations += "varying " + type + " " + name + (*match)[3].str() + ";\n";
    const std::string element = (*match)[3].matched ? name + "[0]" : name;
    if (type == "float") {
      reads += "  sum += " + element + ";\n";
    } else if (type[0] == 'v') {
      reads += "  sum += dot(" + element + ", " + element + ");\n";
    } else {
      reads += "  sum += " + element + "[0][0];\n";
    }
  }
  return declarations + "void main() {\n  float sum = 0.0;\n" + reads + "  gl_FragColor = vec4(sum);\n}\n";
}

// A vertex stage that declares every varying the fragment source reads, for linking a fragment
// stage where a program cannot hold one stage alone.
std::string varyingWriterFor(const std::string& fragmentSource) {
  int versionLine = 0;
  int version = 0;
  const size_t versionEnd = endOfVersionLine(fragmentSource, versionLine, version);
  std::string declarations = fragmentSource.substr(0, versionEnd);
  const std::string text = withoutComments(fragmentSource);
  for (std::sregex_iterator match(text.begin(), text.end(), varyingDeclaration()), end; match != end; ++match) {
    declarations += "varying " + (*match)[1].str() + " " + (*match)[2].str() + (*match)[3].str() + ";\n";
  }
  return declarations + "void main() {\n  gl_Position = vec4(0.0);\n}\n";
}

GLuint compileShader(Stage stage, const std::string& written) {
  std::string source;
  if (!sourceForContext(stage, written, source)) {
    return 0;
  }
  const char* text = source.c_str();
  const GLuint shader = glCreateShader(shaderTypeOf(stage));
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint compiled = GL_FALSE;
  countQueries(1);
  glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  runtime().lastListing = shaderLog(shader);
  if (compiled != GL_TRUE) {
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

// Where the context has no fixed function (and, as ES, no program of one stage), the stage is
// linked with a stand-in for the other one instead: a reader of the vertex stage's varyings, or a
// writer of the fragment stage's. That program lists its uniforms and is the stage's own.
bool compileWithStandIn(Stage stage, const std::string& source, GlslProgram& program) {
  const GLuint shader = compileShader(stage, source);
  if (shader == 0) {
    return false;
  }
  const bool vertex = stage == kVertexStage;
  const GLuint standIn = vertex ? compileShader(kFragmentStage, varyingReaderFor(source))
                                : compileShader(kVertexStage, varyingWriterFor(source));
  const GLuint linked = standIn != 0 ? linkProgram({shader, standIn}) : 0;
  glDeleteShader(standIn);
  if (linked == 0) {
    glDeleteShader(shader);
    return false;
  }
  program.shader = shader;
  program.object = linked;
  collectParameters(program, linked);
  return true;
}

// Compiles the stage for linking with others and links it alone, to run while the other stage is
// fixed-function; lists its uniforms from a vertex stage linked with a reader of its varyings.
// False, with the compiler's or linker's log kept, when any step fails.
bool compileForPairs(Stage stage, const std::string& source, GlslProgram& program) {
  if (modernContext()) {
    return compileWithStandIn(stage, source, program);
  }
  const GLuint shader = compileShader(stage, source);
  if (shader == 0) {
    return false;
  }
  const GLuint alone = linkProgram({shader});
  GLuint listing = alone;
  if (alone != 0 && stage == kVertexStage) {
    const GLuint reader = compileShader(kFragmentStage, varyingReaderFor(source));
    listing = reader != 0 ? linkProgram({shader, reader}) : 0;
    glDeleteShader(reader);
  }
  if (listing == 0) {
    glDeleteProgram(alone);
    glDeleteShader(shader);
    return false;
  }
  program.shader = shader;
  program.object = alone;
  collectParameters(program, listing);
  if (listing != alone) {
    glDeleteProgram(listing);
  }
  return true;
}

bool compileStage(Stage stage, const std::string& source, GlslProgram& program) {
  bool compiled = false;
  if (driverStageLinking() == StageLinking::Separable) {
    program.object = compileSeparable(stage, source);
    if (program.object != 0) {
      collectParameters(program, program.object);
    }
    compiled = program.object != 0;
  } else {
    compiled = compileForPairs(stage, source, program);
  }
  if (compiled) {
    countQueries(2);
    program.alphaTestLocation = glGetUniformLocation(program.object, kAlphaTestUniform);
    program.alphaAboveLocation = glGetUniformLocation(program.object, kAlphaAboveUniform);
  }
  return compiled;
}

void forgetBindingsOf(const GlslProgram* program) {
  bool changed = false;
  for (StageBinding& binding : runtime().stages) {
    if (binding.bound == program) {
      binding.bound = nullptr;
      changed = true;
    }
  }
  if (changed) {
    applyStages();
  }
  forgetLinkedStagesOf(program);
}

}  // namespace

// ---- The runtime's calls ----

void publishParameter(const GlslParameter& parameter) {
  const RuntimeState& state = runtime();
  if (driverStageLinking() == StageLinking::Separable) {
    sendToSeparableProgram(parameter);
    return;
  }
  if (state.inUse == nullptr) {
    return;
  }
  for (const auto& [listed, location] : state.inUse->locations) {
    if (listed == &parameter) {
      sendKeptValue(parameter, location);
    }
  }
}

void recordError(ShaderError error) { runtime().lastError = error; }

void setAlphaTest(bool enabled, float alphaAbove) {
  RuntimeState& state = runtime();
  state.alphaTest = enabled;
  state.alphaAbove = alphaAbove;
  if (driverStageLinking() == StageLinking::Separable) {
    sendAlphaTestToSeparable();
  } else if (driverStageLinking() == StageLinking::InPairs) {
    sendAlphaTestToLinked();
  }
}

ShaderError getError() {
  const ShaderError error = runtime().lastError;
  runtime().lastError = ShaderError::None;
  return error;
}

std::string errorString(ShaderError error) {
  switch (error) {
    case ShaderError::None:
      return "No error.";
    case ShaderError::CompileError: {
      const std::string listing = oneLine(runtime().lastListing);
      return listing.empty() ? "The compile returned an error." : "The compile returned an error: " + listing;
    }
    case ShaderError::FileReadError:
      return "The file could not be read.";
    case ShaderError::InvalidContext:
      return "Invalid context handle.";
    case ShaderError::InvalidProgram:
      return "Invalid program handle.";
    case ShaderError::InvalidParameter:
      return "Invalid parameter handle.";
    case ShaderError::InvalidProfile:
      return "The profile is not supported.";
    case ShaderError::InvalidEntry:
      return "The entry function name is not an identifier.";
    case ShaderError::InvalidEnumerant:
      return "Invalid enumerant.";
    case ShaderError::ParameterTypeMismatch:
      return "The parameter is not of the type this call sets.";
    case ShaderError::UnsupportedDriver:
      return "The GL driver offers no GLSL shader programs.";
  }
  return "Unknown error.";
}

GlslContext* createShaderContext() {
  ++runtime().liveContexts;
  return new GlslContext();
}

void destroyShaderContext(GlslContext* context) {
  if (context == nullptr) {
    return;
  }
  RuntimeState& state = runtime();
  for (const std::unique_ptr<GlslProgram>& program : context->programs) {
    forgetBindingsOf(program.get());
    glDeleteProgram(program->object);
    if (program->shader != 0) {
      glDeleteShader(program->shader);
    }
  }
  delete context;
  --state.liveContexts;
  if (state.liveContexts == 0 && state.pipeline != 0) {
    deletePipeline(state.pipeline);
  }
}

ShaderProfile latestProfile(int profileClass) {
  if (!glslAvailable()) {
    return ShaderProfile::Unknown;
  }
  if (profileClass == kProfileClassVertex) {
    return ShaderProfile::GlslVertex;
  }
  if (profileClass == kProfileClassFragment) {
    return ShaderProfile::GlslFragment;
  }
  return ShaderProfile::Unknown;
}

bool isProfileSupported(ShaderProfile profile) {
  return stageOf(profile) != kNoStage && glslAvailable();
}

GlslProgram* createProgramFromFile(GlslContext* context, const char* fileName, ShaderProfile profile,
                                   const char* entry) {
  runtime().lastListing.clear();
  const Stage stage = stageOf(profile);
  const std::string entryName = entry == nullptr ? "main" : entry;
  if (context == nullptr) {
    recordError(ShaderError::InvalidContext);
    return nullptr;
  }
  if (stage == kNoStage) {
    recordError(ShaderError::InvalidProfile);
    return nullptr;
  }
  if (!glslAvailable()) {
    recordError(ShaderError::UnsupportedDriver);
    return nullptr;
  }
  if (!isIdentifier(entryName.c_str())) {
    recordError(ShaderError::InvalidEntry);
    return nullptr;
  }
  std::string source;
  if (fileName == nullptr || !readSourceFile(fileName, source)) {
    recordError(ShaderError::FileReadError);
    return nullptr;
  }
  auto program = std::make_unique<GlslProgram>();
  if (!compileStage(stage, withEntryAsMain(source, entryName), *program)) {
    recordError(ShaderError::CompileError);
    return nullptr;
  }
  program->context = context;
  program->profile = profile;
  context->programs.push_back(std::move(program));
  return context->programs.back().get();
}

ShaderProfile programProfile(const GlslProgram* program) {
  return program == nullptr ? ShaderProfile::Unknown : program->profile;
}

unsigned int programObject(const GlslProgram* program) { return program == nullptr ? 0 : program->object; }

void enableProfile(ShaderProfile profile) {
  const Stage stage = stageOf(profile);
  if (stage == kNoStage || !glslAvailable()) {
    recordError(ShaderError::InvalidProfile);
    return;
  }
  runtime().stages[stage].enabled = true;
  applyStages();
}

void disableProfile(ShaderProfile profile) {
  const Stage stage = stageOf(profile);
  if (stage == kNoStage || !glslAvailable()) {
    recordError(ShaderError::InvalidProfile);
    return;
  }
  runtime().stages[stage].enabled = false;
  applyStages();
}

void bindProgram(GlslProgram* program) {
  if (program == nullptr) {
    recordError(ShaderError::InvalidProgram);
    return;
  }
  runtime().stages[stageOf(program->profile)].bound = program;
  applyStages();
}

void unbindProgram(ShaderProfile profile) {
  const Stage stage = stageOf(profile);
  if (stage == kNoStage || !glslAvailable()) {
    recordError(ShaderError::InvalidProfile);
    return;
  }
  runtime().stages[stage].bound = nullptr;
  applyStages();
}

}  // namespace platform
