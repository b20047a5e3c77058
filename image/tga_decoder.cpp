#include "image/tga_decoder.h"

#include <cstring>
#include <vector>

#include "image/byte_reader.h"

namespace {

constexpr size_t kHeaderBytes = 18;

enum TgaType : int {
  kMapped = 1,
  kTrueColour = 2,
  kGrey = 3,
  kMappedRle = 9,
  kTrueColourRle = 10,
  kGreyRle = 11,
};

struct TgaHeader {
  int idBytes = 0;
  int colourMapType = 0;
  int imageType = 0;
  int mapFirst = 0;
  int mapLength = 0;
  int mapEntryBits = 0;
  int width = 0;
  int height = 0;
  int pixelBits = 0;
  int descriptor = 0;

  int baseType() const { return imageType & 7; }
  bool runLength() const { return imageType >= kMappedRle; }
  int alphaBits() const { return descriptor & 0x0f; }
  bool rightToLeft() const { return (descriptor & 0x10) != 0; }
  bool topOrigin() const { return (descriptor & 0x20) != 0; }
};

TgaHeader readHeader(ByteReader& reader) {
  TgaHeader header;
  header.idBytes = reader.u8();
  header.colourMapType = reader.u8();
  header.imageType = reader.u8();
  header.mapFirst = reader.u16le();
  header.mapLength = reader.u16le();
  header.mapEntryBits = reader.u8();
  reader.skip(4);  // the screen origin does not move the picture
  header.width = reader.u16le();
  header.height = reader.u16le();
  header.pixelBits = reader.u8();
  header.descriptor = reader.u8();
  return header;
}

bool depthFitsType(const TgaHeader& header) {
  switch (header.baseType()) {
    case kMapped:
      return header.colourMapType == 1 && header.pixelBits == 8 &&
             (header.mapEntryBits == 15 || header.mapEntryBits == 16 || header.mapEntryBits == 24 ||
              header.mapEntryBits == 32);
    case kTrueColour:
      return header.pixelBits == 15 || header.pixelBits == 16 || header.pixelBits == 24 || header.pixelBits == 32;
    case kGrey:
      return header.pixelBits == 8 || header.pixelBits == 16;
    default:
      return false;
  }
}

bool plausibleHeader(const TgaHeader& header) {
  const bool knownType = header.imageType == kMapped || header.imageType == kTrueColour || header.imageType == kGrey ||
                         header.imageType == kMappedRle || header.imageType == kTrueColourRle ||
                         header.imageType == kGreyRle;
  return knownType && header.colourMapType <= 1 && header.width > 0 && header.height > 0 && depthFitsType(header);
}

// Five bits per channel widened so that 31 becomes 255, as in (v × 255 + 15) / 31.
uint8_t widenFiveBits(int value) { return static_cast<uint8_t>((value * 255 + 15) / 31); }

DecodedImage::Bgra colourOf(const uint8_t* p, int bits, bool attributeIsAlpha) {
  switch (bits) {
    case 15:
    case 16: {
      const int value = p[0] | (p[1] << 8);
      const uint8_t alpha = (attributeIsAlpha && (value & 0x8000) == 0) ? 0 : 255;
      return DecodedImage::Bgra{widenFiveBits(value & 0x1f), widenFiveBits((value >> 5) & 0x1f),
                                widenFiveBits((value >> 10) & 0x1f), alpha};
    }
    case 24:
      return DecodedImage::Bgra{p[0], p[1], p[2], 255};
    default:
      return DecodedImage::Bgra{p[0], p[1], p[2], p[3]};
  }
}

// The colour map fills palette slots first .. first + length - 1; slots past 255 are never used
// by 8-bit indices and are skipped.
bool readColourMap(ByteReader& reader, const TgaHeader& header, DecodedImage::Bgra palette[256]) {
  const size_t entryBytes = (static_cast<size_t>(header.mapEntryBits) + 7) / 8;
  const uint8_t* entries = reader.take(entryBytes * header.mapLength);
  if (entries == nullptr) {
    return false;
  }
  if (header.baseType() != kMapped) {
    return true;
  }
  for (int i = 0; i < header.mapLength && header.mapFirst + i < 256; ++i) {
    palette[header.mapFirst + i] = colourOf(entries + entryBytes * i, header.mapEntryBits, header.alphaBits() > 0);
  }
  return true;
}

// Every pixel's stored bytes in file order, expanding run-length packets: a header byte with
// the top bit set repeats one pixel (low 7 bits + 1) times, otherwise that many pixels follow.
bool readPixelBytes(ByteReader& reader, const TgaHeader& header, std::vector<uint8_t>& pixels) {
  const size_t pixelBytes = (static_cast<size_t>(header.pixelBits) + 7) / 8;
  const size_t total = static_cast<size_t>(header.width) * header.height * pixelBytes;
  if (!header.runLength()) {
    const uint8_t* stored = reader.take(total);
    if (stored == nullptr) {
      return false;
    }
    pixels.assign(stored, stored + total);
    return true;
  }
  pixels.assign(total, 0);
  size_t filled = 0;
  while (filled < total) {
    const int packet = reader.u8();
    const size_t count = static_cast<size_t>((packet & 0x7f) + 1);
    const size_t bytes = count * pixelBytes > total - filled ? total - filled : count * pixelBytes;
    if (packet & 0x80) {
      const uint8_t* value = reader.take(pixelBytes);
      if (value == nullptr) {
        return false;
      }
      for (size_t offset = 0; offset < bytes; offset += pixelBytes) {
        std::memcpy(pixels.data() + filled + offset, value, pixelBytes);
      }
    } else {
      const uint8_t* run = reader.take(count * pixelBytes);
      if (run == nullptr) {
        return false;
      }
      std::memcpy(pixels.data() + filled, run, bytes);
    }
    filled += bytes;
  }
  return true;
}

bool createOutput(const TgaHeader& header, const DecodedImage::Bgra palette[256], DecodedImage& out,
                  std::string& error) {
  const int depth = header.baseType() == kTrueColour ? 24 : 8;
  if (!out.create(header.width, header.height, depth, error)) {
    return false;
  }
  if (header.baseType() == kGrey) {
    out.setGreyPalette();
  } else if (header.baseType() == kMapped) {
    for (int i = 0; i < 256; ++i) {
      out.setPaletteEntry(i, palette[i].b, palette[i].g, palette[i].r);
    }
  }
  // 16-bit colours carry alpha in their top bit only when the descriptor counts alpha bits.
  const bool attributeAlpha = header.alphaBits() > 0;
  const bool mappedAlpha =
      header.baseType() == kMapped && (header.mapEntryBits == 32 || (header.mapEntryBits == 16 && attributeAlpha));
  const bool greyAlpha = header.baseType() == kGrey && header.pixelBits == 16;
  const bool colourAlpha =
      header.baseType() == kTrueColour && (header.pixelBits == 32 || (header.pixelBits == 16 && attributeAlpha));
  if (mappedAlpha || greyAlpha || colourAlpha) {
    out.createAlphaPlane(255);
  }
  return true;
}

void placePixels(const TgaHeader& header, const std::vector<uint8_t>& pixels, const DecodedImage::Bgra palette[256],
                 DecodedImage& out) {
  const size_t pixelBytes = (static_cast<size_t>(header.pixelBits) + 7) / 8;
  const bool attributeIsAlpha = header.alphaBits() > 0;
  for (int row = 0; row < header.height; ++row) {
    const int y = header.topOrigin() ? header.height - 1 - row : row;
    for (int column = 0; column < header.width; ++column) {
      const int x = header.rightToLeft() ? header.width - 1 - column : column;
      const uint8_t* p = pixels.data() + (static_cast<size_t>(row) * header.width + column) * pixelBytes;
      switch (header.baseType()) {
        case kMapped:
          out.setIndex(x, y, p[0]);
          out.setAlpha(x, y, palette[p[0]].a);
          break;
        case kGrey:
          out.setIndex(x, y, p[0]);
          out.setAlpha(x, y, pixelBytes == 2 ? p[1] : 255);
          break;
        default: {
          const DecodedImage::Bgra colour = colourOf(p, header.pixelBits, attributeIsAlpha);
          out.setColour(x, y, colour.b, colour.g, colour.r);
          out.setAlpha(x, y, colour.a);
        }
      }
    }
  }
}

}  // namespace

