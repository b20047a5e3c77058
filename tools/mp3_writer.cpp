// MP3 encoding with libmp3lame, in blocks of samples.
#include "tools/mp3_writer.h"

#include <algorithm>
#include <cstdio>

#include <lame/lame.h>

#include "core/program_name.h"
#include "tools/file_output.h"

namespace baker {

namespace {

constexpr int kFramesPerBlock = 8192;
// LAME's own bound for the output of one call: 1.25 x samples + 7200 bytes.
constexpr int kOutputBlockBytes = kFramesPerBlock * 5 / 4 + 7200;
constexpr int kEncoderQuality = 2;  // 0 best .. 9 fastest; 2 is LAME's "high quality"
// One frame at 320 kb/s and 32 kHz, the largest a layer III frame gets, is 1441 bytes.
constexpr size_t kInfoFrameBytesAtMost = 2048;

// Writes the finished Info frame (frame count, encoder delay and padding) over the empty one
// LAME put first.
bool fillInfoFrame(lame_global_flags* lame, std::vector<unsigned char>* bytes) {
  std::vector<unsigned char> frame(kInfoFrameBytesAtMost);
  const size_t frameBytes = lame_get_lametag_frame(lame, frame.data(), frame.size());
  if (frameBytes == 0 || frameBytes > frame.size() || frameBytes > bytes->size()) {
    return false;
  }
  std::copy(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(frameBytes), bytes->begin());
  return true;
}

}  // namespace

bool encodeMp3(const std::vector<std::int16_t>& interleavedStereo, int sampleRate, int kilobitsPerSecond,
               std::vector<unsigned char>* bytes) {
  bytes->clear();
  lame_global_flags* lame = lame_init();
  if (lame == nullptr) {
    std::fprintf(stderr, "%s: mp3 writer: LAME does not start\n", kToolName);
    return false;
  }
  lame_set_in_samplerate(lame, sampleRate);
  lame_set_out_samplerate(lame, sampleRate);
  lame_set_num_channels(lame, 2);
  lame_set_mode(lame, JOINT_STEREO);
  lame_set_brate(lame, kilobitsPerSecond);
  lame_set_quality(lame, kEncoderQuality);
  // LAME reserves the first frame for its Info frame and fills it in after the last one.
  lame_set_bWriteVbrTag(lame, 1);
  lame_set_write_id3tag_automatic(lame, 0);
  if (lame_init_params(lame) < 0) {
    std::fprintf(stderr, "%s: mp3 writer: LAME rejects the settings\n", kToolName);
    lame_close(lame);
    return false;
  }
  std::vector<unsigned char> block(kOutputBlockBytes);
  const size_t frames = interleavedStereo.size() / 2;
  bool ok = true;
  for (size_t first = 0; first < frames && ok; first += kFramesPerBlock) {
    const int count = static_cast<int>(frames - first < kFramesPerBlock ? frames - first : kFramesPerBlock);
    // LAME takes a non-const pointer but does not write through it.
    short* samples = const_cast<short*>(interleavedStereo.data() + first * 2);
    const int written = lame_encode_buffer_interleaved(lame, samples, count, block.data(), static_cast<int>(block.size()));
    ok = written >= 0;
    if (ok) {
      bytes->insert(bytes->end(), block.begin(), block.begin() + written);
    }
  }
  if (ok) {
    const int written = lame_encode_flush(lame, block.data(), static_cast<int>(block.size()));
    ok = written >= 0;
    if (ok) {
      bytes->insert(bytes->end(), block.begin(), block.begin() + written);
    }
  }
  if (ok) {
    ok = fillInfoFrame(lame, bytes);
  }
  lame_close(lame);
  if (!ok) {
    std::fprintf(stderr, "%s: mp3 writer: LAME fails while encoding\n", kToolName);
  }
  return ok;
}

bool writeMp3File(const std::string& path, const std::vector<std::int16_t>& interleavedStereo, int sampleRate,
                  int kilobitsPerSecond) {
  std::vector<unsigned char> bytes;
  return encodeMp3(interleavedStereo, sampleRate, kilobitsPerSecond, &bytes) && writeBytesToFile(path, bytes, "mp3 writer");
}

}  // namespace baker
