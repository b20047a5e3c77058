// Device-independent bitmaps: the header, palette and pixel rows that BMP files and icon
// entries share. Every read goes through a ByteReader over the whole file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/byte_reader.h"
#include "image/decoded_image.h"

constexpr uint32_t kDibRgb = 0;
constexpr uint32_t kDibRle8 = 1;
constexpr uint32_t kDibRle4 = 2;
constexpr uint32_t kDibBitfields = 3;
constexpr uint32_t kDibAlphaBitfields = 6;

struct DibHeader {
  uint32_t headerBytes = 0;
  int width = 0;
  int height = 0;  // rows of the stored bitmap, always positive
  bool topDown = false;
  int bitsPerPixel = 0;
  uint32_t compression = kDibRgb;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  bool alphaMask = false;            // the pixels carry alpha under masks[3]
  size_t paletteOffset = 0;          // offsets from the start of the file
  int paletteEntries = 0;
  int paletteEntryBytes = 4;
  size_t paletteEndOffset = 0;  // where the pixels begin when nothing says otherwise
};

// Reads the header starting at the reader's position (the size field), with the masks that may
// follow it. Refuses depths and compressions it cannot decode.
bool readDibHeader(ByteReader& reader, DibHeader& header, std::string& error);

// Bytes one stored row of the header's bitmap takes (rows are padded to 4 bytes).
size_t dibRowBytes(const DibHeader& header);

// Decodes the palette and the pixels at pixelOffset into out: indexed depths stay indexed,
// 16 and 32 bits become 24 (with an alpha plane under an alpha mask, or from the fourth byte
// of 32-bit pixels when fourthByteIsAlpha).
bool readDibPixels(ByteReader& reader, const DibHeader& header, size_t pixelOffset, bool fourthByteIsAlpha,
                   DecodedImage& out, std::string& error);