const char* TgaDecoder::formatName() const { return "TGA"; }

bool TgaDecoder::canDecode(const uint8_t* data, size_t sizeBytes) const {
  // Targa files carry no signature: the header's fields must make sense together.
  ByteReader reader(data, sizeBytes);
  const TgaHeader header = readHeader(reader);
  return !reader.failed() && plausibleHeader(header);
}

bool TgaDecoder::readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const {
  ByteReader reader(data, sizeBytes);
  const TgaHeader header = readHeader(reader);
  width = header.width;
  height = header.height;
  return !reader.failed();
}

bool TgaDecoder::decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const {
  ByteReader reader(data, sizeBytes);
  const TgaHeader header = readHeader(reader);
  if (reader.failed() || !plausibleHeader(header)) {
    error = "unsupported Targa header";
    return false;
  }
  reader.skip(static_cast<size_t>(header.idBytes));
  DecodedImage::Bgra palette[256];
  std::memset(palette, 0, sizeof(palette));
  for (DecodedImage::Bgra& entry : palette) {
    entry.a = 255;
  }
  if (header.colourMapType == 1 && !readColourMap(reader, header, palette)) {
    error = "truncated colour map";
    return false;
  }
  if (!createOutput(header, palette, out, error)) {
    return false;
  }
  std::vector<uint8_t> pixels;
  if (!readPixelBytes(reader, header, pixels)) {
    error = "truncated pixel data";
    return false;
  }
  placePixels(header, pixels, palette, out);
  return true;
}
