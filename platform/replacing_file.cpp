#include "platform/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {

int createPartFile(const std::string& path, std::string& partPath) {
  static constexpr char kPartEnding[] = ".part";
  std::string pattern = path + ".XXXXXX" + kPartEnding;
  const int descriptor = mkostemps(pattern.data(), static_cast<int>(sizeof kPartEnding - 1), O_CLOEXEC);
  if (descriptor < 0) {
    return -1;
  }
  // A temporary file is the owner's alone; the finished one gets what any new file would.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(descriptor, 0666 & ~mask);
  partPath = pattern;
  return descriptor;
}

ReplacingFile::~ReplacingFile() { abandon(); }

bool ReplacingFile::open(const std::string& path, std::string& error) {
  abandon();
  path_ = path;
  partPath_.clear();
  // A device, a named pipe or a link is written into where it stands, never replaced.
  struct stat standing = {};
  if (lstat(path.c_str(), &standing) == 0 && !S_ISREG(standing.st_mode)) {
    stream_ = std::fopen(path.c_str(), "wb");
    if (stream_ == nullptr) {
      error = std::strerror(errno);
      return false;
    }
    return true;
  }
  const int descriptor = createPartFile(path, partPath_);
  if (descriptor < 0) {
    error = std::strerror(errno);
    return false;
  }
  stream_ = fdopen(descriptor, "wb");
  if (stream_ == nullptr) {
    error = std::strerror(errno);
    close(descriptor);
    unlink(partPath_.c_str());
    return false;
  }
  return true;
}

bool ReplacingFile::commit(std::string& error, int writeError) {
  if (stream_ == nullptr) {
    error = "nothing was written";
    return false;
  }
  // A full disk shows when the buffered rest is written out, if not before.
  const bool flushed = std::fflush(stream_) == 0;
  const int flushError = errno;
  const bool closed = std::fclose(stream_) == 0;
  const int closeError = errno;
  stream_ = nullptr;
  const int failure = writeError != 0 ? writeError : !flushed ? flushError : !closed ? closeError : 0;
  if (partPath_.empty()) {
    if (failure != 0) {
      error = std::strerror(failure);
    }
    return failure == 0;
  }
  if (failure == 0 && std::rename(partPath_.c_str(), path_.c_str()) == 0) {
    return true;
  }
  error = std::strerror(failure != 0 ? failure : errno);
  unlink(partPath_.c_str());
  return false;
}

void ReplacingFile::abandon() {
  if (stream_ == nullptr) {
    return;
  }
  std::fclose(stream_);
  stream_ = nullptr;
  if (!partPath_.empty()) {
    unlink(partPath_.c_str());
  }
}

}  // namespace platform
