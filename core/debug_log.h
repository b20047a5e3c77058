// The append-only text log every loader writes to: one open, append and close per message.
#pragma once

// The log of the working folder. The file name is compared without regard to case, so
// "Debug.txt" and "debug.txt" both reach this one file.
constexpr const char* kLogFileName = "debug.txt";
constexpr int kLogMessageBufferBytes = 1024;

class DebugLog {
 public:
  // Formats printf-style into a 1024-byte buffer (longer messages are cut at 1023 characters)
  // and appends the text verbatim. A log that cannot be opened drops the message; the first such
  // failure of the run is reported once on stderr, later ones quietly.
  static void append(const char* fileName, const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Lets the next write failure be reported again (for tests that provoke one).
  static void forgetWriteFailure();
};
