#include "audio/mp3_info_frame.h"

#include <cstring>

#include "image/byte_reader.h"

namespace {

constexpr size_t kId3HeaderBytes = 10;
constexpr uint8_t kId3FooterFlag = 0x10;
constexpr uint32_t kFramesFieldFlag = 0x1;

// The parts of an MPEG audio frame header that place and read the Info frame.
struct FrameHeader {
  bool mpeg1 = false;
  bool mono = false;
  int sampleRateHz = 0;
  int samplesPerFrame = 0;
};

// Where the audio starts: after an ID3v2 tag (its size is four 7-bit bytes), else at 0.
size_t audioStart(const uint8_t* data, size_t sizeBytes) {
  ByteReader reader(data, sizeBytes);
  const uint8_t* tag = reader.take(3);
  if (tag == nullptr || std::memcmp(tag, "ID3", 3) != 0) {
    return 0;
  }
  reader.skip(2);  // version
  const uint8_t flags = reader.u8();
  size_t tagBytes = 0;
  for (int i = 0; i < 4; ++i) {
    tagBytes = (tagBytes << 7) | (reader.u8() & 0x7Fu);
  }
  return kId3HeaderBytes + tagBytes + ((flags & kId3FooterFlag) != 0 ? kId3HeaderBytes : 0);
}

// A layer III frame header: 11 sync bits, version, layer, rate index, channel mode.
bool readFrameHeader(ByteReader& reader, FrameHeader& header) {
  const uint32_t bits = reader.u32be();
  if (reader.failed() || (bits >> 21) != 0x7FF) {
    return false;
  }
  const uint32_t version = (bits >> 19) & 0x3;  // 0: MPEG 2.5, 1: reserved, 2: MPEG 2, 3: MPEG 1
  const uint32_t layer = (bits >> 17) & 0x3;    // 1: layer III
  const uint32_t rateIndex = (bits >> 10) & 0x3;
  if (version == 1 || layer != 1 || rateIndex == 3) {
    return false;
  }
  static const int kMpeg1RatesHz[3] = {44100, 48000, 32000};
  const int divisor = version == 3 ? 1 : (version == 2 ? 2 : 4);
  header.mpeg1 = version == 3;
  header.mono = ((bits >> 6) & 0x3) == 3;
  header.sampleRateHz = kMpeg1RatesHz[rateIndex] / divisor;
  header.samplesPerFrame = header.mpeg1 ? 1152 : 576;
  return true;
}

// Bytes of side information between the frame header and where an Info frame's tag begins.
size_t sideInfoBytes(const FrameHeader& header) {
  if (header.mpeg1) {
    return header.mono ? 17 : 32;
  }
  return header.mono ? 9 : 17;
}

}  // namespace

bool readMp3PromisedSeconds(const uint8_t* data, size_t sizeBytes, double& seconds) {
  ByteReader reader(data, sizeBytes);
  FrameHeader header;
  if (!reader.seek(audioStart(data, sizeBytes)) || !readFrameHeader(reader, header)) {
    return false;
  }
  reader.skip(sideInfoBytes(header));
  const uint8_t* tag = reader.take(4);
  if (tag == nullptr || (std::memcmp(tag, "Xing", 4) != 0 && std::memcmp(tag, "Info", 4) != 0)) {
    return false;
  }
  const uint32_t flags = reader.u32be();
  const uint32_t frames = reader.u32be();
  if (reader.failed() || (flags & kFramesFieldFlag) == 0 || frames == 0) {
    return false;
  }
  seconds = static_cast<double>(frames) * header.samplesPerFrame / header.sampleRateHz;
  return true;
}
