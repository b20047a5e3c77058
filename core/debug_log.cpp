#include "core/debug_log.h"

#include <strings.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

const char* resolveLogName(const char* fileName) {
  if (fileName != nullptr && strcasecmp(fileName, kLogFileName) == 0) {
    return kLogFileName;
  }
  return fileName;
}

}  // namespace

void DebugLog::append(const char* fileName, const char* format, ...) {
  const char* path = resolveLogName(fileName);
  if (path == nullptr || format == nullptr) {
    return;
  }
  std::FILE* file = std::fopen(path, "a+");
  if (file == nullptr) {
    return;
  }
  char buffer[kLogMessageBufferBytes];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(buffer, sizeof(buffer), format, arguments);
  va_end(arguments);
  std::fwrite(buffer, 1, std::strlen(buffer), file);
  std::fclose(file);
}
