#include "app/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char* usageText() {
  return "usage: demo [--windowed] [--seed N] [--fps] [--help] [--version]\n"
         "  --windowed   run in an 800 x 600 window instead of switching the display to full screen\n"
         "  --seed N     start the random sequence from N, so a run can be repeated (default: the clock)\n"
         "  --fps        print how many frames were drawn, and how fast, when the program ends\n"
         "  --help       print this text\n"
         "  --version    print the program's version\n"
         "Escape ends the presentation. The program reads data/ and its shader files from the\n"
         "working folder and appends to debug.txt there.\n";
}

namespace {

bool parseSeed(const char* text, unsigned int& seed) {
  if (text == nullptr || *text == '\0' || *text == '-') {
    return false;
  }
  errno = 0;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text, &end, 10);
  if (errno != 0 || *end != '\0' || value > 0xffffffffUL) {
    return false;
  }
  seed = static_cast<unsigned int>(value);
  return true;
}

}  // namespace

OptionsOutcome parseOptions(int argc, const char* const argv[], AppOptions& options, std::string& message) {
  for (int index = 1; index < argc; ++index) {
    const char* argument = argv[index];
    if (std::strcmp(argument, "--windowed") == 0) {
      options.windowed = true;
    } else if (std::strcmp(argument, "--seed") == 0) {
      if (index + 1 >= argc || !parseSeed(argv[index + 1], options.seed)) {
        message = std::string("demo: --seed needs a whole number from 0 to 4294967295\n") + usageText();
        return OptionsOutcome::ExitUsage;
      }
      options.seedGiven = true;
      ++index;
    } else if (std::strcmp(argument, "--fps") == 0) {
      options.reportFrameRate = true;
    } else if (std::strcmp(argument, "--help") == 0) {
      message = usageText();
      return OptionsOutcome::ExitSuccess;
    } else if (std::strcmp(argument, "--version") == 0) {
      message = std::string("demo ") + DEMO_VERSION + "\n";
      return OptionsOutcome::ExitSuccess;
    } else {
      message = std::string("demo: unknown option '") + argument + "'\n" + usageText();
      return OptionsOutcome::ExitUsage;
    }
  }
  return OptionsOutcome::Run;
}
