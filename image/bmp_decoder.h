// Decodes Windows bitmaps (BMP): 1, 4, 8, 16, 24 and 32 bits, run-length 4 and 8, either row order.
#pragma once

#include "image/format_decoder.h"

class BmpDecoder : public FormatDecoder {
 public:
  const char* formatName() const override;
  bool canDecode(const uint8_t* data, size_t sizeBytes) const override;
  bool readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const override;
  bool decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const override;
};
