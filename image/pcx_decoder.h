// Decodes PCX pictures: 1 bit, 4 bits (planar or packed), 8 bits with palette and 24 bits (3 planes, a fourth as alpha).
#pragma once

#include "image/format_decoder.h"

class PcxDecoder : public FormatDecoder {
 public:
  const char* formatName() const override;
  bool canDecode(const uint8_t* data, size_t sizeBytes) const override;
  bool readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const override;
  bool decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const override;
};
