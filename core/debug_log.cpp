#include "core/debug_log.h"

#include <strings.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/log_echo.h"
#include "core/program_name.h"

namespace {

std::string& logPathStorage() {
  static std::string path = kLogFileName;
  return path;
}

bool isTheLog(const char* fileName) { return fileName != nullptr && strcasecmp(fileName, kLogFileName) == 0; }

const char* resolveLogName(const char* fileName) { return isTheLog(fileName) ? logPathStorage().c_str() : fileName; }

bool gWriteFailureReported = false;

// Said once: a log that cannot be written fails for every line of the run alike.
void reportWriteFailure(const char* path, int error) {
  if (gWriteFailureReported) {
    return;
  }
  gWriteFailureReported = true;
  std::fprintf(stderr, "%s: warning: cannot write the log %s (%s); log lines of this run are lost\n",
               programName(), path, std::strerror(error));
}

}  // namespace

void DebugLog::setLogPath(const std::string& path) { logPathStorage() = path; }

void DebugLog::forgetWriteFailure() { gWriteFailureReported = false; }

void DebugLog::append(const char* fileName, const char* format, ...) {
  const char* path = resolveLogName(fileName);
  if (path == nullptr || format == nullptr) {
    return;
  }
  std::FILE* file = std::fopen(path, "a+");
  if (file == nullptr) {
    reportWriteFailure(path, errno);
    return;
  }
  char buffer[kLogMessageBufferBytes];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(buffer, sizeof(buffer), format, arguments);
  va_end(arguments);
  if (isTheLog(fileName)) {
    echoLogText(buffer);
  }
  const size_t length = std::strlen(buffer);
  const bool written = std::fwrite(buffer, 1, length, file) == length;
  if (std::fclose(file) != 0 || !written) {
    reportWriteFailure(path, errno);
  }
}
