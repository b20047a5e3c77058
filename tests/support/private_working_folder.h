// A fresh working folder for the life of one test, so that tests reading the log can run in
// parallel processes without reading each other's lines.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class PrivateWorkingFolder {
 public:
  PrivateWorkingFolder() : previous_(std::filesystem::current_path()) {
    char pattern[] = "/tmp/demo_test_XXXXXX";
    if (mkdtemp(pattern) != nullptr) {
      path_ = pattern;
      std::filesystem::current_path(path_);
    }
  }
  PrivateWorkingFolder(const PrivateWorkingFolder&) = delete;
  PrivateWorkingFolder& operator=(const PrivateWorkingFolder&) = delete;
  ~PrivateWorkingFolder() {
    std::filesystem::current_path(previous_);
    if (!path_.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(path_, ignored);
    }
  }

  const std::string& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::string path_;
};
