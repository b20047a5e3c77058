#include "fuzz/fuzz_entries.h"
#include "fuzz/fuzz_picture_input.h"

int fuzzPicture(const uint8_t* data, size_t sizeBytes) {
  // Byte 0 picks the format; the picture file follows it.
  const std::unique_ptr<DecodedImage> image = fuzzDecodePicture(data, sizeBytes, 1);
  if (image) {
    // A small resample reads every row and column of the decoded picture.
    image->resampled(7, 5);
  }
  return 0;
}
