// Whole-file output for the baker's encoders.
#include "tools/file_output.h"

#include <cstdio>

#include "core/program_name.h"

namespace baker {

bool writeBytesToFile(const std::string& path, const std::vector<unsigned char>& bytes, const char* who) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "%s: %s: cannot write %s\n", kToolName, who, path.c_str());
    return false;
  }
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::fprintf(stderr, "%s: %s: cannot write %s\n", kToolName, who, path.c_str());
    std::remove(path.c_str());
    return false;
  }
  return true;
}

}  // namespace baker
