#include "image/dib_reader.h"

#include <climits>
#include <cstring>

namespace {

constexpr uint32_t kCoreHeaderBytes = 12;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kLargestHeaderBytes = 124;

bool validDepth(int bitsPerPixel) {
  return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 ||
         bitsPerPixel == 32;
}

bool validCompression(const DibHeader& header) {
  switch (header.compression) {
    case kDibRgb:
      return true;
    case kDibRle8:
      return header.bitsPerPixel == 8;
    case kDibRle4:
      return header.bitsPerPixel == 4;
    case kDibBitfields:
    case kDibAlphaBitfields:
      return header.bitsPerPixel == 16 || header.bitsPerPixel == 32;
    default:
      return false;
  }
}

void setDefaultMasks(DibHeader& header) {
  if (header.bitsPerPixel == 16) {
    header.masks[0] = 0x7c00;
    header.masks[1] = 0x03e0;
    header.masks[2] = 0x001f;
  } else if (header.bitsPerPixel == 32) {
    header.masks[0] = 0x00ff0000;
    header.masks[1] = 0x0000ff00;
    header.masks[2] = 0x000000ff;
  }
  header.masks[3] = 0;
}

// The OS/2 1.x header: 16-bit sizes and three-byte palette entries.
bool readCoreHeader(ByteReader& reader, DibHeader& header) {
  header.width = reader.u16le();
  header.height = reader.u16le();
  reader.u16le();
  header.bitsPerPixel = reader.u16le();
  header.paletteEntryBytes = 3;
  return !reader.failed();
}

// The Windows headers (40 bytes and the longer versions that add masks and colour spaces).
bool readInfoHeader(ByteReader& reader, DibHeader& header, uint32_t& coloursUsed, std::string& error) {
  const size_t start = reader.position() - 4;
  const int32_t width = reader.s32le();
  const int32_t height = reader.s32le();
  reader.u16le();
  header.bitsPerPixel = reader.u16le();
  header.compression = reader.u32le();
  reader.skip(12);  // image size and resolution: not needed to decode
  coloursUsed = reader.u32le();
  reader.u32le();
  if (reader.failed()) {
    error = "truncated bitmap header";
    return false;
  }
  if (height == INT32_MIN || width <= 0 || height == 0) {
    error = "bad bitmap size";
    return false;
  }
  header.width = width;
  header.topDown = height < 0;
  header.height = height < 0 ? -height : height;
  setDefaultMasks(header);
  const bool maskedPixels = header.compression == kDibBitfields || header.compression == kDibAlphaBitfields;
  // Masks sit inside the longer headers, or right after the 40-byte one.
  int maskCount = 0;
  if (header.headerBytes >= 56) {
    maskCount = 4;
  } else if (header.headerBytes >= 52) {
    maskCount = 3;
  } else if (maskedPixels) {
    maskCount = header.compression == kDibAlphaBitfields ? 4 : 3;
  }
  uint32_t masks[4] = {0, 0, 0, 0};
  for (int i = 0; i < maskCount; ++i) {
    masks[i] = reader.u32le();
  }
  if (reader.failed()) {
    error = "truncated bitmap masks";
    return false;
  }
  if (maskedPixels) {
    std::memcpy(header.masks, masks, sizeof(masks));
    header.alphaMask = masks[3] != 0;
  }
  header.paletteOffset = header.headerBytes > kInfoHeaderBytes ? start + header.headerBytes : reader.position();
  return true;
}

struct MaskChannel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
};

MaskChannel channelOf(uint32_t mask) {
  MaskChannel channel;
  channel.mask = mask;
  if (mask == 0) {
    return channel;
  }
  while (((mask >> channel.shift) & 1u) == 0) {
    ++channel.shift;
  }
  while (channel.shift + channel.bits < 32 && ((mask >> (channel.shift + channel.bits)) & 1u) != 0) {
    ++channel.bits;
  }
  return channel;
}

