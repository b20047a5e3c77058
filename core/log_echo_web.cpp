// On the web the program's standard output is the console's log level, so a log line shows there
// as a plain message, never as an error. A line the log appends in pieces is shown once whole.
#include "core/log_echo.h"

#include <cstdio>
#include <string>

namespace {

std::string& unfinishedLine() {
  static std::string line;
  return line;
}

}  // namespace

void echoLogText(const char* text) {
  std::string& line = unfinishedLine();
  for (const char* next = text; *next != '\0'; ++next) {
    // The log's lines end in CR LF; the console starts a message per line of its own.
    if (*next == '\r') {
      continue;
    }
    if (*next != '\n') {
      line += *next;
      continue;
    }
    std::printf("%s\n", line.c_str());
    line.clear();
  }
  std::fflush(stdout);
}
