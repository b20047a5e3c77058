// Output the user keeps is whole or absent: a file is written under a name of its own beside its
// final name (NAME.XXXXXX.part) and renamed over it only once every byte is out, so a full disk or a
// failed write leaves an existing file untouched and no part file behind. What is not a plain file
// (a device such as /dev/stdout, a named pipe, a link) is written into where it stands instead.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

// Makes a new, empty part file beside `path`, exclusively (nothing already there is opened or
// followed), with the permissions a new file of the user's gets. Its descriptor, and its name in
// partPath; -1 with errno set when none can be made.
int createPartFile(const std::string& path, std::string& partPath);

class ReplacingFile {
 public:
  ReplacingFile() = default;
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  ~ReplacingFile();  // abandon()

  // Opens a part file beside `path` for writing (or `path` itself, where it is no plain file). False
  // with the system's reason in error.
  bool open(const std::string& path, std::string& error);
  std::FILE* stream() const { return stream_; }
  // Flushes, closes and renames the part file to the final name. False with the system's reason in
  // error (the part file is then gone); `writeError` is the errno of a write that failed earlier.
  bool commit(std::string& error, int writeError = 0);
  // Closes and removes the part file; the final name is left as it was.
  void abandon();

 private:
  std::string path_;
  std::string partPath_;
  std::FILE* stream_ = nullptr;
};

}  // namespace platform
