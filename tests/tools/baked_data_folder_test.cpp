#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "image/image_decoder.h"
#include "platform/mixer.h"
#include "sequence/camera.h"
#include "sequence/outdoor_scene.h"
#include "tests/tools/baker_test_support.h"
#include "tools/bake_command.h"
#include "tools/data_folder_baker.h"
#include "tools/landscape.h"

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

DecodedImage decodeBaked(const std::string& name) {
  const std::vector<unsigned char> bytes = bakertest::fileBytes(bakertest::bakedFile(name));
  DecodedImage image;
  std::string error;
  EXPECT_TRUE(decodeImage(bytes.data(), bytes.size(), imageFormatFromFileName(name), image, error)) << name << ": " << error;
  image.convertTo24Bits();
  return image;
}

TEST(BakedDataFolderTest, everyPictureDecodesInOurDecoderAtTheSizeImageMagickReads) {
  for (const std::string& name : listedFiles()) {
    if (name.size() < 4 || name.substr(name.size() - 4) != ".jpg") continue;
    EXPECT_EQ(imageFormatFromFileName(name), kImageJpeg) << name;
    const DecodedImage image = decodeBaked(name);
    ASSERT_TRUE(image.isValid()) << name;
    std::istringstream identified(bakertest::identifyPicture(bakertest::bakedFile(name)));
    int width = 0;
    int height = 0;
    identified >> width >> height;
    EXPECT_EQ(image.width(), width) << name;
    EXPECT_EQ(image.height(), height) << name;
  }
}

// The terrain's own height query (its blue byte, bottom row first) over the baked height map.
class BakedGround {
 public:
  BakedGround() : image_(decodeBaked("heightmap.jpg")) {}
  float heightAt(float x, float z) const {
    const int px = static_cast<int>((x - kGroundMin) / (kGroundMax - kGroundMin) * image_.width());
    const int pz = static_cast<int>((z - kGroundMin) / (kGroundMax - kGroundMin) * image_.height());
    return heightOfPixel(px, pz);
  }
  float heightOfPixel(int px, int pz) const {
    return kGroundLow + (kGroundHigh - kGroundLow) * 0.003921569f * image_.pixel(px, pz).b;
  }
  // Where the terrain's patches put a pixel: the picture's first and last columns on the edges.
  float pixelToGround(int pixel) const {
    return kGroundMin + (kGroundMax - kGroundMin) * static_cast<float>(pixel) / static_cast<float>(image_.width() - 1);
  }

 private:
  DecodedImage image_;
};

TEST(BakedDataFolderTest, heightMapHoldsTheLandscapeTheRightWayUp) {
  const BakedGround ground;
  const Landscape land;
  for (int px = 0; px < 256; px += 15) {
    for (int pz = 0; pz < 256; pz += 15) {
      const float x = ground.pixelToGround(px);
      const float z = ground.pixelToGround(pz);
      EXPECT_NEAR(ground.heightOfPixel(px, pz), land.heightAt(x, z), 1.0f) << x << ", " << z;
    }
  }
}

TEST(BakedDataFolderTest, groundSuitsWhatTheOutdoorSceneDoesOnIt) {
  const BakedGround ground;
  // Missiles start at (195, 20, z) for z in [-40, 40] and burst when 2 units above the ground.
  for (float z = -40.0f; z <= 40.0f; z += 1.0f) {
    EXPECT_LT(ground.heightAt(195.0f, z), 17.0f) << "a missile would burst at launch at z = " << z;
  }
  // Palms and windmills stand on the plain of the 20 x 20 grid from -100 to 100, the launcher
  // at (-18, -7): no pits or cliffs there.
  for (float x = -100.0f; x < 100.0f; x += 10.0f) {
    for (float z = -100.0f; z < 100.0f; z += 10.0f) {
      const float height = ground.heightAt(x, z);
      EXPECT_GT(height, -4.0f) << x << ", " << z;
      EXPECT_LT(height, 12.0f) << x << ", " << z;
    }
  }
  EXPECT_NEAR(ground.heightAt(-18.0f, -7.0f), ground.heightAt(-16.0f, -5.0f), 1.0f);
  // The hills along the edges rise well above the plain.
  float plain = 0.0f;
  float edges = 0.0f;
  int samples = 0;
  for (float t = -180.0f; t <= 180.0f; t += 10.0f, ++samples) {
    plain += ground.heightAt(t * 0.5f, -t * 0.4f);
    edges += 0.5f * (ground.heightAt(t, -185.0f) + ground.heightAt(-185.0f, t));
  }
  EXPECT_GT((edges - plain) / static_cast<float>(samples), 7.0f);
}

TEST(BakedDataFolderTest, theCameraFlightStaysAboveTheGround) {
  // The eye path dips to about half a unit above sea level over the plain around 18 s.
  const BakedGround ground;
  PathCamera flight;
  flight.setPaths(kCameraFlightSeconds, kOutdoorCameraPointCount, kOutdoorEyePath, kOutdoorCameraPointCount,
                  kOutdoorTargetPath);
  for (float t = 0.0f; t <= kCameraFlightSeconds; t += 0.05f) {
    Vector3 eye;
    flight.eyePath->positionAt(t, eye);
    EXPECT_GT(eye.y - ground.heightAt(eye.x, eye.z), 2.0f) << "at " << t << " s over " << eye.x << ", " << eye.z;
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
    std::string error;
    const std::vector<unsigned char> bytes = bakertest::fileBytes(bakertest::bakedFile("Vallomere.mp3"));
    const platform::MixerSamplePtr track = platform::decodeSample(bytes, false, error);
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
      // Eleven characters in 22 bytes; text that is not UTF-8; a character no bold face has.
      {"folder", "--title", "\xc3\x84\xc3\x96\xc3\x9c\xc3\x84\xc3\x96\xc3\x9c\xc3\x84\xc3\x96\xc3\x9c\xc3\x84\xc3\x96"},
      {"folder", "--title", "\xe4\xf6\xfc"},
      {"folder", "--credit1", "CODE \xe6\xbc\xa2"},
  };
  for (std::vector<std::string>& call : badCalls) {
    std::vector<char*> argv;
    for (std::string& argument : call) argv.push_back(argument.data());
    EXPECT_EQ(runBakeCommand(static_cast<int>(argv.size()), argv.data()), 2) << (call.empty() ? "" : call[0]);
  }
}

}  // namespace
