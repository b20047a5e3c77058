// How the picture targets read their input: a few leading bytes of settings, then a picture
// file whose format the first byte picks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "image/decoded_image.h"

// The settings byte at index, or 0 past the end.
uint8_t fuzzSetting(const uint8_t* data, size_t sizeBytes, size_t index);
// The picture after settingBytes leading bytes, decoded as the format the first byte picks and
// converted to 24 bits, as the texture manager hands pictures on; null when it does not decode.
std::unique_ptr<DecodedImage> fuzzDecodePicture(const uint8_t* data, size_t sizeBytes, size_t settingBytes);
