#include "image/ico_decoder.h"

#include <cstring>

#include "image/byte_reader.h"
#include "image/dib_reader.h"
#include "image/png_decoder.h"

namespace {

constexpr size_t kDirectoryBytes = 6;
constexpr size_t kEntryBytes = 16;
const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a};

struct IconEntry {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  size_t offset = 0;
  size_t sizeBytes = 0;
};

// The entries whose bytes lie inside the file; the largest (then the deepest) wins.
bool pickLargestEntry(const uint8_t* data, size_t sizeBytes, IconEntry& best) {
  ByteReader reader(data, sizeBytes);
  reader.skip(4);
  const int count = reader.u16le();
  bool found = false;
  for (int i = 0; i < count; ++i) {
    IconEntry entry;
    entry.width = reader.u8();
    entry.height = reader.u8();
    reader.skip(4);
    entry.bitsPerPixel = reader.u16le();
    entry.sizeBytes = reader.u32le();
    entry.offset = reader.u32le();
    if (reader.failed()) {
      break;
    }
    // A stored size of 0 means 256.
    entry.width = entry.width == 0 ? 256 : entry.width;
    entry.height = entry.height == 0 ? 256 : entry.height;
    if (entry.offset >= sizeBytes || entry.sizeBytes > sizeBytes - entry.offset || entry.sizeBytes == 0) {
      continue;
    }
    const long long area = static_cast<long long>(entry.width) * entry.height;
    const long long bestArea = static_cast<long long>(best.width) * best.height;
    if (!found || area > bestArea || (area == bestArea && entry.bitsPerPixel > best.bitsPerPixel)) {
      best = entry;
      found = true;
    }
  }
  return found;
}

bool isPngEntry(const uint8_t* entry, size_t sizeBytes) {
  return sizeBytes >= sizeof(kPngSignature) && std::memcmp(entry, kPngSignature, sizeof(kPngSignature)) == 0;
}

// The stored bitmap holds the colour rows and, below them, as many rows of the AND mask.
bool readIconHeader(ByteReader& reader, DibHeader& header, std::string& error) {
  if (!readDibHeader(reader, header, error)) {
    return false;
  }
  if (header.compression != kDibRgb || header.height < 2) {
    error = "unsupported icon bitmap";
    return false;
  }
  header.height /= 2;
  return true;
}

// A set bit in the AND mask marks a transparent pixel.
void applyAndMask(ByteReader& reader, const DibHeader& header, DecodedImage& out) {
  const size_t maskRowBytes = ((static_cast<size_t>(header.width) + 31) / 32) * 4;
  const uint8_t* mask = reader.take(maskRowBytes * header.height);
  if (mask == nullptr) {
    return;
  }
  for (int stored = 0; stored < header.height; ++stored) {
    const int y = header.topDown ? header.height - 1 - stored : stored;
    const uint8_t* row = mask + maskRowBytes * stored;
    for (int x = 0; x < header.width; ++x) {
      if ((row[x >> 3] >> (7 - (x & 7))) & 1) {
        out.setAlpha(x, y, 0);
      }
    }
  }
}

// 32-bit entries may carry alpha in their fourth bytes; all zero means they do not.
bool hasVisiblePixels(const DecodedImage& image) {
  if (!image.hasAlpha()) {
    return false;
  }
  const uint8_t* alpha = image.alphaPlane();
  const size_t count = static_cast<size_t>(image.width()) * image.height();
  for (size_t i = 0; i < count; ++i) {
    if (alpha[i] != 0) {
      return true;
    }
  }
  return false;
}

bool decodeBitmapEntry(const uint8_t* entryData, size_t entryBytes, DecodedImage& out, std::string& error) {
  ByteReader reader(entryData, entryBytes);
  DibHeader header;
  if (!readIconHeader(reader, header, error) ||
      !readDibPixels(reader, header, header.paletteEndOffset, true, out, error)) {
    return false;
  }
  if (hasVisiblePixels(out)) {
    return true;
  }
  // Without alpha bytes of its own the icon is opaque except where its mask says otherwise.
  out.createAlphaPlane(255);
  reader.seek(header.paletteEndOffset + dibRowBytes(header) * header.height);
  applyAndMask(reader, header, out);
  return true;
}

}  // namespace

const char* IcoDecoder::formatName() const { return "ICO"; }

bool IcoDecoder::canDecode(const uint8_t* data, size_t sizeBytes) const {
  // Reserved 0, type 1 (icon) or 2 (cursor), at least one entry.
  return sizeBytes >= kDirectoryBytes + kEntryBytes && data[0] == 0 && data[1] == 0 && (data[2] == 1 || data[2] == 2) &&
         data[3] == 0 && (data[4] != 0 || data[5] != 0);
}

bool IcoDecoder::readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const {
  IconEntry entry;
  if (!pickLargestEntry(data, sizeBytes, entry)) {
    return false;
  }
  width = entry.width;
  height = entry.height;
  return true;
}

bool IcoDecoder::decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const {
  IconEntry entry;
  if (!pickLargestEntry(data, sizeBytes, entry)) {
    error = "no icon entry inside the file";
    return false;
  }
  const uint8_t* entryData = data + entry.offset;
  if (isPngEntry(entryData, entry.sizeBytes)) {
    const PngDecoder png;
    return png.decode(entryData, entry.sizeBytes, out, error);
  }
  return decodeBitmapEntry(entryData, entry.sizeBytes, out, error);
}
