#include "image/wbmp_decoder.h"

#include "image/byte_reader.h"

namespace {

// Multi-byte integers: 7 bits per byte, most significant first, the top bit set on every byte
// but the last. More than four bytes cannot give a size we accept.
bool readMultiByte(ByteReader& reader, long long& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    const uint8_t byte = reader.u8();
    if (reader.failed()) {
      return false;
    }
    value = (value << 7) | (byte & 0x7f);
    if ((byte & 0x80) == 0) {
      return true;
    }
  }
  return false;
}

// Type 0, then the fixed header byte (extension headers follow while its top bit is set).
bool readHeader(ByteReader& reader, long long& width, long long& height) {
  long long type = 0;
  if (!readMultiByte(reader, type) || type != 0) {
    return false;
  }
  uint8_t fixed = reader.u8();
  while (!reader.failed() && (fixed & 0x80) != 0) {
    fixed = reader.u8();
  }
  return !reader.failed() && readMultiByte(reader, width) && readMultiByte(reader, height) && width > 0 && height > 0;
}

}  // namespace

const char* WbmpDecoder::formatName() const { return "WBMP"; }

bool WbmpDecoder::canDecode(const uint8_t* data, size_t sizeBytes) const {
  ByteReader reader(data, sizeBytes);
  long long width = 0;
  long long height = 0;
  return readHeader(reader, width, height);
}

bool WbmpDecoder::readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const {
  ByteReader reader(data, sizeBytes);
  return readHeader(reader, width, height);
}

bool WbmpDecoder::decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const {
  ByteReader reader(data, sizeBytes);
  long long width = 0;
  long long height = 0;
  if (!readHeader(reader, width, height)) {
    error = "bad WBMP header";
    return false;
  }
  if (!imageSizeAllowed(width, height) || !out.create(static_cast<int>(width), static_cast<int>(height), 1, error)) {
    error = pictureSizeRefusal(width, height);
    return false;
  }
  out.setPaletteEntry(0, 0, 0, 0);
  out.setPaletteEntry(1, 255, 255, 255);
  // Rows are stored top first, packed like our own 1-bit rows but without their padding.
  const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
  const uint8_t* rows = reader.take(rowBytes * static_cast<size_t>(height));
  if (rows == nullptr) {
    error = "truncated pixel data";
    return false;
  }
  for (long long row = 0; row < height; ++row) {
    uint8_t* target = out.rowBits(static_cast<int>(height - 1 - row));
    for (size_t i = 0; i < rowBytes; ++i) {
      target[i] = rows[row * rowBytes + i];
    }
  }
  return true;
}
