#include "fuzz/fuzz_picture_input.h"

#include <string>

#include "image/image_decoder.h"

namespace {

// Every format code the dispatch knows, kImageBmp to kImageWmf; the first byte picks one.
constexpr int kFormatCount = kImageWmf - kImageBmp + 1;

}  // namespace

uint8_t fuzzSetting(const uint8_t* data, size_t sizeBytes, size_t index) {
  return index < sizeBytes ? data[index] : 0;
}

std::unique_ptr<DecodedImage> fuzzDecodePicture(const uint8_t* data, size_t sizeBytes, size_t settingBytes) {
  if (sizeBytes <= settingBytes) {
    return nullptr;
  }
  const int format = kImageBmp + data[0] % kFormatCount;
  std::unique_ptr<DecodedImage> image(new DecodedImage());
  std::string error;
  if (!decodeImage(data + settingBytes, sizeBytes - settingBytes, format, *image, error) ||
      !image->convertTo24Bits()) {
    return nullptr;
  }
  return image;
}
