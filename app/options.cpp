#include "app/options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>

#include "app/presentation.h"
#include "core/program_name.h"
#include "core/random.h"

const char* usageText() {
  return "usage: " DEMO_PRODUCT_NAME " [--windowed | --desktop] [--seed N] [--fps] [--fixed-step S]\n"
         "               [--start-at T] [--end-at T] [--loop] [--benchmark] [--screenshot T:FILE.png]...\n"
         "               [--capture FILE|-] [--video FILE [--rate N]] [--size WxH] [--unattended]\n"
         "               [--gl-debug] [--gl compat|core|es] [--msaa N] [--full-detail] [--help]\n"
         "               [--version]\n"
         "  --windowed        run in an 800 x 600 window instead of switching the display to full screen\n"
         "  --desktop         full screen at the display's own size, without switching its mode\n"
         "  --seed N          start the random sequence from N (0 to 2147483647), so a run can be repeated\n"
         "                    (default: the clock)\n"
         "  --fps             print how many frames were drawn, and how fast, when the program ends\n"
         "  --fixed-step S    advance the presentation by S seconds (0.0001 to 0.1, or 1/N for N from 10\n"
         "                    to 10000) every frame, whatever the clock says: with --seed, every run draws\n"
         "                    the same frames\n"
         "  --start-at T      start T seconds into the presentation (0 to 154, not after --end-at), the\n"
         "                    music with it\n"
         "  --end-at T        end when the presentation passes T seconds (0 to 1000000, default 154)\n"
         "  --loop            start again from the beginning instead of ending\n"
         "  --benchmark       play everything windowed, silent, at 1/60 s steps and seed 1 as fast as\n"
         "                    possible, then print frame times and counts as one JSON line\n"
         "  --screenshot T:F  save the first frame drawn at or after T seconds as the PNG file F\n"
         "  --capture F       write every frame to F ('-' for standard output) as raw 8-bit RGB,\n"
         "                    top row first, for a video encoder\n"
         "  --video F         draw the presentation off-screen, without a window or a sound device, and\n"
         "                    encode it with its music into F with ffmpeg: .mp4 (H.264 and AAC), .mkv\n"
         "                    (lossless FFV1 and FLAC) or .webm (VP9 and Opus); seed 1 unless --seed says\n"
         "  --rate N          frames per second of the video (1 to 240, default 60)\n"
         "  --size WxH        the picture's size off-screen: a video's (default 1920x1080), and that of\n"
         "                    screenshots and captures made without a display (default 800x600)\n"
         "  --unattended      never wait for an answer: every message box takes its default button and\n"
         "                    its text goes to stderr and the log (so does ORVO_GL_UNATTENDED=1)\n"
         "  --gl-debug        log every message of the GL driver and count its errors; the run ends\n"
         "                    with status 4 when there was any\n"
         "  --gl KIND         the GL context to draw with: compat (the compatibility profile), core (a 3.3\n"
         "                    core profile) or es (OpenGL ES 3.0); by default compat, and where the driver\n"
         "                    refuses it core, then es\n"
         "  --msaa N          draw with N samples per pixel (2, 4 or 8) where the driver can\n"
         "  --full-detail     keep the drawing surfaces at their full size: sharper, but at a large size\n"
         "                    on a slow machine fewer frames a second (by default they shrink to keep\n"
         "                    frames coming)\n"
         "  --help            print this text\n"
         "  --version         print the program's version\n"
         "Keys: Escape ends the presentation; P pauses and resumes; Right and Left jump 5 s ahead and\n"
         "back; Home goes back to the start; F1 shows the time, frame rate and surface size.\n"
         "The program reads data/ and its shader files from the working folder, else from its own\n"
         "folder, else from its installed share folder. It appends to debug.txt in the working folder,\n"
         "or in ~/.local/state/" DEMO_PRODUCT_NAME "/ ($XDG_STATE_HOME/" DEMO_PRODUCT_NAME "/) when that cannot be\n"
         "written.\n";
}

