// The append-only text log every loader writes to: one open, append and close per message.
#pragma once

#include <string>

// The log's name. Callers pass it as the file name; the name is compared without regard to case,
// so "Debug.txt" and "debug.txt" both reach this one file, wherever start-up placed it.
constexpr const char* kLogFileName = "debug.txt";
constexpr int kLogMessageBufferBytes = 1024;

class DebugLog {
 public:
  // Formats printf-style into a 1024-byte buffer (longer messages are cut at 1023 characters)
  // and appends the text verbatim. A log that cannot be opened drops the message; the first such
  // failure of the run is reported once on stderr, later ones quietly.
  static void append(const char* fileName, const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Where the log's lines go from now on (start-up moves them out of a working folder that cannot
  // take them); until then, debug.txt in the working folder.
  static void setLogPath(const std::string& path);
  // Lets the next write failure be reported again (for tests that provoke one).
  static void forgetWriteFailure();
};
