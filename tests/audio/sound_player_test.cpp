#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "audio/sound_player.h"
#include "core/debug_log.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"

namespace {

constexpr int kToneRateHz = 44100;
constexpr float kToneSeconds = 0.5f;

void putLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out.push_back(static_cast<char>((value >> (8 * i)) & 0xffu));
  }
}

// A 16-bit mono 440 Hz tone as a canonical WAV file.
void writeToneWav(const std::string& path, float seconds) {
  const uint32_t frames = static_cast<uint32_t>(kToneRateHz * seconds);
  const uint32_t dataBytes = frames * 2;
  std::string wav = "RIFF";
  putLittleEndian(wav, 36 + dataBytes, 4);
  wav += "WAVEfmt ";
  putLittleEndian(wav, 16, 4);
  putLittleEndian(wav, 1, 2);
  putLittleEndian(wav, 1, 2);
  putLittleEndian(wav, kToneRateHz, 4);
  putLittleEndian(wav, kToneRateHz * 2, 4);
  putLittleEndian(wav, 2, 2);
  putLittleEndian(wav, 16, 2);
  wav += "data";
  putLittleEndian(wav, dataBytes, 4);
  for (uint32_t i = 0; i < frames; ++i) {
    const double value = std::sin(2.0 * M_PI * 440.0 * i / kToneRateHz) * 12000.0;
    putLittleEndian(wav, static_cast<uint32_t>(static_cast<int16_t>(value)) & 0xffffu, 2);
  }
  std::ofstream(path, std::ios::binary) << wav;
}

class SoundPlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    hadDriver_ = previous != nullptr;
    previousDriver_ = hadDriver_ ? previous : "";
    // The dummy driver consumes sound in real time without a device.
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    ASSERT_FALSE(working_.path().empty());
    folder_ = working_.path() + "/";
    makeToneMp3("tone", kToneSeconds);
  }

  // NAME.mp3 in the folder: a tone of that length, behind the Info frame LAME writes first.
  void makeToneMp3(const std::string& name, float seconds) {
    writeToneWav(folder_ + name + ".wav", seconds);
    const std::string command = "lame --quiet -b 128 '" + folder_ + name + ".wav' '" + folder_ + name + ".mp3'";
    ASSERT_EQ(std::system(command.c_str()), 0) << "lame is needed to make the test tone";
  }

  void TearDown() override {
    if (hadDriver_) {
      setenv("SDL_AUDIODRIVER", previousDriver_.c_str(), 1);
    } else {
      unsetenv("SDL_AUDIODRIVER");
    }
  }

  // A player on its own timer, opened and pointed at the temporary folder. The dummy driver's
  // line at the start is dropped, so that the log holds only what the test itself provokes.
  void openPlayer(SoundPlayer& player) {
    player.timer = &timer_;
    player.usePaths(ResourcePaths{"", folder_});
    EXPECT_TRUE(player.initSound());
    std::remove(kLogFileName);
  }

  PrivateWorkingFolder working_;
  FrameTimer timer_;
  std::string folder_;
  bool hadDriver_ = false;
  std::string previousDriver_;
};

TEST_F(SoundPlayerTest, loadsTheWholeToneAndTimesItByFramesOverFrequency) {
  SoundPlayer player;
  openPlayer(player);
  timer_.elapsed = 2.5f;

  ASSERT_TRUE(player.loadSound(1, "tone.mp3", false));
  ASSERT_EQ(player.entries.size(), 1u);
  const SoundEntry& entry = player.entries[0];
  EXPECT_EQ(entry.name, "tone.mp3");
  EXPECT_EQ(entry.slot, 1);
  EXPECT_FLOAT_EQ(entry.lastPlayed, 2.5f);
  // The decoder may keep the encoder's padding: a few frames of 1152 samples at most.
  EXPECT_GE(entry.duration, kToneSeconds - 0.01f);
  EXPECT_LE(entry.duration, kToneSeconds + 0.1f);
  EXPECT_EQ(readTextFile(kLogFileName), "");
}

