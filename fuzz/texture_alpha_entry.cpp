#include "fuzz/fuzz_entries.h"

#include "fuzz/fuzz_picture_input.h"
#include "gpu/texture_alpha.h"

int fuzzTextureAlpha(const uint8_t* data, size_t sizeBytes) {
  // Byte 0 picks the format, byte 1 the alpha mode (0..7, so modes no one uses are tried too),
  // byte 2 the threshold in 255ths; the picture file follows.
  const std::unique_ptr<DecodedImage> image = fuzzDecodePicture(data, sizeBytes, 3);
  if (!image) {
    return 0;
  }
  const int alphaMode = fuzzSetting(data, sizeBytes, 1) % 8;
  const float threshold = static_cast<float>(fuzzSetting(data, sizeBytes, 2)) / 255.0f;
  alphaBufferFromBrightness(*image, alphaMode, threshold);
  // The picture as its own mask, and a mask of another size resampled to it, as the texture
  // manager does with a mismatched mask.
  alphaBufferFromMask(*image, *image);
  const DecodedImage mask = image->resampled(image->width() / 2 + 1, image->height() + 1);
  alphaBufferFromMask(*image, mask.resampled(image->width(), image->height()));
  return 0;
}
