// The texture manager's file side: finding and reading picture files, decoding them, and
// descrambled copies of data files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/debug_log.h"
#include "gpu/texture_manager.h"
#include "image/image_decoder.h"

namespace {

constexpr size_t kScrambleBlockBytes = 8192;
constexpr const char* kTempPrefix = "qzv";

// The text after the last '\' or '/', whichever stands later; the whole name without either.
std::string bareName(const std::string& name) {
  const size_t separator = name.find_last_of("\\/");
  return separator == std::string::npos ? name : name.substr(separator + 1);
}

// Byte i of each block becomes byte ^ key[p] ^ (i mod 256), p stepping through the key across
// blocks. Applying it twice gives the original bytes back.
void descrambleBlock(uint8_t* block, size_t sizeBytes, const char* key, size_t keyBytes, size_t& keyPosition) {
  if (keyBytes == 0) {
    return;
  }
  for (size_t i = 0; i < sizeBytes; ++i) {
    block[i] = static_cast<uint8_t>(block[i] ^ static_cast<uint8_t>(key[keyPosition]) ^ (i % 256));
    keyPosition = (keyPosition + 1) % keyBytes;
  }
}

bool writeAll(int descriptor, const uint8_t* data, size_t sizeBytes) {
  while (sizeBytes > 0) {
    const ssize_t count = write(descriptor, data, sizeBytes);
    if (count <= 0) {
      return false;
    }
    data += count;
    sizeBytes -= static_cast<size_t>(count);
  }
  return true;
}

bool copyDescrambled(const std::string& source, int target, const char* key) {
  std::FILE* input = std::fopen(source.c_str(), "rb");
  if (input == nullptr) {
    return false;
  }
  const size_t keyBytes = std::strlen(key);
  size_t keyPosition = 0;
  uint8_t block[kScrambleBlockBytes];
  bool ok = true;
  for (;;) {
    const size_t count = std::fread(block, 1, sizeof(block), input);
    if (count == 0) {
      ok = std::ferror(input) == 0;
      break;
    }
    descrambleBlock(block, count, key, keyBytes, keyPosition);
    if (!writeAll(target, block, count)) {
      ok = false;
      break;
    }
  }
  std::fclose(input);
  return ok;
}

}  // namespace

InputFileResult TextureManager::readCandidate(const std::string& path, std::vector<uint8_t>& bytes) {
  const InputFileResult read = readInputFile(path, kMaxPictureFileBytes, bytes);
  if (!read.ok()) {
    return read;
  }
  // With a data key the picture is read from a descrambled copy, removed straight after.
  std::string copyPath;
  if (dataKey != nullptr && makeDescrambledCopy(path, copyPath)) {
    readInputFile(copyPath, kMaxPictureFileBytes, bytes);
    std::remove(copyPath.c_str());
  }
  return read;
}

std::unique_ptr<DecodedImage> TextureManager::decodeImage(const std::string& name) {
  if (failedNames.count(name) != 0) {
    return nullptr;
  }
  std::unique_ptr<DecodedImage> image = searchAndDecode(name);
  if (!image) {
    failedNames.insert(name);
  }
  return image;
}

std::unique_ptr<DecodedImage> TextureManager::searchAndDecode(const std::string& name) {
  DebugLog::append(kLogFileName, "TextureManager: image %s : ", name.c_str());
  const std::string bare = bareName(name);
  const std::string dataFolderPath = paths_.dataFolder + bare;
  const int format = imageFormatFromFileName(bare);
  if (format == kImageUnknown) {
    DebugLog::append(kLogFileName, "image %s : unknown format\r\n", name.c_str());
    return nullptr;
  }
  const std::string asPassed[] = {name, dataFolderPath, bare};
  const std::string dataFirst[] = {dataFolderPath, bare, name};
  const std::string* candidates = preferDataFolder ? dataFirst : asPassed;
  std::vector<uint8_t> bytes;
  bool opened = false;
  for (int i = 0; i < 3 && !opened; ++i) {
    const InputFileResult read = readCandidate(candidates[i], bytes);
    opened = read.ok();
    if (opened) {
      DebugLog::append(kLogFileName, " trying file %s loaded\r\n", candidates[i].c_str());
    } else if (read.problem == InputFileProblem::Missing) {
      DebugLog::append(kLogFileName, " trying file %s\r\n", candidates[i].c_str());
    } else {
      DebugLog::append(kLogFileName, " trying file %s: %s\r\n", candidates[i].c_str(), read.reason.c_str());
    }
  }
  if (!opened) {
    DebugLog::append(kLogFileName, "Loading failed\r\n");
    return nullptr;
  }
  std::unique_ptr<DecodedImage> image(new DecodedImage());
  std::string error;
  if (!::decodeImage(bytes.data(), bytes.size(), format, *image, error) || !image->convertTo24Bits()) {
    DebugLog::append(kLogFileName, " decode failed\r\n");
    return nullptr;
  }
  DebugLog::append(kLogFileName, "Loaded\r\n");
  return image;
}

bool TextureManager::makeDescrambledCopy(const std::string& path, std::string& tempPathOut) {
  if (dataKey == nullptr) {
    return false;
  }
  const char* folder = std::getenv("TMPDIR");
  std::string pattern = std::string(folder != nullptr && folder[0] != '\0' ? folder : "/tmp") + "/" + kTempPrefix + "XXXXXX";
  const int target = mkstemp(&pattern[0]);
  if (target < 0) {
    return false;
  }
  const bool copied = copyDescrambled(path, target, dataKey);
  if (close(target) != 0 || !copied) {
    std::remove(pattern.c_str());
    return false;
  }
  tempPathOut = pattern;
  return true;
}

bool TextureManager::makeDescrambledCopy(const std::string& path, char* tempPathOut) {
  std::string copyPath;
  if (!makeDescrambledCopy(path, copyPath)) {
    return false;
  }
  if (copyPath.size() >= kMaxPathBytes) {
    std::remove(copyPath.c_str());
    return false;
  }
  std::memcpy(tempPathOut, copyPath.c_str(), copyPath.size() + 1);
  return true;
}
