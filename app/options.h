// The program's command-line options. With none, the presentation runs as designed.
#pragma once

#include <string>

struct AppOptions {
  bool windowed = false;     // skip the full-screen attempt and its question
  bool seedGiven = false;    // seed the random sequence with `seed` instead of the clock
  unsigned int seed = 0;
  bool reportFrameRate = false;  // print the frame count and frames per second at exit
};

enum class OptionsOutcome { Run, ExitSuccess, ExitUsage };

// Fills options from argv. Text to print (help, version or the usage error) goes to message.
OptionsOutcome parseOptions(int argc, const char* const argv[], AppOptions& options, std::string& message);
const char* usageText();
