// Decodes Placeable Windows metafiles (WMF) rasterised through libwmf's gd renderer.
#pragma once

#include "image/format_decoder.h"

class WmfDecoder : public FormatDecoder {
 public:
  const char* formatName() const override;
  bool canDecode(const uint8_t* data, size_t sizeBytes) const override;
  bool readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const override;
  bool decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const override;
};
