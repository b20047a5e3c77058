// Shared helpers for the baker's tests: temporary folders, running the peer tools, reading the
// baked folder.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace bakertest {

// A fresh folder under the system's temporary folder, removed again when this goes.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& purpose)
      : path_(std::filesystem::temp_directory_path() / ("baker_" + purpose + "_" + std::to_string(getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// The standard output of a shell command (its errors are dropped).
inline std::string commandOutput(const std::string& command) {
  std::string output;
  std::FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) {
    return output;
  }
  char buffer[4096];
  size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    output.append(buffer, count);
  }
  pclose(pipe);
  return output;
}

inline std::vector<unsigned char> fileBytes(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  return std::vector<unsigned char>((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

// The folder the build baked.
inline std::string bakedFolder() { return std::string(RUN_DIR) + "/data"; }
inline std::string bakedFile(const std::string& name) { return bakedFolder() + "/" + name; }

// Width, height and colour space ("Gray" or "sRGB") as ImageMagick's identify reads them.
inline std::string identifyPicture(const std::string& path) {
  return commandOutput("identify -format '%w %h %[colorspace]' '" + path + "'");
}

// Format of a 16-bit PCM WAV file as LAME's decoder writes it.
struct WavFormat {
  int channels = 0;
  int sampleRate = 0;
  double seconds = 0.0;
};

inline std::uint32_t little32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline std::uint16_t little16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// Decodes an MP3 file with `lame --decode` and reads the WAV header; all zero on failure.
inline WavFormat decodeMp3Format(const std::string& mp3Path, const std::string& wavPath) {
  WavFormat format;
  commandOutput("lame --quiet --decode '" + mp3Path + "' '" + wavPath + "'");
  const std::vector<unsigned char> bytes = fileBytes(wavPath);
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    return format;
  }
  // Walk the chunks: "fmt " gives the layout, "data" the sample bytes.
  size_t at = 12;
  while (at + 8 <= bytes.size()) {
    const std::uint32_t size = little32(&bytes[at + 4]);
    if (std::memcmp(&bytes[at], "fmt ", 4) == 0 && at + 16 <= bytes.size()) {
      format.channels = little16(&bytes[at + 10]);
      format.sampleRate = static_cast<int>(little32(&bytes[at + 12]));
    } else if (std::memcmp(&bytes[at], "data", 4) == 0 && format.channels > 0 && format.sampleRate > 0) {
      const size_t available = bytes.size() - at - 8;
      const size_t dataBytes = size < available ? size : available;
      format.seconds = static_cast<double>(dataBytes) / (2.0 * format.channels * format.sampleRate);
      break;
    }
    at += 8 + size + (size & 1u);
  }
  return format;
}

}  // namespace bakertest