// Widens an n-bit value to 8 bits by repeating its bits, so the largest value becomes 255.
uint8_t expandChannel(uint32_t pixel, const MaskChannel& channel) {
  if (channel.bits == 0) {
    return 0;
  }
  uint32_t value = (pixel & channel.mask) >> channel.shift;
  if (channel.bits >= 8) {
    return static_cast<uint8_t>(value >> (channel.bits - 8));
  }
  uint32_t widened = 0;
  int filled = 0;
  while (filled < 8) {
    widened = (widened << channel.bits) | value;
    filled += channel.bits;
  }
  return static_cast<uint8_t>(widened >> (filled - 8));
}

bool readPalette(ByteReader& reader, const DibHeader& header, DecodedImage& out, std::string& error) {
  if (!reader.seek(header.paletteOffset)) {
    error = "palette outside the file";
    return false;
  }
  for (int i = 0; i < header.paletteEntries; ++i) {
    uint8_t entry[4] = {0, 0, 0, 0};
    if (!reader.read(entry, static_cast<size_t>(header.paletteEntryBytes))) {
      error = "truncated palette";
      return false;
    }
    out.setPaletteEntry(i, entry[0], entry[1], entry[2]);
  }
  return true;
}

int outputRow(const DibHeader& header, int storedRow) { return header.topDown ? header.height - 1 - storedRow : storedRow; }

bool readUncompressed(ByteReader& reader, const DibHeader& header, bool fourthByteIsAlpha, DecodedImage& out,
                      std::string& error) {
  const size_t rowBytes = dibRowBytes(header);
  const size_t usedRowBytes = (static_cast<size_t>(header.width) * header.bitsPerPixel + 7) / 8;
  // The last row may lack its padding; every other row must be whole.
  if (reader.remaining() < rowBytes * (header.height - 1) + usedRowBytes) {
    error = "truncated pixel data";
    return false;
  }
  const MaskChannel channels[4] = {channelOf(header.masks[0]), channelOf(header.masks[1]), channelOf(header.masks[2]),
                                   channelOf(header.masks[3])};
  const bool alphaFromMask = header.alphaMask && header.bitsPerPixel == 32;
  const bool alphaFromByte = fourthByteIsAlpha && header.bitsPerPixel == 32 && header.compression == kDibRgb;
  if (alphaFromMask || alphaFromByte || (header.alphaMask && header.bitsPerPixel == 16)) {
    out.createAlphaPlane(255);
  }
  for (int stored = 0; stored < header.height; ++stored) {
    const uint8_t* source = reader.data() + reader.position() + rowBytes * stored;
    const int y = outputRow(header, stored);
    if (header.bitsPerPixel <= 8 || header.bitsPerPixel == 24) {
      std::memcpy(out.rowBits(y), source, usedRowBytes);
      continue;
    }
    for (int x = 0; x < header.width; ++x) {
      uint32_t pixel = 0;
      if (header.bitsPerPixel == 16) {
        pixel = static_cast<uint32_t>(source[2 * x] | (source[2 * x + 1] << 8));
      } else {
        const uint8_t* p = source + 4 * static_cast<size_t>(x);
        pixel = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
                (static_cast<uint32_t>(p[3]) << 24);
      }
      out.setColour(x, y, expandChannel(pixel, channels[2]), expandChannel(pixel, channels[1]),
                    expandChannel(pixel, channels[0]));
      if (header.alphaMask) {
        out.setAlpha(x, y, expandChannel(pixel, channels[3]));
      } else if (alphaFromByte) {
        out.setAlpha(x, y, static_cast<uint8_t>(pixel >> 24));
      }
    }
  }
  return true;
}

