#include "image/bmp_decoder.h"

#include "image/byte_reader.h"
#include "image/dib_reader.h"

namespace {

constexpr size_t kFileHeaderBytes = 14;

}  // namespace

const char* BmpDecoder::formatName() const { return "BMP"; }

bool BmpDecoder::canDecode(const uint8_t* data, size_t sizeBytes) const {
  return sizeBytes >= kFileHeaderBytes && data[0] == 'B' && data[1] == 'M';
}

bool BmpDecoder::readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const {
  ByteReader reader(data, sizeBytes);
  DibHeader header;
  std::string error;
  if (!reader.seek(kFileHeaderBytes) || !readDibHeader(reader, header, error)) {
    return false;
  }
  width = header.width;
  height = header.height;
  return true;
}

bool BmpDecoder::decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const {
  ByteReader reader(data, sizeBytes);
  reader.skip(10);
  const uint32_t pixelOffset = reader.u32le();
  DibHeader header;
  if (!readDibHeader(reader, header, error)) {
    return false;
  }
  // Writers that leave the offset at zero mean "right after the palette".
  const size_t start = pixelOffset == 0 ? header.paletteEndOffset : pixelOffset;
  if (start >= sizeBytes) {
    error = "pixel data offset " + std::to_string(pixelOffset) + " outside the file";
    return false;
  }
  return readDibPixels(reader, header, start, false, out, error);
}
