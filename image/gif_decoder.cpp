#include "image/gif_decoder.h"

#include <gif_lib.h>

#include <cstring>
#include <vector>

#include "image/byte_reader.h"

namespace {

// giflib pulls its bytes through this; a short read at the end of the file makes it fail.
int readGifBytes(GifFileType* gif, GifByteType* buffer, int count) {
  ByteReader& reader = *static_cast<ByteReader*>(gif->UserData);
  const size_t available = reader.remaining() < static_cast<size_t>(count) ? reader.remaining() : count;
  reader.read(buffer, available);
  return static_cast<int>(available);
}

class GifFile {
 public:
  explicit GifFile(ByteReader& reader) { gif_ = DGifOpen(&reader, &readGifBytes, &openError_); }
  ~GifFile() {
    if (gif_ != nullptr) {
      int closeError = 0;
      DGifCloseFile(gif_, &closeError);
    }
  }
  GifFile(const GifFile&) = delete;
  GifFile& operator=(const GifFile&) = delete;

  GifFileType* get() const { return gif_; }
  std::string lastError() const {
    const char* text = GifErrorString(gif_ != nullptr ? gif_->Error : openError_);
    return text != nullptr ? text : "GIF error";
  }

 private:
  GifFileType* gif_ = nullptr;
  int openError_ = 0;
};

// Skips extension blocks up to the first picture, remembering the transparent colour of a
// graphic control block. -1 when there is none; false on a read error or no picture at all.
bool seekFirstPicture(GifFileType* gif, int& transparentIndex, std::string& error) {
  transparentIndex = -1;
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &record) == GIF_ERROR) {
      return false;
    }
    if (record == IMAGE_DESC_RECORD_TYPE) {
      return DGifGetImageDesc(gif) != GIF_ERROR;
    }
    if (record == TERMINATE_RECORD_TYPE) {
      error = "GIF file holds no picture";
      return false;
    }
    if (record != EXTENSION_RECORD_TYPE) {
      continue;
    }
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
      return false;
    }
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
      GraphicsControlBlock control;
      DGifExtensionToGCB(block[0], block + 1, &control);
      transparentIndex = control.TransparentColor;
    }
    while (block != nullptr) {
      if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) {
        return false;
      }
    }
  }
}

// Interlaced pictures store every 8th row from 0, every 8th from 4, every 4th from 2, then
// every 2nd from 1.
bool readRows(GifFileType* gif, DecodedImage& out) {
  const int width = out.width();
  const int height = out.height();
  const int firstRows[] = {0, 4, 2, 1};
  const int rowSteps[] = {8, 8, 4, 2};
  const int passes = gif->Image.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int first = gif->Image.Interlace ? firstRows[pass] : 0;
    const int step = gif->Image.Interlace ? rowSteps[pass] : 1;
    for (int row = first; row < height; row += step) {
      if (DGifGetLine(gif, out.rowBits(height - 1 - row), width) == GIF_ERROR) {
        return false;
      }
    }
  }
  return true;
}

void applyColourMap(const ColorMapObject* map, DecodedImage& out) {
  if (map == nullptr || map->Colors == nullptr) {
    out.setGreyPalette();
    return;
  }
  for (int i = 0; i < map->ColorCount && i < 256; ++i) {
    out.setPaletteEntry(i, map->Colors[i].Blue, map->Colors[i].Green, map->Colors[i].Red);
  }
}

}  // namespace

const char* GifDecoder::formatName() const { return "GIF"; }

bool GifDecoder::canDecode(const uint8_t* data, size_t sizeBytes) const {
  return sizeBytes >= 13 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0);
}

bool GifDecoder::readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const {
  ByteReader reader(data, sizeBytes);
  reader.skip(6);
  width = reader.u16le();
  height = reader.u16le();
  return !reader.failed();
}

bool GifDecoder::decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const {
  ByteReader reader(data, sizeBytes);
  GifFile file(reader);
  GifFileType* gif = file.get();
  int transparentIndex = -1;
  if (gif == nullptr || !seekFirstPicture(gif, transparentIndex, error)) {
    if (error.empty()) {
      error = file.lastError();
    }
    return false;
  }
  if (!out.create(gif->Image.Width, gif->Image.Height, 8, error)) {
    return false;
  }
  applyColourMap(gif->Image.ColorMap != nullptr ? gif->Image.ColorMap : gif->SColorMap, out);
  if (!readRows(gif, out)) {
    error = file.lastError();
    return false;
  }
  if (transparentIndex >= 0) {
    out.createAlphaPlane(255);
    for (int y = 0; y < out.height(); ++y) {
      const uint8_t* row = out.rowBits(y);
      uint8_t* alpha = out.alphaRow(y);
      for (int x = 0; x < out.width(); ++x) {
        alpha[x] = row[x] == transparentIndex ? 0 : 255;
      }
    }
  }
  return true;
}
