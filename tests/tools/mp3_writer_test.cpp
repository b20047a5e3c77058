#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "audio/mp3_info_frame.h"
#include "tests/tools/baker_test_support.h"
#include "tools/mp3_writer.h"

using namespace baker;

namespace {

std::vector<std::int16_t> toneSamples(double seconds) {
  const size_t frames = static_cast<size_t>(seconds * 44100.0);
  std::vector<std::int16_t> samples(frames * 2);
  for (size_t i = 0; i < frames; ++i) {
    const double phase = 2.0 * 3.14159265358979 * 440.0 * static_cast<double>(i) / 44100.0;
    samples[i * 2] = static_cast<std::int16_t>(std::lround(12000.0 * std::sin(phase)));
    samples[i * 2 + 1] = static_cast<std::int16_t>(std::lround(12000.0 * std::cos(phase)));
  }
  return samples;
}

TEST(Mp3WriterTest, decodesToTheSamplesLengthAndLayout) {
  bakertest::TemporaryFolder folder("mp3");
  ASSERT_TRUE(writeMp3File(folder.file("tone.mp3"), toneSamples(1.5), 44100, 192));
  const bakertest::WavFormat format = bakertest::decodeMp3Format(folder.file("tone.mp3"), folder.file("tone.wav"));
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(format.sampleRate, 44100);
  // The encoder pads to whole frames of 1152 samples and adds its start-up delay.
  EXPECT_GE(format.seconds, 1.5);
  EXPECT_LT(format.seconds, 1.6);
}

TEST(Mp3WriterTest, sameSamplesGiveSameBytesBehindAnInfoFrame) {
  std::vector<unsigned char> first;
  std::vector<unsigned char> second;
  ASSERT_TRUE(encodeMp3(toneSamples(0.5), 44100, 192, &first));
  ASSERT_TRUE(encodeMp3(toneSamples(0.5), 44100, 192, &second));
  EXPECT_EQ(first, second);
  ASSERT_GE(first.size(), 4u);
  // An MPEG frame sync at once, no ID3 tag: the first frame is the Info frame, and it promises
  // the samples' length padded to whole frames.
  EXPECT_EQ(first[0], 0xFF);
  EXPECT_EQ(first[1] & 0xE0, 0xE0);
  double promisedSeconds = 0.0;
  ASSERT_TRUE(readMp3PromisedSeconds(first.data(), first.size(), promisedSeconds));
  EXPECT_GE(promisedSeconds, 0.5);
  EXPECT_LT(promisedSeconds, 0.6);
}

TEST(Mp3WriterTest, reportsAFolderThatDoesNotExistWithTheReason) {
  testing::internal::CaptureStderr();
  EXPECT_FALSE(writeMp3File("/nonexistent-folder/tone.mp3", toneSamples(0.1), 44100, 192));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "orvo-gl-tool: mp3 writer: cannot write /nonexistent-folder/tone.mp3 (No such file or directory)\n");
}

}  // namespace
