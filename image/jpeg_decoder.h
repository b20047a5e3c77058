// Decodes JPEG pictures through libjpeg-turbo: grey, colour, baseline and progressive.
#pragma once

#include "image/format_decoder.h"

class JpegDecoder : public FormatDecoder {
 public:
  const char* formatName() const override;
  bool canDecode(const uint8_t* data, size_t sizeBytes) const override;
  bool readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const override;
  bool decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const override;
};
