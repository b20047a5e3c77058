// Whole-file output for the baker's encoders.
#include "tools/file_output.h"

#include <cerrno>
#include <cstdio>

#include "core/program_name.h"
#include "platform/replacing_file.h"

namespace baker {

bool writeBytesToFile(const std::string& path, const std::vector<unsigned char>& bytes, const char* who) {
  platform::ReplacingFile file;
  std::string error;
  if (file.open(path, error)) {
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.stream()) == bytes.size();
    if (file.commit(error, written ? 0 : errno)) {
      return true;
    }
  }
  std::fprintf(stderr, "%s: %s: cannot write %s (%s)\n", kToolName, who, path.c_str(), error.c_str());
  return false;
}

}  // namespace baker
