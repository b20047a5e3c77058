// The calls every picture decoder offers: recognise its bytes, tell the size, decode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/decoded_image.h"

class FormatDecoder {
 public:
  virtual ~FormatDecoder() = default;
  // The format's name for messages, e.g. "JPEG".
  virtual const char* formatName() const = 0;
  // True when the bytes begin the way a file of this format does.
  virtual bool canDecode(const uint8_t* data, size_t sizeBytes) const = 0;
  // The picture's size as its header states it, however large: the caller applies the limits and
  // names the real size when it refuses one. False when the header cannot be read.
  virtual bool readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const = 0;
  // Decodes the first picture of the file; false with a reason in error, out then undefined.
  virtual bool decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const = 0;
};