// Run-length pixels: (count, index) pairs, or an escape after a zero count: 0 ends a row, 1 ends
// the bitmap, 2 jumps ahead by (dx, dy), n ≥ 3 gives n literal pixels padded to 16 bits.
// Skipped pixels keep index 0; pixels beyond the row's end are dropped.
bool readRunLength(ByteReader& reader, const DibHeader& header, DecodedImage& out, std::string& error) {
  const bool fourBits = header.compression == kDibRle4;
  int x = 0;
  int row = 0;
  while (row < header.height) {
    const int count = reader.u8();
    const int value = reader.u8();
    if (reader.failed()) {
      error = "truncated run-length data";
      return false;
    }
    if (count > 0) {
      for (int i = 0; i < count && x < header.width; ++i, ++x) {
        const int index = !fourBits ? value : ((i & 1) ? (value & 0x0f) : (value >> 4));
        out.setIndex(x, outputRow(header, row), index);
      }
      continue;
    }
    if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      return true;
    } else if (value == 2) {
      x += reader.u8();
      row += reader.u8();
      if (x > header.width) {
        x = header.width;
      }
    } else {
      const size_t literalBytes = fourBits ? (static_cast<size_t>(value) + 1) / 2 : static_cast<size_t>(value);
      const uint8_t* literal = reader.take(literalBytes + (literalBytes & 1));
      if (literal == nullptr) {
        error = "truncated run-length data";
        return false;
      }
      for (int i = 0; i < value && x < header.width; ++i, ++x) {
        const int index = !fourBits ? literal[i] : ((i & 1) ? (literal[i / 2] & 0x0f) : (literal[i / 2] >> 4));
        out.setIndex(x, outputRow(header, row), index);
      }
    }
    if (reader.failed()) {
      error = "truncated run-length data";
      return false;
    }
  }
  return true;
}

}  // namespace

bool readDibHeader(ByteReader& reader, DibHeader& header, std::string& error) {
  header = DibHeader();
  const size_t start = reader.position();
  header.headerBytes = reader.u32le();
  uint32_t coloursUsed = 0;
  if (header.headerBytes == kCoreHeaderBytes) {
    if (!readCoreHeader(reader, header)) {
      error = "truncated bitmap header";
      return false;
    }
    header.paletteOffset = start + kCoreHeaderBytes;
  } else if (header.headerBytes >= kInfoHeaderBytes && header.headerBytes <= kLargestHeaderBytes) {
    if (!readInfoHeader(reader, header, coloursUsed, error)) {
      return false;
    }
  } else {
    error = "unknown bitmap header size " + std::to_string(header.headerBytes);
    return false;
  }
  if (header.width <= 0 || header.height <= 0) {
    error = "bad bitmap size";
    return false;
  }
  if (!validDepth(header.bitsPerPixel)) {
    error = "unsupported bitmap depth " + std::to_string(header.bitsPerPixel);
    return false;
  }
  if (!validCompression(header)) {
    error = "unsupported bitmap compression " + std::to_string(header.compression);
    return false;
  }
  if (header.headerBytes == kCoreHeaderBytes || header.compression == kDibRgb) {
    setDefaultMasks(header);
    header.alphaMask = false;
  }
  const uint32_t fullPalette = header.bitsPerPixel <= 8 ? (1u << header.bitsPerPixel) : 0u;
  uint32_t storedEntries = fullPalette;
  if (coloursUsed > 0 && (header.bitsPerPixel > 8 || coloursUsed < fullPalette)) {
    // A true-colour bitmap may carry an optional table; it only moves the pixels along.
    storedEntries = coloursUsed > 256 ? 256 : coloursUsed;
  }
  header.paletteEntries = header.bitsPerPixel <= 8 ? static_cast<int>(storedEntries) : 0;
  header.paletteEndOffset = header.paletteOffset + static_cast<size_t>(storedEntries) * header.paletteEntryBytes;
  return true;
}

size_t dibRowBytes(const DibHeader& header) {
  return ((static_cast<size_t>(header.width) * header.bitsPerPixel + 31) / 32) * 4;
}

bool readDibPixels(ByteReader& reader, const DibHeader& header, size_t pixelOffset, bool fourthByteIsAlpha,
                   DecodedImage& out, std::string& error) {
  const int outputDepth = header.bitsPerPixel <= 8 ? header.bitsPerPixel : 24;
  if (!out.create(header.width, header.height, outputDepth, error)) {
    return false;
  }
  if (header.paletteEntries > 0 && !readPalette(reader, header, out, error)) {
    return false;
  }
  if (!reader.seek(pixelOffset)) {
    error = "pixel data outside the file";
    return false;
  }
  if (header.compression == kDibRle8 || header.compression == kDibRle4) {
    return readRunLength(reader, header, out, error);
  }
  return readUncompressed(reader, header, fourthByteIsAlpha, out, error);
}
