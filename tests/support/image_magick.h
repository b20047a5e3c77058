// Test helpers: pictures made by ImageMagick in a scratch folder, and its own decode of them in
// the layout our decoder's rows take when packed (blue, green, red, bottom row first, no padding).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "image/decoded_image.h"

// A fresh folder under the temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string path(const std::string& name) const { return folder_ + "/" + name; }
  const std::string& folder() const { return folder_; }
  // Writes the bytes to a file of that name in the folder; its path.
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) const;

 private:
  std::string folder_;
};

bool imageMagickAvailable();

#define REQUIRE_IMAGEMAGICK()                                        \
  do {                                                               \
    if (!imageMagickAvailable()) {                                   \
      GTEST_SKIP() << "ImageMagick's convert is not installed";       \
    }                                                                \
  } while (0)

// Runs "convert ARGUMENTS"; true when it exits with status 0.
bool runConvert(const std::string& arguments);

// Runs "convert SOURCE OPTIONS TARGET" into the folder; the target name may start with
// ImageMagick's "format:" prefix. The written file's path, or "" when convert failed.
std::string convertInto(const ScratchFolder& folder, const std::string& source, const std::string& options,
                        const std::string& target);

// The shared source pictures (37 × 23, odd so rows need padding), made once per test run.
struct MagickSources {
  std::string opaque;       // 8-bit colour
  std::string translucent;  // 8-bit colour with a graded alpha channel
  std::string deep;         // 16-bit colour with genuinely 16-bit samples
};
const MagickSources& magickSources();

// ImageMagick's decode of one frame, oriented as the file says. 16-bit samples are rounded to
// 8 bits (ImageMagick's own depth reduction truncates; adding 128 first makes it round).
std::vector<uint8_t> magickBgr(const std::string& file, int frame = 0);
// Its alpha channel, one byte per pixel, bottom row first.
std::vector<uint8_t> magickAlpha(const std::string& file, int frame = 0);

std::vector<uint8_t> readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// Decodes a file through image/image_decoder with the format taken from its name.
bool decodeFile(const std::string& path, DecodedImage& out, std::string& error);
// A copy converted to 24 bits, packed like magickBgr.
std::vector<uint8_t> packedBgr(const DecodedImage& image);
std::vector<uint8_t> packedAlpha(const DecodedImage& image);

// The largest difference between two equally long byte strings, or 256 when the lengths differ.
int largestDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

// Decodes the file and checks every colour byte against ImageMagick's decode of frame `frame`
// within `tolerance`; returns the decoded picture for further checks.
DecodedImage expectMatchesImageMagick(const std::string& file, int frame = 0, int tolerance = 0);
