// Encodes 16-bit stereo samples as an MP3 file through LAME.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace baker {

// Constant bit rate, joint stereo, no ID3 tag. The first frame is LAME's Info frame: it counts the
// frames, so a player can tell a file cut short, and gives the encoder delay and padding, which
// players that read it leave out. The same samples always give the same bytes. False (with a
// line on stderr) when encoding or writing fails.
bool writeMp3File(const std::string& path, const std::vector<std::int16_t>& interleavedStereo, int sampleRate,
                  int kilobitsPerSecond);

// The encoded bytes alone.
bool encodeMp3(const std::vector<std::int16_t>& interleavedStereo, int sampleRate, int kilobitsPerSecond,
               std::vector<unsigned char>* bytes);

}  // namespace baker
