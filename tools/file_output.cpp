// Whole-file output for the baker's encoders.
#include "tools/file_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/program_name.h"

namespace baker {

bool writeBytesToFile(const std::string& path, const std::vector<unsigned char>& bytes, const char* who) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "%s: %s: cannot write %s (%s)\n", kToolName, who, path.c_str(), std::strerror(errno));
    return false;
  }
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  // The write's own reason, before the close can replace it.
  const int writeError = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::fprintf(stderr, "%s: %s: cannot write %s (%s)\n", kToolName, who, path.c_str(),
                 std::strerror(written ? errno : writeError));
    std::remove(path.c_str());
    return false;
  }
  return true;
}

}  // namespace baker
