#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/mixer.h"
#include "tests/tools/baker_test_support.h"
#include "tools/bake_command.h"
#include "tools/data_folder_baker.h"

using namespace baker;

namespace {

std::set<std::string> listedFiles() {
  std::set<std::string> names;
  std::stringstream list(BAKED_DATA_FILES);
  std::string name;
  while (std::getline(list, name, ',')) names.insert(name);
  return names;
}

std::set<std::string> filesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

TEST(BakedDataFolderTest, holdsEveryFileThePresentationLoads) {
  const std::set<std::string> present = filesIn(bakertest::bakedFolder());
  EXPECT_EQ(present, listedFiles());
  // The names the scenes, effects and music player ask for, byte for byte.
  for (const char* name : {"palm02.3ds", "windmill_body.3ds", "windmill_wings.3ds", "rocketlauncher.3ds", "missile.3ds",
                           "sky.3ds", "text1.3ds", "text2.3ds", "text3.3ds", "text4.3ds", "heightmap.jpg",
                           "terraintexture.jpg", "height2.jpg", "smoke.jpg", "smokealpha.jpg", "YellowBubble.jpg",
                           "BlueBubble.jpg", "redBubble.jpg", "star.jpg", "flare.jpg", "explodeparticle.jpg",
                           "linevol_contours.jpg", "linevol_enamels.jpg", "linevol_redlaser.jpg",
                           "linevol_blueglow.jpg", "linevol_bluethunder.jpg", "linevol_glass.jpg",
                           "linevol_firespiral.jpg", "Vallomere.mp3"}) {
    EXPECT_EQ(present.count(name), 1u) << name;
  }
}

TEST(BakedDataFolderTest, everyPictureDecodesWithItsSize) {
  // Height pictures are grey: the program reads their brightness.
  const std::map<std::string, std::string> expected = {
      {"heightmap.jpg", "256 256 Gray"},      {"terraintexture.jpg", "1024 1024 sRGB"},
      {"height2.jpg", "128 128 Gray"},        {"smoke.jpg", "128 64 sRGB"},
      {"smokealpha.jpg", "128 64 Gray"},      {"BlueBubble.jpg", "128 64 sRGB"},
      {"YellowBubble.jpg", "128 64 sRGB"},    {"redBubble.jpg", "128 64 sRGB"},
      {"star.jpg", "128 64 sRGB"},            {"flare.jpg", "128 64 sRGB"},
      {"explodeparticle.jpg", "128 128 sRGB"}, {"linevol_contours.jpg", "256 256 sRGB"},
      {"linevol_enamels.jpg", "256 256 sRGB"}, {"linevol_redlaser.jpg", "256 256 sRGB"},
      {"linevol_blueglow.jpg", "256 256 sRGB"}, {"linevol_bluethunder.jpg", "256 256 sRGB"},
      {"linevol_glass.jpg", "256 256 sRGB"},  {"linevol_firespiral.jpg", "256 256 sRGB"},
      {"palmbark.jpg", "128 128 sRGB"},       {"palmleaf.jpg", "128 256 sRGB"},
      {"windmill.jpg", "256 256 sRGB"},       {"launcher.jpg", "256 256 sRGB"},
      {"missile.jpg", "256 256 sRGB"},        {"sky.jpg", "1024 1024 sRGB"},
      {"textmetal.jpg", "256 256 sRGB"},
  };
  size_t pictures = 0;
  for (const std::string& name : listedFiles()) {
    if (name.size() > 4 && name.substr(name.size() - 4) == ".jpg") ++pictures;
  }
  EXPECT_EQ(pictures, expected.size()) << "a picture without an expected size";
  for (const auto& [name, sizeAndSpace] : expected) {
    EXPECT_EQ(bakertest::identifyPicture(bakertest::bakedFile(name)), sizeAndSpace) << name;
  }
}

TEST(BakedDataFolderTest, musicDecodesToTheWholeTrack) {
  bakertest::TemporaryFolder folder("music");
  const bakertest::WavFormat format =
      bakertest::decodeMp3Format(bakertest::bakedFile("Vallomere.mp3"), folder.file("track.wav"));
  EXPECT_EQ(format.sampleRate, 44100);
  EXPECT_EQ(format.channels, 2);
  EXPECT_GE(format.seconds, 156.0);
  EXPECT_LT(format.seconds, 160.0);
}

TEST(BakedDataFolderTest, musicLoadsThroughTheMixerAtItsFullLength) {
  // The program's own path: SDL2_mixer decodes the whole file into a sample. The dummy driver
  // stands in for a sound device.
  const char* previous = std::getenv("SDL_AUDIODRIVER");
  const std::string previousDriver = previous != nullptr ? previous : "";
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::string error;
  ASSERT_TRUE(platform::openMixer(44100, 8, error)) << error;
  {
    const platform::MixerSamplePtr track = platform::loadSample(bakertest::bakedFile("Vallomere.mp3"), false);
    ASSERT_NE(track, nullptr);
    const double seconds =
        static_cast<double>(platform::sampleFrames(*track)) / platform::sampleFrequencyHz(*track);
    EXPECT_GE(seconds, 156.0);
    EXPECT_LT(seconds, 160.0);
  }
  platform::closeMixer();
  if (previous != nullptr) {
    setenv("SDL_AUDIODRIVER", previousDriver.c_str(), 1);
  } else {
    unsetenv("SDL_AUDIODRIVER");
  }
}

TEST(BakedDataFolderTest, bakingAgainGivesTheSameBytes) {
  bakertest::TemporaryFolder folder("again");
  ASSERT_TRUE(bakeDataFolder(folder.path(), BakeOptions()));
  EXPECT_EQ(filesIn(folder.path()), filesIn(bakertest::bakedFolder()));
  for (const std::string& name : filesIn(folder.path())) {
    EXPECT_TRUE(bakertest::fileBytes(folder.file(name)) == bakertest::fileBytes(bakertest::bakedFile(name)))
        << name << " differs between two bakes";
  }
}

TEST(BakeCommandTest, refusesBadArgumentsWithTheUsageStatus) {
  std::vector<std::vector<std::string>> badCalls = {
      {},
      {"--title", "X"},
      {"folder", "--colour", "red"},
      {"folder", "--title"},
      {"folder", "--farewell", "ELEVEN CHARS"},
  };
  for (std::vector<std::string>& call : badCalls) {
    std::vector<char*> argv;
    for (std::string& argument : call) argv.push_back(argument.data());
    EXPECT_EQ(runBakeCommand(static_cast<int>(argv.size()), argv.data()), 2) << (call.empty() ? "" : call[0]);
  }
}

}  // namespace
