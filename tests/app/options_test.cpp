#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/presentation.h"
#include "app/program.h"

namespace {

OptionsOutcome parse(std::initializer_list<const char*> arguments, AppOptions& options, std::string& message) {
  std::vector<const char*> argv = {"orvo-gl"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return parseOptions(static_cast<int>(argv.size()), argv.data(), options, message);
}

TEST(Options, noOptionsRunsFullScreenWithTheClockSeed) {
  AppOptions options;
  std::string message;
  EXPECT_EQ(parse({}, options, message), OptionsOutcome::Run);
  EXPECT_FALSE(options.windowed);
  EXPECT_FALSE(options.seedGiven);
}

TEST(Options, windowedAndSeedAreRead) {
  AppOptions options;
  std::string message;
  EXPECT_EQ(parse({"--seed", "4242", "--windowed", "--fps"}, options, message), OptionsOutcome::Run);
  EXPECT_TRUE(options.reportFrameRate);
  EXPECT_TRUE(options.windowed);
  EXPECT_TRUE(options.seedGiven);
  EXPECT_EQ(options.seed, 4242u);
}

TEST(Options, badOptionsAskForUsage) {
  for (auto arguments : {std::vector<const char*>{"--fullscreen"}, {"--seed"}, {"--seed", "x1"},
                         {"--seed", "-3"}, {"--seed", "99999999999"}}) {
    AppOptions options;
    std::string message;
    std::vector<const char*> argv = {"orvo-gl"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(parseOptions(static_cast<int>(argv.size()), argv.data(), options, message), OptionsOutcome::ExitUsage)
        << arguments[0];
    EXPECT_NE(message.find("usage: orvo-gl"), std::string::npos);
  }
}

TEST(Options, helpAndVersionEndAtOnce) {
  AppOptions options;
  std::string message;
  EXPECT_EQ(parse({"--help"}, options, message), OptionsOutcome::ExitSuccess);
  EXPECT_NE(message.find("--windowed"), std::string::npos);
  EXPECT_EQ(parse({"--version"}, options, message), OptionsOutcome::ExitSuccess);
  EXPECT_EQ(message, std::string("orvo-gl ") + DEMO_VERSION + "\n");
}

TEST(MovingLight, circlesAndFlickersAboutFiftyUnitsUp) {
  const Vector3 still = movingLightAt(0.0f, 0.0f);
  EXPECT_FLOAT_EQ(still.x, 0.0f);
  EXPECT_FLOAT_EQ(still.y, 50.0f);
  EXPECT_FLOAT_EQ(still.z, 50.0f);
  const Vector3 high = movingLightAt(0.0f, 0.9999f);
  EXPECT_NEAR(high.y, 0.9999 * std::sin(1.5) * 100.0 + 50.0, 1e-4);
  const Vector3 later = movingLightAt(static_cast<float>(M_PI / 2), 0.5f);
  EXPECT_NEAR(later.x, 70.0f, 1e-4);
  EXPECT_NEAR(later.z, 0.0f, 1e-4);
}

}  // namespace

namespace {

TEST(Options, repeatableRunAndCaptureOptionsAreRead) {
  AppOptions options;
  std::string message;
  EXPECT_EQ(parse({"--fixed-step", "0.04", "--end-at", "95.5", "--screenshot", "30:a.png", "--screenshot",
                   "5:dir/b:c.png", "--capture", "-"},
                  options, message),
            OptionsOutcome::Run);
  EXPECT_FLOAT_EQ(options.fixedStepSeconds, 0.04f);
  EXPECT_FLOAT_EQ(options.endSeconds, 95.5f);
  ASSERT_EQ(options.screenshots.size(), 2u);
  EXPECT_FLOAT_EQ(options.screenshots[0].timeSeconds, 30.0f);
  EXPECT_EQ(options.screenshots[0].path, "a.png");
  EXPECT_EQ(options.screenshots[1].path, "dir/b:c.png");
  EXPECT_EQ(options.capturePath, "-");
}

TEST(Options, twoScreenshotsUnderOneNameAreRefusedNamingIt) {
  for (auto second : {"1.5:same.png", "1.5:./same.png", "1.5:dir/../same.png"}) {
    AppOptions options;
    std::string message;
    EXPECT_EQ(parse({"--screenshot", "0.5:same.png", "--screenshot", second}, options, message),
              OptionsOutcome::ExitUsage)
        << second;
    EXPECT_NE(message.find("same.png"), std::string::npos) << message;
  }
}

TEST(Options, badTimesAreRefused) {
  for (auto arguments : {std::vector<const char*>{"--fixed-step", "0"}, {"--fixed-step", "0.5"},
                         {"--fixed-step", "1e-10"}, {"--fixed-step", "0.00009"},
                         {"--fixed-step", "nan"}, {"--end-at", "-1"}, {"--end-at", "inf"}, {"--screenshot", "3"},
                         {"--screenshot", "x:a.png"}, {"--screenshot", "4:"}, {"--capture"}}) {
    AppOptions options;
    std::string message;
    std::vector<const char*> argv = {"orvo-gl"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(parseOptions(static_cast<int>(argv.size()), argv.data(), options, message), OptionsOutcome::ExitUsage)
        << arguments[0] << " " << (arguments.size() > 1 ? arguments[1] : "");
  }
}

TEST(Options, startAtLoopAndDesktopAreReadAndAStartOutsideThePresentationIsRefused) {
  AppOptions options;
  std::string message;
  EXPECT_EQ(parse({"--start-at", "120.5", "--loop", "--desktop"}, options, message), OptionsOutcome::Run);
  EXPECT_FLOAT_EQ(options.startSeconds, 120.5f);
  EXPECT_TRUE(options.loop);
  EXPECT_TRUE(options.desktop);
  EXPECT_EQ(parse({"--start-at", "154"}, options, message), OptionsOutcome::Run);
  EXPECT_EQ(parse({"--start-at", "0"}, options, message), OptionsOutcome::Run);
  for (const char* bad : {"154.01", "-1", "1e7", "nan", "ten"}) {
    AppOptions refused;
    EXPECT_EQ(parse({"--start-at", bad}, refused, message), OptionsOutcome::ExitUsage) << bad;
    EXPECT_NE(message.find("--start-at needs seconds from 0 to 154"), std::string::npos) << bad;
  }
}

// A refused value says which values are taken.
TEST(Options, endTimesOutsideTheirRangeAreRefusedNamingTheRange) {
  for (const char* value : {"1e7", "-5", "x"}) {
    AppOptions options;
    std::string message;
    const std::vector<const char*> argv = {"orvo-gl", "--end-at", value};
    EXPECT_EQ(parseOptions(3, argv.data(), options, message), OptionsOutcome::ExitUsage);
    EXPECT_EQ(message.substr(0, message.find('\n')), "orvo-gl: --end-at needs seconds from 0 to 1000000") << value;
  }
}

TEST(Options, unattendedIsRead) {
  AppOptions options;
  std::string message;
  const std::vector<const char*> argv = {"orvo-gl", "--unattended"};
  EXPECT_EQ(parseOptions(2, argv.data(), options, message), OptionsOutcome::Run);
  EXPECT_TRUE(options.unattended);
}

TEST(Options, debugGLAndSamplesPerPixelAreReadAndOtherSampleCountsRefused) {
  AppOptions options;
  std::string message;
  EXPECT_EQ(parse({"--gl-debug", "--msaa", "8"}, options, message), OptionsOutcome::Run);
  EXPECT_TRUE(options.debugGL);
  EXPECT_EQ(options.msaaSamples, 8);
  for (const char* bad : {"3", "16", "4x", ""}) {
    AppOptions refused;
    EXPECT_EQ(parse({"--msaa", bad}, refused, message), OptionsOutcome::ExitUsage) << bad;
    EXPECT_NE(message.find("--msaa needs 2, 4 or 8"), std::string::npos) << bad;
  }
  AppOptions missing;
  EXPECT_EQ(parse({"--msaa"}, missing, message), OptionsOutcome::ExitUsage);
}

TEST(Options, contextKindIsOneOfThreeAndUnsetByDefault) {
  AppOptions plain;
  std::string message;
  EXPECT_EQ(parse({"--windowed"}, plain, message), OptionsOutcome::Run);
  EXPECT_FALSE(plain.contextKindGiven);
  const std::pair<const char*, platform::GLContextKind> kinds[] = {
      {"compat", platform::GLContextKind::Compatibility},
      {"core", platform::GLContextKind::Core},
      {"es", platform::GLContextKind::ES}};
  for (const auto& [text, kind] : kinds) {
    AppOptions options;
    EXPECT_EQ(parse({"--gl", text}, options, message), OptionsOutcome::Run) << text;
    EXPECT_TRUE(options.contextKindGiven);
    EXPECT_EQ(options.contextKind, kind) << text;
  }
  for (const char* bad : {"gles", "CORE", ""}) {
    AppOptions refused;
    EXPECT_EQ(parse({"--gl", bad}, refused, message), OptionsOutcome::ExitUsage) << bad;
    EXPECT_NE(message.find("--gl needs compat, core or es"), std::string::npos) << bad;
  }
  AppOptions missing;
  EXPECT_EQ(parse({"--gl"}, missing, message), OptionsOutcome::ExitUsage);
}

// Steps so short that a run would never end are refused; the shortest taken is 0.0001 s.
TEST(Options, theShortestFixedStepIsATenThousandthOfASecond) {
  AppOptions options;
  std::string message;
  EXPECT_EQ(parse({"--fixed-step", "0.0001"}, options, message), OptionsOutcome::Run);
  EXPECT_FLOAT_EQ(options.fixedStepSeconds, 0.0001f);
  EXPECT_EQ(parse({"--fixed-step", "1e-10"}, options, message), OptionsOutcome::ExitUsage);
  EXPECT_EQ(message.substr(0, message.find('\n')),
            "orvo-gl: --fixed-step needs seconds from 0.0001 to 0.1, or 1/N for N from 10 to 10000");
}

// "1/N" counts whole frames, N to the second, within the same range of steps.
TEST(Options, aFixedStepOfOneOverNCountsWholeFrames) {
  AppOptions options;
  std::string message;
  EXPECT_EQ(parse({"--fixed-step", "1/30"}, options, message), OptionsOutcome::Run);
  EXPECT_EQ(options.fixedStepRate, 30);
  EXPECT_FLOAT_EQ(options.fixedStepSeconds, 1.0f / 30.0f);
  for (const char* bad : {"1/9", "1/10001", "1/", "1/x", "2/30", "1/30s"}) {
    AppOptions refused;
    EXPECT_EQ(parse({"--fixed-step", bad}, refused, message), OptionsOutcome::ExitUsage) << bad;
  }
}

// A video is drawn off-screen, silent and repeatable: full HD at 60 frames per second and seed 1
// unless told otherwise, with whole frames of the presentation; below 10 frames per second each
// video frame is several of the presentation's steps, none longer than a tenth of a second.
TEST(VideoOptions, aVideoIsSilentRepeatableAndCountedInWholeFrames) {
  AppOptions options;
  std::string message;
  ASSERT_EQ(parse({"--video", "show.mp4"}, options, message), OptionsOutcome::Run);
  EXPECT_EQ(options.videoPath, "show.mp4");
  EXPECT_EQ(options.frameWidth, 1920);
  EXPECT_EQ(options.frameHeight, 1080);
  EXPECT_EQ(options.fixedStepRate, 60);
  EXPECT_TRUE(options.silent);
  EXPECT_TRUE(options.windowed);
  EXPECT_TRUE(options.seedGiven);
  EXPECT_EQ(options.seed, 1u);
  drawOffScreenWhereNeeded(options, true);
  EXPECT_TRUE(options.offScreen);

  AppOptions slow;
  ASSERT_EQ(parse({"--video", "slow.mkv", "--rate", "4", "--seed", "9", "--size", "641x479"}, slow, message),
            OptionsOutcome::Run);
  EXPECT_EQ(presentationStepsPerVideoFrame(4), 3);
  EXPECT_EQ(slow.fixedStepRate, 12);
  EXPECT_EQ(slow.seed, 9u);
  EXPECT_EQ(slow.frameWidth, 641);
  EXPECT_EQ(presentationStepsPerVideoFrame(10), 1);
  EXPECT_EQ(presentationStepsPerVideoFrame(240), 1);
}

TEST(VideoOptions, badNamesRatesSizesAndCompanionsAreRefusedWithTheUsage) {
  for (auto arguments : {std::vector<const char*>{"--video", "show.avi"}, {"--video", ".mp4"}, {"--video"},
                         {"--video", "a.mp4", "--rate", "0"}, {"--video", "a.mp4", "--rate", "241"},
                         {"--video", "a.mp4", "--size", "15x16"}, {"--video", "a.mp4", "--size", "16x16385"},
                         {"--video", "a.mp4", "--size", "320x"}, {"--video", "a.mp4", "--size", "321x240"},
                         {"--video", "a.webm", "--size", "320x241"}, {"--video", "a.mp4", "--capture", "-"},
                         {"--video", "a.mp4", "--benchmark"},
                         // Spans that hold no whole frame.
                         {"--video", "a.mkv", "--start-at", "10", "--end-at", "10"}, {"--video", "a.mkv", "--end-at", "0"},
                         {"--video", "a.mkv", "--start-at", "153.99"},
                         {"--video", "a.mkv", "--rate", "10", "--start-at", "20", "--end-at", "20.05"}}) {
    AppOptions options;
    std::string message;
    std::vector<const char*> argv = {"orvo-gl"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(parseOptions(static_cast<int>(argv.size()), argv.data(), options, message), OptionsOutcome::ExitUsage)
        << arguments.back();
    EXPECT_NE(message.find("usage: orvo-gl"), std::string::npos);
  }
}

// Screenshots and captures are drawn off-screen only where there is no display; a run that makes
// no file keeps needing one.
TEST(VideoOptions, screenshotsAndCapturesAreDrawnOffScreenOnlyWithoutADisplay) {
  AppOptions onDisplay;
  onDisplay.capturePath = "frames.rgb";
  drawOffScreenWhereNeeded(onDisplay, true);
  EXPECT_FALSE(onDisplay.offScreen);
  AppOptions withoutDisplay = onDisplay;
  drawOffScreenWhereNeeded(withoutDisplay, false);
  EXPECT_TRUE(withoutDisplay.offScreen);
  EXPECT_EQ(withoutDisplay.frameWidth, 800);
  EXPECT_EQ(withoutDisplay.frameHeight, 600);
  AppOptions plain;
  drawOffScreenWhereNeeded(plain, false);
  EXPECT_FALSE(plain.offScreen);
}

// A start after the end would play one frame of the wrong time: it is refused like any bad value,
// whichever option comes first; a start at the end itself is a run of one frame.
TEST(Options, aStartLaterThanTheEndIsRefused) {
  for (auto arguments : {std::vector<const char*>{"--start-at", "20", "--end-at", "10"},
                         {"--end-at", "10", "--start-at", "20"}, {"--end-at", "0", "--start-at", "0.1"}}) {
    AppOptions options;
    std::string message;
    std::vector<const char*> argv = {"orvo-gl"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(parseOptions(static_cast<int>(argv.size()), argv.data(), options, message), OptionsOutcome::ExitUsage)
        << arguments[1] << " " << arguments[3];
    EXPECT_EQ(message.substr(0, message.find('\n')), "orvo-gl: --start-at must not be later than --end-at");
    EXPECT_NE(message.find("usage: orvo-gl"), std::string::npos);
  }
  AppOptions options;
  std::string message;
  EXPECT_EQ(parse({"--start-at", "10", "--end-at", "10"}, options, message), OptionsOutcome::Run);
}

// The random sequence keeps 31 bits of its seed: a larger seed would draw the frames of the seed
// 2^31 below it, so it is refused, naming the seeds taken.
TEST(Options, seedsBeyondThoseTheSequenceTellsApartAreRefused) {
  AppOptions options;
  std::string message;
  EXPECT_EQ(parse({"--seed", "2147483647"}, options, message), OptionsOutcome::Run);
  EXPECT_EQ(options.seed, 2147483647u);
  for (const char* bad : {"2147483648", "4294967295", "4294967296"}) {
    AppOptions refused;
    EXPECT_EQ(parse({"--seed", bad}, refused, message), OptionsOutcome::ExitUsage) << bad;
    EXPECT_EQ(message.substr(0, message.find('\n')), "orvo-gl: --seed needs a whole number from 0 to 2147483647") << bad;
  }
}

}  // namespace

namespace {

// Whether a run with these options lets the drawing surfaces shrink; the options must be good.
bool surfacesShrinkWith(std::vector<const char*> arguments) {
  AppOptions options;
  std::string message;
  arguments.insert(arguments.begin(), "orvo-gl");
  EXPECT_EQ(parseOptions(static_cast<int>(arguments.size()), arguments.data(), options, message), OptionsOutcome::Run)
      << message;
  return surfacesFollowFrameTime(options);
}

// Live play may shrink the drawing surfaces; every run whose frames must be exact, and
// --full-detail, keeps them at the full size.
TEST(Options, onlyLivePlayWithoutFullDetailLetsTheSurfacesShrink) {
  EXPECT_TRUE(surfacesShrinkWith({}));
  EXPECT_TRUE(surfacesShrinkWith({"--windowed"}));
  EXPECT_TRUE(surfacesShrinkWith({"--desktop", "--fps", "--start-at", "110"}));
  EXPECT_FALSE(surfacesShrinkWith({"--full-detail"}));
  EXPECT_FALSE(surfacesShrinkWith({"--desktop", "--full-detail"}));
  EXPECT_FALSE(surfacesShrinkWith({"--fixed-step", "0.02"}));
  EXPECT_FALSE(surfacesShrinkWith({"--fixed-step", "1/30"}));
  EXPECT_FALSE(surfacesShrinkWith({"--screenshot", "25:a.png"}));
  EXPECT_FALSE(surfacesShrinkWith({"--capture", "-"}));
  EXPECT_FALSE(surfacesShrinkWith({"--video", "a.mkv"}));
  EXPECT_FALSE(surfacesShrinkWith({"--benchmark"}));
}

}  // namespace
