// Whole-file reads and writes for tests, and the part of the log a test added.
#pragma once

#include <cstddef>
#include <fstream>
#include <sstream>
#include <string>

#include "core/debug_log.h"

inline void writeTextFile(const std::string& path, const std::string& text) {
  std::ofstream stream(path, std::ios::binary | std::ios::trunc);
  stream << text;
}

inline std::string readTextFile(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  std::stringstream text;
  text << stream.rdbuf();
  return text.str();
}

// What the log gained since construction (earlier runs and tests leave their lines before it).
class LogTail {
 public:
  LogTail() : start_(readTextFile(kLogFileName).size()) {}
  std::string text() const {
    const std::string whole = readTextFile(kLogFileName);
    return whole.size() > start_ ? whole.substr(start_) : std::string();
  }

 private:
  size_t start_ = 0;
};