namespace {

constexpr unsigned int kBenchmarkSeed = 1;
constexpr unsigned int kVideoSeed = 1;
constexpr int kHighestVideoRate = 240;

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

// A whole number from lowest to highest that fills the whole text (or the text up to `stop`);
// `end` is left just past it.
bool parseWhole(const char* text, char stop, int lowest, int highest, int& number, const char** end = nullptr) {
  if (text == nullptr || *text < '0' || *text > '9') {
    return false;
  }
  errno = 0;
  char* after = nullptr;
  const long value = std::strtol(text, &after, 10);
  if (errno != 0 || *after != stop || value < lowest || value > highest) {
    return false;
  }
  number = static_cast<int>(value);
  if (end != nullptr) {
    *end = after;
  }
  return true;
}

// A step in seconds, or "1/N": a whole number of frames to the second, counted exactly.
bool parseFixedStep(const char* text, AppOptions& options) {
  if (text != nullptr && std::strncmp(text, "1/", 2) == 0) {
    const int shortestRate = static_cast<int>(std::lround(1.0f / kMaxFrameDeltaSeconds));
    const int longestRate = static_cast<int>(std::lround(1.0f / kShortestFixedStepSeconds));
    if (!parseWhole(text + 2, '\0', shortestRate, longestRate, options.fixedStepRate)) {
      return false;
    }
    options.fixedStepSeconds = 1.0f / static_cast<float>(options.fixedStepRate);
    return true;
  }
  options.fixedStepRate = 0;
  return parseSeconds(text, '\0', options.fixedStepSeconds) && options.fixedStepSeconds >= kShortestFixedStepSeconds &&
         options.fixedStepSeconds <= kMaxFrameDeltaSeconds;
}

bool parseSize(const char* text, int& width, int& height) {
  const char* afterWidth = nullptr;
  return parseWhole(text, 'x', kSmallestFrameSide, kLargestFrameSide, width, &afterWidth) &&
         parseWhole(afterWidth + 1, '\0', kSmallestFrameSide, kLargestFrameSide, height);
}

bool endsWith(const std::string& text, const std::string& ending) {
  return text.size() > ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

bool parseScreenshot(const char* text, ScreenshotRequest& request) {
  const char* colon = text != nullptr ? std::strchr(text, ':') : nullptr;
  if (colon == nullptr || colon[1] == '\0' || !parseSeconds(text, ':', request.timeSeconds)) {
    return false;
  }
  request.path = colon + 1;
  return true;
}

// Two requests naming one file, however spelled ("a.png", "./a.png"): the later frame would
// silently replace the earlier one.
bool namesTakenFile(const std::vector<ScreenshotRequest>& taken, const std::string& path) {
  const std::filesystem::path wanted = std::filesystem::path(path).lexically_normal();
  for (const ScreenshotRequest& request : taken) {
    if (std::filesystem::path(request.path).lexically_normal() == wanted) {
      return true;
    }
  }
  return false;
}

// A video is drawn off-screen, silent, in a window of its size, at whole frames of 1/rate s from
// a repeatable seed. Returns what is wrong with the options given with it, or nothing.
std::string takeVideoOptions(AppOptions& options) {
  if (options.benchmark || !options.capturePath.empty() || options.loop) {
    return "--video goes with neither --benchmark, --capture nor --loop";
  }
  if (options.frameWidth == 0) {
    options.frameWidth = kDefaultVideoWidth;
    options.frameHeight = kDefaultVideoHeight;
  }
  // A span without a whole frame would make a video of nothing.
  if ((options.endSeconds - options.startSeconds) * options.videoRate < 1.0 - 1e-6) {
    char problem[160];
    std::snprintf(problem, sizeof problem, "--video: the span from %.2f s to %.2f s is empty: it holds no whole frame at %d frames per second",
                  options.startSeconds, options.endSeconds, options.videoRate);
    return problem;
  }
  // H.264 and VP9 pictures keep colour at half size on each axis, so their sides are even.
  const bool halfSizeColour = !endsWith(options.videoPath, ".mkv");
  if (halfSizeColour && (options.frameWidth % 2 != 0 || options.frameHeight % 2 != 0)) {
    return "--size for .mp4 and .webm videos needs an even width and height";
  }
  options.windowed = true;
  options.desktop = false;
  options.silent = true;
  options.fixedStepRate = options.videoRate * presentationStepsPerVideoFrame(options.videoRate);
  options.fixedStepSeconds = 1.0f / static_cast<float>(options.fixedStepRate);
  if (!options.seedGiven) {
    options.seedGiven = true;
    options.seed = kVideoSeed;
  }
  return std::string();
}

OptionsOutcome usageError(const std::string& problem, std::string& message) {
  message = std::string(kPresentationName) + ": " + problem + "\n" + usageText();
  return OptionsOutcome::ExitUsage;
}

// The options that take no value.
struct FlagOption {
  const char* name;
  bool AppOptions::*field;
};
constexpr FlagOption kFlagOptions[] = {
    {"--windowed", &AppOptions::windowed},     {"--desktop", &AppOptions::desktop},
    {"--loop", &AppOptions::loop},             {"--benchmark", &AppOptions::benchmark},
    {"--unattended", &AppOptions::unattended}, {"--gl-debug", &AppOptions::debugGL},
    {"--full-detail", &AppOptions::fullDetail}, {"--fps", &AppOptions::reportFrameRate},
};

// What became of an option that takes a value: not one of this group, taken, or refused with the
// usage problem said.
enum class ValueOption { NotInGroup, Taken, Refused };

ValueOption refuse(const std::string& text, std::string& problem) {
  problem = text;
  return ValueOption::Refused;
}

// When the presentation plays: its random sequence, its step, where it starts and ends.
ValueOption takeTimingOption(const std::string& argument, const char* value, AppOptions& options,
                             std::string& problem) {
  if (argument == "--seed") {
    if (!parseSeed(value, options.seed)) {
      return refuse("--seed needs a whole number from 0 to 2147483647", problem);
    }
    options.seedGiven = true;
  } else if (argument == "--fixed-step") {
    if (!parseFixedStep(value, options)) {
      return refuse("--fixed-step needs seconds from 0.0001 to 0.1, or 1/N for N from 10 to 10000", problem);
    }
  } else if (argument == "--end-at") {
    if (!parseSeconds(value, '\0', options.endSeconds)) {
      return refuse("--end-at needs seconds from 0 to 1000000", problem);
    }
  } else if (argument == "--start-at") {
    if (!parseSeconds(value, '\0', options.startSeconds) || options.startSeconds > kPresentationEndSeconds) {
      return refuse("--start-at needs seconds from 0 to 154", problem);
    }
  } else {
    return ValueOption::NotInGroup;
  }
  return ValueOption::Taken;
}

// What the run writes: a video, screenshots, a capture, and their size and rate.
ValueOption takeOutputOption(const std::string& argument, const char* value, AppOptions& options,
                             std::string& problem) {
  if (argument == "--video") {
    const std::string path = value != nullptr ? value : "";
    if (!endsWith(path, ".mp4") && !endsWith(path, ".mkv") && !endsWith(path, ".webm")) {
      return refuse("--video needs a file name ending in .mp4, .mkv or .webm", problem);
    }
    options.videoPath = path;
  } else if (argument == "--rate") {
    if (!parseWhole(value, '\0', 1, kHighestVideoRate, options.videoRate)) {
      return refuse("--rate needs a whole number of frames per second from 1 to 240", problem);
    }
  } else if (argument == "--size") {
    if (!parseSize(value, options.frameWidth, options.frameHeight)) {
      return refuse("--size needs WIDTHxHEIGHT, each from 16 to 16384", problem);
    }
  } else if (argument == "--screenshot") {
    ScreenshotRequest request;
    if (!parseScreenshot(value, request)) {
      return refuse("--screenshot needs SECONDS:FILE.png", problem);
    }
    if (namesTakenFile(options.screenshots, request.path)) {
      return refuse("two screenshots are named " + request.path + "; give each its own file", problem);
    }
    options.screenshots.push_back(request);
  } else if (argument == "--capture") {
    if (value == nullptr || *value == '\0') {
      return refuse("--capture needs a file name or -", problem);
    }
    options.capturePath = value;
  } else {
    return ValueOption::NotInGroup;
  }
  return ValueOption::Taken;
}

// How the GL draws: the kind of context and the samples per pixel.
ValueOption takeDrawingOption(const std::string& argument, const char* value, AppOptions& options,
                              std::string& problem) {
  if (argument == "--gl") {
    if (value == nullptr || !platform::parseContextKind(value, options.contextKind)) {
      return refuse("--gl needs compat, core or es", problem);
    }
    options.contextKindGiven = true;
  } else if (argument == "--msaa") {
    const std::string samples = value != nullptr ? value : "";
    if (samples != "2" && samples != "4" && samples != "8") {
      return refuse("--msaa needs 2, 4 or 8 samples per pixel", problem);
    }
    options.msaaSamples = samples[0] - '0';
  } else {
    return ValueOption::NotInGroup;
  }
  return ValueOption::Taken;
}

// An option followed by its value, from whichever group knows it.
ValueOption takeValueOption(const std::string& argument, const char* value, AppOptions& options,
                            std::string& problem) {
  ValueOption outcome = takeTimingOption(argument, value, options, problem);
  if (outcome == ValueOption::NotInGroup) {
    outcome = takeOutputOption(argument, value, options, problem);
  }
  if (outcome == ValueOption::NotInGroup) {
    outcome = takeDrawingOption(argument, value, options, problem);
  }
  return outcome;
}

// What the options mean together; the usage problem, or empty when they agree.
std::string settleOptions(AppOptions& options) {
  // A run that ended before it started would show one frame of the wrong time and no word why.
  if (options.startSeconds > options.endSeconds) {
    return "--start-at must not be later than --end-at";
  }
  if (!options.videoPath.empty()) {
    const std::string problem = takeVideoOptions(options);
    if (!problem.empty()) {
      return problem;
    }
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
  return "";
}

}  // namespace

void drawOffScreenWhereNeeded(AppOptions& options, bool displayAvailable) {
  const bool makesFiles = !options.screenshots.empty() || !options.capturePath.empty();
  if (options.videoPath.empty() && (displayAvailable || !makesFiles)) {
    return;
  }
  options.offScreen = true;
  options.windowed = true;
  options.desktop = false;
  options.silent = true;
  if (options.frameWidth == 0) {
    options.frameWidth = kDefaultOffscreenWidth;
    options.frameHeight = kDefaultOffscreenHeight;
  }
}

bool surfacesFollowFrameTime(const AppOptions& options) {
  return !options.fullDetail && !options.benchmark && options.fixedStepSeconds <= 0.0f && options.fixedStepRate == 0 &&
         options.screenshots.empty() && options.capturePath.empty() && options.videoPath.empty();
}

int presentationStepsPerVideoFrame(int videoRate) {
  const int slowestStepRate = static_cast<int>(std::lround(1.0f / kMaxFrameDeltaSeconds));
  return videoRate >= slowestStepRate ? 1 : (slowestStepRate + videoRate - 1) / videoRate;
}

OptionsOutcome parseOptions(int argc, const char* const argv[], AppOptions& options, std::string& message) {
  for (int index = 1; index < argc; ++index) {
    const std::string argument = argv[index];
    const char* value = index + 1 < argc ? argv[index + 1] : nullptr;
    const auto flag = std::find_if(std::begin(kFlagOptions), std::end(kFlagOptions),
                                   [&argument](const FlagOption& option) { return argument == option.name; });
    if (flag != std::end(kFlagOptions)) {
      options.*(flag->field) = true;
      continue;
    }
    if (argument == "--help") {
      message = usageText();
      return OptionsOutcome::ExitSuccess;
    }
    if (argument == "--version") {
      message = std::string(kPresentationName) + " " + DEMO_VERSION + "\n";
      return OptionsOutcome::ExitSuccess;
    }
    std::string problem;
    switch (takeValueOption(argument, value, options, problem)) {
      case ValueOption::Taken:
        ++index;
        break;
      case ValueOption::Refused:
        return usageError(problem, message);
      case ValueOption::NotInGroup:
        return usageError("unknown option '" + argument + "'", message);
    }
  }
  const std::string problem = settleOptions(options);
  return problem.empty() ? OptionsOutcome::Run : usageError(problem, message);
}
