#include "image/pcx_decoder.h"

#include <vector>

#include "image/byte_reader.h"

namespace {

constexpr size_t kHeaderBytes = 128;
constexpr size_t kHeaderPaletteOffset = 16;
// An 8-bit picture's palette follows the pixels: a 0x0C marker, then 256 red-green-blue triples.
constexpr size_t kTrailingPaletteBytes = 769;
constexpr uint8_t kTrailingPaletteMarker = 0x0c;

struct PcxHeader {
  int encoding = 0;
  int bitsPerPlane = 0;
  int planes = 0;
  int width = 0;
  int height = 0;
  int bytesPerLine = 0;
};

bool readHeader(const uint8_t* data, size_t sizeBytes, PcxHeader& header) {
  ByteReader reader(data, sizeBytes);
  const int manufacturer = reader.u8();
  reader.u8();
  header.encoding = reader.u8();
  header.bitsPerPlane = reader.u8();
  const int xMin = reader.u16le();
  const int yMin = reader.u16le();
  const int xMax = reader.u16le();
  const int yMax = reader.u16le();
  reader.seek(65);
  header.planes = reader.u8();
  header.bytesPerLine = reader.u16le();
  header.width = xMax - xMin + 1;
  header.height = yMax - yMin + 1;
  return !reader.failed() && sizeBytes >= kHeaderBytes && manufacturer == 0x0a && header.encoding <= 1;
}

bool supportedLayout(const PcxHeader& header) {
  const int bits = header.bitsPerPlane;
  const int planes = header.planes;
  return (bits == 1 && (planes == 1 || planes == 4)) || (bits == 4 && planes == 1) ||
         (bits == 8 && (planes == 1 || planes == 3 || planes == 4));
}

int outputDepth(const PcxHeader& header) {
  if (header.bitsPerPlane == 8) {
    return header.planes == 1 ? 8 : 24;
  }
  return header.bitsPerPlane * header.planes;
}

void readPalette(const uint8_t* data, size_t sizeBytes, const PcxHeader& header, DecodedImage& out) {
  if (header.bitsPerPlane == 8 && header.planes == 1) {
    const size_t start = sizeBytes - kTrailingPaletteBytes;
    if (sizeBytes < kHeaderBytes + kTrailingPaletteBytes || data[start] != kTrailingPaletteMarker) {
      out.setGreyPalette();
      return;
    }
    for (int i = 0; i < 256; ++i) {
      const uint8_t* rgb = data + start + 1 + 3 * i;
      out.setPaletteEntry(i, rgb[2], rgb[1], rgb[0]);
    }
  } else if (header.bitsPerPlane == 1 && header.planes == 1) {
    // Monochrome pictures are black and white whatever the header's palette holds.
    out.setPaletteEntry(0, 0, 0, 0);
    out.setPaletteEntry(1, 255, 255, 255);
  } else if (out.bitsPerPixel() == 4) {
    for (int i = 0; i < 16; ++i) {
      const uint8_t* rgb = data + kHeaderPaletteOffset + 3 * i;
      out.setPaletteEntry(i, rgb[2], rgb[1], rgb[0]);
    }
  }
}

// Run-length bytes: a byte with both top bits set repeats the next byte (its low 6 bits) times.
// Runs may continue from one line into the next.
class PcxRunReader {
 public:
  PcxRunReader(ByteReader& reader, bool encoded) : reader_(reader), encoded_(encoded) {}

  bool fill(std::vector<uint8_t>& line) {
    size_t filled = 0;
    while (filled < line.size()) {
      if (runLeft_ > 0) {
        line[filled++] = runValue_;
        --runLeft_;
        continue;
      }
      const uint8_t value = reader_.u8();
      if (reader_.failed()) {
        return false;
      }
      if (encoded_ && (value & 0xc0) == 0xc0) {
        runLeft_ = value & 0x3f;
        runValue_ = reader_.u8();
      } else {
        line[filled++] = value;
      }
    }
    return !reader_.failed();
  }

 private:
  ByteReader& reader_;
  bool encoded_;
  int runLeft_ = 0;
  uint8_t runValue_ = 0;
};

void placeLine(const PcxHeader& header, const std::vector<uint8_t>& line, int y, DecodedImage& out) {
  const size_t stride = static_cast<size_t>(header.bytesPerLine);
  for (int x = 0; x < header.width; ++x) {
    if (header.bitsPerPlane == 8 && header.planes == 1) {
      out.setIndex(x, y, line[x]);
    } else if (header.bitsPerPlane == 8) {
      out.setColour(x, y, line[2 * stride + x], line[stride + x], line[x]);
      if (header.planes == 4) {
        out.setAlpha(x, y, line[3 * stride + x]);
      }
    } else if (header.bitsPerPlane == 4) {
      out.setIndex(x, y, (x & 1) ? (line[x >> 1] & 0x0f) : (line[x >> 1] >> 4));
    } else {
      // One bit per plane: plane p gives bit p of the palette index.
      int index = 0;
      for (int plane = 0; plane < header.planes; ++plane) {
        index |= ((line[plane * stride + (x >> 3)] >> (7 - (x & 7))) & 1) << plane;
      }
      out.setIndex(x, y, index);
    }
  }
}

}  // namespace

const char* PcxDecoder::formatName() const { return "PCX"; }

bool PcxDecoder::canDecode(const uint8_t* data, size_t sizeBytes) const {
  PcxHeader header;
  return readHeader(data, sizeBytes, header);
}

bool PcxDecoder::readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const {
  PcxHeader header;
  if (!readHeader(data, sizeBytes, header)) {
    return false;
  }
  width = header.width;
  height = header.height;
  return true;
}

bool PcxDecoder::decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const {
  PcxHeader header;
  if (!readHeader(data, sizeBytes, header) || !supportedLayout(header)) {
    error = "unsupported PCX layout";
    return false;
  }
  if (header.width <= 0 || header.height <= 0 ||
      static_cast<long long>(header.bytesPerLine) * 8 < static_cast<long long>(header.width) * header.bitsPerPlane) {
    error = "bad PCX size";
    return false;
  }
  if (!out.create(header.width, header.height, outputDepth(header), error)) {
    return false;
  }
  readPalette(data, sizeBytes, header, out);
  if (header.planes == 4 && header.bitsPerPlane == 8) {
    out.createAlphaPlane(255);
  }
  ByteReader reader(data, sizeBytes);
  reader.seek(kHeaderBytes);
  PcxRunReader runs(reader, header.encoding == 1);
  std::vector<uint8_t> line(static_cast<size_t>(header.bytesPerLine) * header.planes);
  // Lines are stored top first.
  for (int row = 0; row < header.height; ++row) {
    if (!runs.fill(line)) {
      error = "truncated pixel data";
      return false;
    }
    placeLine(header, line, header.height - 1 - row, out);
  }
  return true;
}
