#include "tests/support/image_magick.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "image/image_decoder.h"

namespace {

std::vector<uint8_t> runAndCapture(const std::string& command) {
  std::vector<uint8_t> output;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return output;
  }
  uint8_t buffer[65536];
  size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
    output.insert(output.end(), buffer, buffer + count);
  }
  if (pclose(pipe) != 0) {
    output.clear();
  }
  return output;
}

std::string frameOf(const std::string& file, int frame) {
  return "'" + file + "[" + std::to_string(frame) + "]'";
}

std::string bareName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

ScratchFolder::ScratchFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") + "/imagetestXXXXXX";
  if (mkdtemp(&pattern[0]) != nullptr) {
    folder_ = pattern;
  }
}

ScratchFolder::~ScratchFolder() {
  if (!folder_.empty()) {
    const std::string command = "rm -rf '" + folder_ + "'";
    if (std::system(command.c_str()) != 0) {
      std::fprintf(stderr, "could not remove %s\n", folder_.c_str());
    }
  }
}

std::string ScratchFolder::write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  writeFileBytes(path(name), bytes);
  return path(name);
}

bool imageMagickAvailable() {
  static const bool available = std::system("convert -version > /dev/null 2>&1") == 0;
  return available;
}

bool runConvert(const std::string& arguments) {
  const std::string command = "convert " + arguments + " 2>/dev/null";
  const int status = std::system(command.c_str());
  return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string convertInto(const ScratchFolder& folder, const std::string& source, const std::string& options,
                        const std::string& target) {
  const size_t colon = target.find(':');
  const std::string prefix = colon == std::string::npos ? "" : target.substr(0, colon + 1);
  const std::string file = folder.path(colon == std::string::npos ? target : target.substr(colon + 1));
  return runConvert("'" + source + "' " + options + " " + prefix + "'" + file + "'") ? file : std::string();
}

const MagickSources& magickSources() {
  static ScratchFolder folder;
  static MagickSources sources;
  if (sources.opaque.empty() && imageMagickAvailable()) {
    const std::string deep = folder.path("deep.png");
    const std::string opaque = folder.path("opaque.png");
    const std::string translucent = folder.path("translucent.png");
    runConvert("-seed 7 -size 37x23 plasma:fractal -depth 16 '" + deep + "'");
    runConvert("'" + deep + "' -depth 8 '" + opaque + "'");
    runConvert("'" + opaque + "' \\( -size 37x23 gradient:white-black \\) -alpha off -compose copy_opacity -composite "
               "-depth 8 '" + translucent + "'");
    sources = MagickSources{opaque, translucent, deep};
  }
  return sources;
}

std::vector<uint8_t> magickBgr(const std::string& file, int frame) {
  return runAndCapture("convert " + frameOf(file, frame) +
                       " -auto-orient -flip -evaluate add 128 -depth 8 bgr:- 2>/dev/null");
}

std::vector<uint8_t> magickAlpha(const std::string& file, int frame) {
  return runAndCapture("convert " + frameOf(file, frame) +
                       " -auto-orient -flip -alpha extract -evaluate add 128 -depth 8 gray:- 2>/dev/null");
}

std::vector<uint8_t> readFileBytes(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream stream(path, std::ios::binary);
  stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool decodeFile(const std::string& path, DecodedImage& out, std::string& error) {
  const std::vector<uint8_t> bytes = readFileBytes(path);
  return decodeImage(bytes.data(), bytes.size(), imageFormatFromFileName(bareName(path)), out, error);
}

std::vector<uint8_t> packedBgr(const DecodedImage& image) {
  DecodedImage copy = image;
  copy.convertTo24Bits();
  std::vector<uint8_t> packed;
  for (int y = 0; y < copy.height(); ++y) {
    packed.insert(packed.end(), copy.rowBits(y), copy.rowBits(y) + static_cast<size_t>(copy.width()) * 3);
  }
  return packed;
}

std::vector<uint8_t> packedAlpha(const DecodedImage& image) {
  if (!image.hasAlpha()) {
    return std::vector<uint8_t>(static_cast<size_t>(image.width()) * image.height(), 255);
  }
  return std::vector<uint8_t>(image.alphaPlane(), image.alphaPlane() + static_cast<size_t>(image.width()) * image.height());
}

int largestDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  if (a.size() != b.size()) {
    return 256;
  }
  int largest = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const int difference = a[i] > b[i] ? a[i] - b[i] : b[i] - a[i];
    largest = difference > largest ? difference : largest;
  }
  return largest;
}

DecodedImage expectMatchesImageMagick(const std::string& file, int frame, int tolerance) {
  DecodedImage image;
  std::string error;
  EXPECT_TRUE(decodeFile(file, image, error)) << bareName(file) << ": " << error;
  const std::vector<uint8_t> theirs = magickBgr(file, frame);
  EXPECT_FALSE(theirs.empty()) << "ImageMagick could not read " << bareName(file);
  EXPECT_LE(largestDifference(packedBgr(image), theirs), tolerance) << bareName(file);
  return image;
}
