#include "core/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

InputFileResult problem(InputFileProblem kind, const std::string& reason) { return InputFileResult{kind, reason}; }

InputFileResult openProblem(int error) {
  if (error == ENOENT || error == ENOTDIR) {
    return problem(InputFileProblem::Missing, "not found");
  }
  return problem(InputFileProblem::Unreadable, std::string("cannot be opened: ") + std::strerror(error));
}

InputFileResult typeProblem(mode_t mode) {
  if (S_ISDIR(mode)) {
    return problem(InputFileProblem::Folder, "is a folder, not a file");
  }
  if (S_ISFIFO(mode)) {
    return problem(InputFileProblem::NotRegular, "is a FIFO, not a regular file");
  }
  if (S_ISCHR(mode) || S_ISBLK(mode)) {
    return problem(InputFileProblem::NotRegular, "is a device, not a regular file");
  }
  return problem(InputFileProblem::NotRegular, "is not a regular file");
}

}  // namespace

InputFileResult readInputFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes) {
  bytes.clear();
  // Non-blocking, so opening a FIFO without a writer returns at once instead of waiting for one;
  // the type check below then refuses it.
  const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    return openProblem(errno);
  }
  struct stat status;
  if (fstat(descriptor, &status) != 0) {
    const int error = errno;
    close(descriptor);
    return problem(InputFileProblem::Unreadable, std::string("cannot be examined: ") + std::strerror(error));
  }
  if (!S_ISREG(status.st_mode)) {
    close(descriptor);
    return typeProblem(status.st_mode);
  }
  if (status.st_size < 0 || static_cast<unsigned long long>(status.st_size) > maxBytes) {
    close(descriptor);
    return problem(InputFileProblem::TooLarge, "is larger than the " + std::to_string(maxBytes) + "-byte limit");
  }
  bytes.assign(static_cast<size_t>(status.st_size), 0);
  size_t filled = 0;
  int readError = 0;
  while (filled < bytes.size()) {
    const ssize_t count = read(descriptor, bytes.data() + filled, bytes.size() - filled);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      readError = errno;
      break;
    }
    if (count == 0) {
      break;
    }
    filled += static_cast<size_t>(count);
  }
  close(descriptor);
  if (readError != 0) {
    bytes.clear();
    return problem(InputFileProblem::ReadFailed, std::string("cannot be read: ") + std::strerror(readError));
  }
  bytes.resize(filled);
  return InputFileResult();
}
