#include "audio/mp3_info_frame.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// A layer III frame header, its side information left zero, then a tag with the frame-count flag.
std::vector<uint8_t> infoFrame(uint32_t header, size_t sideInfoBytes, const char* tag, uint32_t flags,
                               uint32_t frames) {
  std::vector<uint8_t> bytes;
  putBigEndian(bytes, header);
  bytes.resize(bytes.size() + sideInfoBytes, 0);
  bytes.insert(bytes.end(), tag, tag + 4);
  putBigEndian(bytes, flags);
  putBigEndian(bytes, frames);
  bytes.resize(bytes.size() + 200, 0);
  return bytes;
}

constexpr uint32_t kMpeg1Joint44k = 0xFFFB9044;  // MPEG 1 layer III, 128 kb/s, 44.1 kHz, joint stereo
constexpr uint32_t kMpeg2Mono22k = 0xFFF390C4;   // MPEG 2 layer III, 22.05 kHz, mono

double promised(const std::vector<uint8_t>& bytes) {
  double seconds = -1.0;
  return readMp3PromisedSeconds(bytes.data(), bytes.size(), seconds) ? seconds : -1.0;
}

TEST(Mp3InfoFrameTest, readsTheFrameCountOfXingAndInfoFrames) {
  EXPECT_DOUBLE_EQ(promised(infoFrame(kMpeg1Joint44k, 32, "Info", 0xF, 100)), 100 * 1152 / 44100.0);
  EXPECT_DOUBLE_EQ(promised(infoFrame(kMpeg2Mono22k, 9, "Xing", 0x1, 100)), 100 * 576 / 22050.0);
  // Behind an ID3v2 tag of 300 bytes (size 0x02 0x2C in 7-bit bytes).
  std::vector<uint8_t> tagged = {'I', 'D', '3', 4, 0, 0, 0, 0, 0x02, 0x2C};
  tagged.resize(tagged.size() + 300, 0);
  const std::vector<uint8_t> frame = infoFrame(kMpeg1Joint44k, 32, "Info", 0x1, 441);
  tagged.insert(tagged.end(), frame.begin(), frame.end());
  EXPECT_DOUBLE_EQ(promised(tagged), 441 * 1152 / 44100.0);
}

TEST(Mp3InfoFrameTest, promisesNothingWithoutACountedInfoFrame) {
  EXPECT_EQ(promised(infoFrame(kMpeg1Joint44k, 32, "Info", 0xE, 100)), -1.0) << "no frame-count field";
  EXPECT_EQ(promised(infoFrame(kMpeg1Joint44k, 32, "Info", 0x1, 0)), -1.0) << "no frames";
  EXPECT_EQ(promised(infoFrame(kMpeg1Joint44k, 32, "LAME", 0x1, 100)), -1.0) << "audio in the first frame";
  EXPECT_EQ(promised(infoFrame(kMpeg1Joint44k, 17, "Info", 0x1, 100)), -1.0) << "tag where mono would put it";
  EXPECT_EQ(promised(infoFrame(0xFFFD9044, 32, "Info", 0x1, 100)), -1.0) << "layer II";
  EXPECT_EQ(promised(infoFrame(0xFFFB9C44, 32, "Info", 0x1, 100)), -1.0) << "reserved rate";
  const std::vector<uint8_t> whole = infoFrame(kMpeg1Joint44k, 32, "Info", 0x1, 100);
  for (size_t size = 0; size < 48; ++size) {
    double seconds = 0.0;
    EXPECT_FALSE(readMp3PromisedSeconds(whole.data(), size, seconds)) << size << " bytes";
  }
  double seconds = 0.0;
  EXPECT_FALSE(readMp3PromisedSeconds(nullptr, 0, seconds));
  // An ID3v2 tag whose size points past the end.
  const std::vector<uint8_t> lying = {'I', 'D', '3', 4, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F};
  EXPECT_FALSE(readMp3PromisedSeconds(lying.data(), lying.size(), seconds));
}

}  // namespace
