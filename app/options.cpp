#include "app/options.h"

#include "app/presentation.h"
#include "core/program_name.h"
#include "core/random.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

const char* usageText() {
  return "usage: " DEMO_PRODUCT_NAME " [--windowed | --desktop] [--seed N] [--fps] [--fixed-step S]\n"
         "               [--start-at T] [--end-at T] [--loop] [--benchmark] [--screenshot T:FILE.png]...\n"
         "               [--capture FILE|-] [--unattended] [--gl-debug] [--msaa N] [--help] [--version]\n"
         "  --windowed        run in an 800 x 600 window instead of switching the display to full screen\n"
         "  --desktop         full screen at the display's own size, without switching its mode\n"
         "  --seed N          start the random sequence from N (0 to 2147483647), so a run can be repeated\n"
         "                    (default: the clock)\n"
         "  --fps             print how many frames were drawn, and how fast, when the program ends\n"
         "  --fixed-step S    advance the presentation by S seconds (0.0001 to 0.1) every frame, whatever\n"
         "                    the clock says: with --seed, every run draws the same frames\n"
         "  --start-at T      start T seconds into the presentation (0 to 154, not after --end-at), the\n"
         "                    music with it\n"
         "  --end-at T        end when the presentation passes T seconds (0 to 1000000, default 154)\n"
         "  --loop            start again from the beginning instead of ending\n"
         "  --benchmark       play everything windowed, silent, at 1/60 s steps and seed 1 as fast as\n"
         "                    possible, then print frame times and counts as one JSON line\n"
         "  --screenshot T:F  save the first frame drawn at or after T seconds as the PNG file F\n"
         "  --capture F       write every frame to F ('-' for standard output) as raw 8-bit RGB,\n"
         "                    top row first, for a video encoder\n"
         "  --unattended      never wait for an answer: every message box takes its default button and\n"
         "                    its text goes to stderr and the log (so does ORVO_GL_UNATTENDED=1)\n"
         "  --gl-debug        log every message of the GL driver and count its errors; the run ends\n"
         "                    with status 4 when there was any\n"
         "  --msaa N          draw with N samples per pixel (2, 4 or 8) where the driver can\n"
         "  --help            print this text\n"
         "  --version         print the program's version\n"
         "Keys: Escape ends the presentation; P pauses and resumes; Right and Left jump 5 s ahead and\n"
         "back; Home goes back to the start; F1 shows the time and frame rate.\n"
         "The program reads data/ and its shader files from the working folder, else from its own\n"
         "folder, else from its installed share folder. It appends to debug.txt in the working folder,\n"
         "or in ~/.local/state/" DEMO_PRODUCT_NAME "/ ($XDG_STATE_HOME/" DEMO_PRODUCT_NAME "/) when that cannot be\n"
         "written.\n";
}

namespace {

constexpr unsigned int kBenchmarkSeed = 1;

bool parseSeed(const char* text, unsigned int& seed) {
  if (text == nullptr || *text == '\0' || *text == '-') {
    return false;
  }
  errno = 0;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text, &end, 10);
  if (errno != 0 || *end != '\0' || value > kLargestSeed) {
    return false;
  }
  seed = static_cast<unsigned int>(value);
  return true;
}

// A finite, non-negative number of seconds that fills the whole text (or the text up to `stop`).
bool parseSeconds(const char* text, char stop, float& seconds) {
  if (text == nullptr || *text == '\0') {
    return false;
  }
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (errno != 0 || end == text || *end != stop || !std::isfinite(value) || value < 0.0 || value > kMaxOptionSeconds) {
    return false;
  }
  seconds = static_cast<float>(value);
  return true;
}

bool parseScreenshot(const char* text, ScreenshotRequest& request) {
  const char* colon = text != nullptr ? std::strchr(text, ':') : nullptr;
  if (colon == nullptr || colon[1] == '\0' || !parseSeconds(text, ':', request.timeSeconds)) {
    return false;
  }
  request.path = colon + 1;
  return true;
}

OptionsOutcome usageError(const std::string& problem, std::string& message) {
  message = std::string(kPresentationName) + ": " + problem + "\n" + usageText();
  return OptionsOutcome::ExitUsage;
}

}  // namespace

OptionsOutcome parseOptions(int argc, const char* const argv[], AppOptions& options, std::string& message) {
  for (int index = 1; index < argc; ++index) {
    const std::string argument = argv[index];
    const char* value = index + 1 < argc ? argv[index + 1] : nullptr;
    if (argument == "--windowed") {
      options.windowed = true;
    } else if (argument == "--desktop") {
      options.desktop = true;
    } else if (argument == "--loop") {
      options.loop = true;
    } else if (argument == "--benchmark") {
      options.benchmark = true;
    } else if (argument == "--unattended") {
      options.unattended = true;
    } else if (argument == "--gl-debug") {
      options.glDebug = true;
    } else if (argument == "--fps") {
      options.reportFrameRate = true;
    } else if (argument == "--help") {
      message = usageText();
      return OptionsOutcome::ExitSuccess;
    } else if (argument == "--version") {
      message = std::string(kPresentationName) + " " + DEMO_VERSION + "\n";
      return OptionsOutcome::ExitSuccess;
    } else if (argument == "--seed") {
      if (!parseSeed(value, options.seed)) {
        return usageError("--seed needs a whole number from 0 to 2147483647", message);
      }
      options.seedGiven = true;
      ++index;
    } else if (argument == "--fixed-step") {
      if (!parseSeconds(value, '\0', options.fixedStepSeconds) || options.fixedStepSeconds < kShortestFixedStepSeconds ||
          options.fixedStepSeconds > kMaxFrameDeltaSeconds) {
        return usageError("--fixed-step needs seconds from 0.0001 to 0.1", message);
      }
      ++index;
    } else if (argument == "--end-at") {
      if (!parseSeconds(value, '\0', options.endSeconds)) {
        return usageError("--end-at needs seconds from 0 to 1000000", message);
      }
      ++index;
    } else if (argument == "--msaa") {
      const std::string samples = value != nullptr ? value : "";
      if (samples != "2" && samples != "4" && samples != "8") {
        return usageError("--msaa needs 2, 4 or 8 samples per pixel", message);
      }
      options.msaaSamples = samples[0] - '0';
      ++index;
    } else if (argument == "--start-at") {
      if (!parseSeconds(value, '\0', options.startSeconds) || options.startSeconds > kPresentationEndSeconds) {
        return usageError("--start-at needs seconds from 0 to 154", message);
      }
      ++index;
    } else if (argument == "--screenshot") {
      ScreenshotRequest request;
      if (!parseScreenshot(value, request)) {
        return usageError("--screenshot needs SECONDS:FILE.png", message);
      }
      options.screenshots.push_back(request);
      ++index;
    } else if (argument == "--capture") {
      if (value == nullptr || *value == '\0') {
        return usageError("--capture needs a file name or -", message);
      }
      options.capturePath = value;
      ++index;
    } else {
      return usageError("unknown option '" + argument + "'", message);
    }
  }
  // A run that ended before it started would show one frame of the wrong time and no word why.
  if (options.startSeconds > options.endSeconds) {
    return usageError("--start-at must not be later than --end-at", message);
  }
  if (options.benchmark) {
    options.windowed = true;
    options.desktop = false;
    options.silent = true;
    options.fixedStepSeconds = kShortFrameSeconds;
    if (!options.seedGiven) {
      options.seedGiven = true;
      options.seed = kBenchmarkSeed;
    }
  }
  return OptionsOutcome::Run;
}