// Music that cannot be loaded leaves the run silent, with one line saying which file and why.
TEST_F(SoundPlayerTest, failedLoadLogsOneLineNamingTheFileAndTakesNoIndex) {
  SoundPlayer player;
  openPlayer(player);
  EXPECT_FALSE(player.playSound(0, false));

  EXPECT_FALSE(player.loadSound(0, "missing.mp3", false));
  std::ofstream(folder_ + "noise.mp3") << "not a sound at all";
  EXPECT_FALSE(player.loadSound(0, "noise.mp3", false));
  std::ofstream(folder_ + "empty.mp3");
  EXPECT_FALSE(player.loadSound(0, "empty.mp3", false));
  EXPECT_TRUE(player.entries.empty());
  const std::string log = readTextFile(kLogFileName);
  EXPECT_EQ(log.find("SoundPlayer: cannot load " + folder_ + "missing.mp3 (not found), running silent\r\n"), 0u)
      << log;
  EXPECT_NE(log.find("SoundPlayer: cannot load " + folder_ + "noise.mp3 ("), std::string::npos) << log;
  EXPECT_NE(log.find("SoundPlayer: cannot load " + folder_ + "empty.mp3 ("), std::string::npos) << log;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3);

  // The track goes into pool index 1 but is played as table entry 0.
  ASSERT_TRUE(player.loadSound(1, "tone.mp3", true));
  EXPECT_TRUE(player.playSound(0, false));
  EXPECT_FALSE(player.playSound(-1, false));
  EXPECT_FALSE(player.playSound(1, false));
  EXPECT_EQ(readTextFile(kLogFileName), log);
}

TEST_F(SoundPlayerTest, onlyWhenFinishedRefusesUpToExactlyOneDuration) {
  SoundPlayer player;
  openPlayer(player);
  timer_.elapsed = 0.0f;
  ASSERT_TRUE(player.loadSound(1, "tone.mp3", false));
  const float duration = player.entries[0].duration;

  // The load counts as the last start.
  EXPECT_FALSE(player.playSound(0, true));
  timer_.elapsed = duration;
  EXPECT_FALSE(player.playSound(0, true));
  timer_.elapsed = std::nextafter(duration, 2.0f * duration);
  EXPECT_TRUE(player.playSound(0, true));
  EXPECT_FLOAT_EQ(player.entries[0].lastPlayed, timer_.elapsed);

  // Restarting while it plays is refused only when asked to wait; otherwise a second copy starts.
  EXPECT_FALSE(player.playSound(0, true));
  EXPECT_TRUE(player.playSound(0, false));
}

// A track cut short (here to a quarter of its bytes) plays what it holds, and one line says so.
TEST_F(SoundPlayerTest, aTrackShorterThanItsInfoFramePromisesIsPlayedWithOneLine) {
  makeToneMp3("whole", 4.0f);
  std::ifstream whole(folder_ + "whole.mp3", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
  std::ofstream(folder_ + "cut.mp3", std::ios::binary) << bytes.substr(0, bytes.size() / 4);
  SoundPlayer player;
  openPlayer(player);

  ASSERT_TRUE(player.loadSound(1, "whole.mp3", false));
  EXPECT_EQ(readTextFile(kLogFileName), "") << "the whole track holds what it promises";
  ASSERT_TRUE(player.loadSound(1, "cut.mp3", false));
  EXPECT_LT(player.entries[1].duration, 1.5f);
  EXPECT_TRUE(player.playFrom(1, 0.0));
  const std::string log = readTextFile(kLogFileName);
  EXPECT_EQ(log.rfind("SoundPlayer: " + folder_ + "cut.mp3 holds 1.0 s of the 4.0 s its header promises", 0), 0u)
      << log;
  EXPECT_EQ(log.find("\r\n"), log.size() - 2) << "exactly one line";
}

TEST_F(SoundPlayerTest, driversThatPlayToNoDeviceSaySoInOneLine) {
  SoundPlayer player;
  EXPECT_TRUE(player.initSound());
  EXPECT_EQ(readTextFile(kLogFileName), "SoundPlayer: the dummy audio driver discards the sound, nothing will be heard\r\n");
  player.closeSound();
  std::remove(kLogFileName);

  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", (folder_ + "out.raw").c_str(), 1);
  EXPECT_TRUE(player.initSound());
  player.closeSound();
  unsetenv("SDL_DISKAUDIOFILE");
  EXPECT_EQ(readTextFile(kLogFileName), "SoundPlayer: the disk audio driver writes the sound to " + folder_ +
                                            "out.raw, nothing will be heard\r\n");
}

TEST_F(SoundPlayerTest, withoutAnAudioDeviceOneLineSaysWhyAndTheRunIsSilent) {
  setenv("SDL_AUDIODRIVER", "nonexistent", 1);
  SoundPlayer player;
  player.usePaths(ResourcePaths{"", folder_});
  EXPECT_TRUE(player.initSound());

  const std::string log = readTextFile(kLogFileName);
  EXPECT_EQ(log.rfind("SoundPlayer: no sound output (", 0), 0u) << log;
  EXPECT_EQ(log.find("\r\n"), log.size() - 2) << "exactly one line";
  EXPECT_FALSE(player.loadSound(1, "tone.mp3", false));
  EXPECT_FALSE(player.playSound(0, false));
  player.closeSound();
  player.closeSound();
  EXPECT_EQ(readTextFile(kLogFileName), log);
}

}  // namespace
