#include "gpu/shader_manager.h"

#include "core/debug_log.h"

ShaderManager& shaderManager() {
  static ShaderManager manager;
  return manager;
}

namespace {

// An error left by an earlier, unrelated call must not be taken for the next call's.
void clearStaleError() { platform::getError(); }

bool hasHandle(const ShaderProgram* program) { return program != nullptr && program->program != nullptr; }

// Runs the second runtime step only when the first reported no error; true when neither did.
template <typename First, typename Second>
bool inTwoSteps(First first, Second second) {
  clearStaleError();
  first();
  if (platform::getError() != platform::ShaderError::None) {
    return false;
  }
  second();
  return platform::getError() == platform::ShaderError::None;
}

}  // namespace

ShaderManager::~ShaderManager() { release(); }

ShaderProgram* ShaderManager::createProgram(std::unique_ptr<ShaderProgram> program, const char* fileName,
                                            int profileClass, const char* entry) {
  if (context_ == nullptr) {
    context_ = platform::createShaderContext();
    if (context_ == nullptr) {
      return nullptr;
    }
  }
  if (program == nullptr) {
    return nullptr;
  }
  const char* shownName = fileName == nullptr ? "" : fileName;
  const platform::ShaderProfile profile = platform::latestProfile(profileClass);
  clearStaleError();
  const std::string path = paths_.resourceFolder + shownName;
  platform::GlslProgram* handle = platform::createProgramFromFile(context_, path.c_str(), profile, entry);
  const platform::ShaderError error = platform::getError();
  if (error != platform::ShaderError::None || handle == nullptr) {
    lastFailure_ = std::string(shownName) + " failed to load: " + platform::errorString(error);
    DebugLog::append(kShaderLogFileName, "Shader %s Failed to load (%s)\n", shownName,
                     platform::errorString(error).c_str());
    return nullptr;
  }
  DebugLog::append(kShaderLogFileName, "Shader %s loaded successfully\n", shownName);

  program->name = shownName;
  program->program = handle;
  program->profile = profile;
  std::unique_ptr<ShaderProgram>& entryInTable = programs_[program->name];
  if (entryInTable != nullptr) {
    replacedPrograms_.push_back(std::move(entryInTable));
  }
  entryInTable = std::move(program);
  return entryInTable.get();
}

ShaderProgram* ShaderManager::newProgram(const char* fileName, int profileClass, const char* entry) {
  return createProgram(std::make_unique<ShaderProgram>(), fileName, profileClass, entry);
}

platform::GlslParameter* ShaderManager::getParameter(const ShaderProgram* program, const char* name) const {
  if (!hasHandle(program)) {
    return nullptr;
  }
  return platform::namedParameter(program->program, name);
}

bool ShaderManager::bindProgram(const ShaderProgram* program) {
  return hasHandle(program) && inTwoSteps([program] { platform::enableProfile(program->profile); },
                                          [program] { platform::bindProgram(program->program); });
}

bool ShaderManager::unbindProgram(const ShaderProgram* program) {
  return hasHandle(program) && inTwoSteps([program] { platform::unbindProgram(program->profile); },
                                          [program] { platform::disableProfile(program->profile); });
}

void ShaderManager::prepareStages(const ShaderProgram* first, const ShaderProgram* second) {
  bindProgram(first);
  bindProgram(second);
  unbindProgram(first);
  unbindProgram(second);
}

void ShaderManager::release() {
  forgetPerPixelHandles();
  programs_.clear();
  replacedPrograms_.clear();
  if (context_ != nullptr) {
    platform::destroyShaderContext(context_);
    context_ = nullptr;
  }
}
