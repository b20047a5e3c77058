#include "tools/image_report_command.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/program_name.h"
#include "core/input_file.h"
#include "image/image_decoder.h"
#include "tools/sha256.h"

namespace {

std::string jsonEscaped(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      escaped += '\\';
      escaped += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char code[8];
      std::snprintf(code, sizeof(code), "\\u%04x", static_cast<unsigned char>(c));
      escaped += code;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

int reportFailure(const std::string& message) {
  std::printf("{\"ok\": false, \"error\": \"%s\"}\n", jsonEscaped(message).c_str());
  return 1;
}

// The text after the last '/' or '\', as the texture manager takes the format from it.
std::string bareName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int runInspectImage(int argc, char** argv) {
  std::string path;
  std::string rawPath;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--raw") == 0 && i + 1 < argc) {
      rawPath = argv[++i];
    } else if (argv[i][0] != '-' && path.empty()) {
      path = argv[i];
    } else {
      path.clear();
      break;
    }
  }
  if (path.empty()) {
    std::fprintf(stderr, "usage: %s inspect-image FILE [--raw OUT]\n", kToolName);
    return 2;
  }
  // Checked before it is read: a device, a FIFO or a huge file is refused, not read for ever.
  std::vector<uint8_t> bytes;
  const InputFileResult read = readInputFile(path, kMaxPictureFileBytes, bytes);
  if (!read.ok()) {
    return reportFailure("cannot read " + path + ": " + read.reason);
  }
  const int format = imageFormatFromFileName(bareName(path));
  DecodedImage image;
  std::string error;
  if (!decodeImage(bytes.data(), bytes.size(), format, image, error)) {
    return reportFailure(error);
  }
  const int bits = image.bitsPerPixel();
  const bool hasAlpha = image.hasAlpha();
  image.convertTo24Bits();
  std::FILE* raw = rawPath.empty() ? nullptr : std::fopen(rawPath.c_str(), "wb");
  if (!rawPath.empty() && raw == nullptr) {
    return reportFailure("cannot write " + rawPath);
  }
  // Blue, green, red bytes, bottom row first, rows without their padding.
  Sha256 digest;
  const size_t rowBytes = static_cast<size_t>(image.width()) * 3;
  bool written = true;
  for (int y = 0; y < image.height(); ++y) {
    digest.update(image.rowBits(y), rowBytes);
    if (raw != nullptr) {
      written = std::fwrite(image.rowBits(y), 1, rowBytes, raw) == rowBytes && written;
    }
  }
  if (raw != nullptr && (std::fclose(raw) != 0 || !written)) {
    return reportFailure("cannot write " + rawPath);
  }
  std::printf("{\"ok\": true, \"format\": %d, \"width\": %d, \"height\": %d, \"bits\": %d, \"hasAlpha\": %s, "
              "\"sha256\": \"%s\"}\n",
              format, image.width(), image.height(), bits, hasAlpha ? "true" : "false", digest.hexDigest().c_str());
  return 0;
}
