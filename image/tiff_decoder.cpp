#include "image/tiff_decoder.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The file in memory as libtiff's client I/O sees it: reads and seeks stay inside the bytes.
struct TiffMemory {
  const uint8_t* data;
  size_t size;
  size_t position;
  std::string message;
};

tmsize_t readTiff(thandle_t handle, void* buffer, tmsize_t count) {
  TiffMemory& file = *static_cast<TiffMemory*>(handle);
  if (count <= 0 || file.position >= file.size) {
    return 0;
  }
  const size_t available = file.size - file.position;
  const size_t taken = static_cast<size_t>(count) < available ? static_cast<size_t>(count) : available;
  std::memcpy(buffer, file.data + file.position, taken);
  file.position += taken;
  return static_cast<tmsize_t>(taken);
}

tmsize_t refuseWrite(thandle_t, void*, tmsize_t) { return 0; }

toff_t seekTiff(thandle_t handle, toff_t offset, int whence) {
  TiffMemory& file = *static_cast<TiffMemory*>(handle);
  unsigned long long target = offset;
  if (whence == SEEK_CUR) {
    target += file.position;
  } else if (whence == SEEK_END) {
    target += file.size;
  }
  if (target > file.size) {
    return static_cast<toff_t>(-1);
  }
  file.position = static_cast<size_t>(target);
  return target;
}

int closeTiff(thandle_t) { return 0; }

toff_t sizeOfTiff(thandle_t handle) { return static_cast<TiffMemory*>(handle)->size; }

int keepTiffError(TIFF*, void* userData, const char* module, const char* format, va_list arguments) {
  char text[256];
  std::vsnprintf(text, sizeof(text), format, arguments);
  TiffMemory& file = *static_cast<TiffMemory*>(userData);
  file.message = std::string(module != nullptr ? module : "TIFF") + ": " + text;
  return 1;
}

int ignoreTiffWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

class TiffFile {
 public:
  explicit TiffFile(TiffMemory& memory) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, &keepTiffError, &memory);
    TIFFOpenOptionsSetWarningHandlerExtR(options, &ignoreTiffWarning, &memory);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(kMaxImageBytes));
    tiff_ = TIFFClientOpenExt("memory", "rm", &memory, &readTiff, &refuseWrite, &seekTiff, &closeTiff, &sizeOfTiff,
                              nullptr, nullptr, options);
    TIFFOpenOptionsFree(options);
  }
  ~TiffFile() {
    if (tiff_ != nullptr) {
      TIFFClose(tiff_);
    }
  }
  TiffFile(const TiffFile&) = delete;
  TiffFile& operator=(const TiffFile&) = delete;
  TIFF* get() const { return tiff_; }

 private:
  TIFF* tiff_ = nullptr;
};

// Colours stored multiplied by their alpha are divided back, so every picture gives colours of
// their own under partial transparency.
uint8_t unpremultiply(uint32_t channel, uint32_t alpha) {
  if (alpha == 0 || alpha == 255) {
    return static_cast<uint8_t>(channel);
  }
  const uint32_t value = (channel * 255 + alpha / 2) / alpha;
  return static_cast<uint8_t>(value > 255 ? 255 : value);
}

// libtiff multiplies unassociated alpha into the colours through this table of 256 × 256
// entries (alpha × 256 + value); making it the identity keeps the stored colours exact.
void keepUnassociatedColours(TIFFRGBAImage& image) {
  if (image.alpha != EXTRASAMPLE_UNASSALPHA || image.UaToAa == nullptr) {
    return;
  }
  for (int alpha = 0; alpha < 256; ++alpha) {
    for (int value = 0; value < 256; ++value) {
      image.UaToAa[alpha * 256 + value] = static_cast<uint8_t>(value);
    }
  }
}

void copyRaster(const std::vector<uint32_t>& raster, int alphaKind, DecodedImage& out) {
  if (alphaKind != 0) {
    out.createAlphaPlane(255);
  }
  const bool associated = alphaKind == EXTRASAMPLE_ASSOCALPHA;
  for (int y = 0; y < out.height(); ++y) {
    const uint32_t* source = raster.data() + static_cast<size_t>(y) * out.width();
    for (int x = 0; x < out.width(); ++x) {
      const uint32_t pixel = source[x];
      const uint32_t alpha = associated ? TIFFGetA(pixel) : 255;
      out.setColour(x, y, unpremultiply(TIFFGetB(pixel), alpha), unpremultiply(TIFFGetG(pixel), alpha),
                    unpremultiply(TIFFGetR(pixel), alpha));
      if (alphaKind != 0) {
        out.setAlpha(x, y, static_cast<uint8_t>(TIFFGetA(pixel)));
      }
    }
  }
}

bool readRaster(TIFF* tiff, TiffMemory& memory, DecodedImage& out, std::string& error) {
  char message[1024] = {0};
  TIFFRGBAImage image;
  if (TIFFRGBAImageOK(tiff, message) == 0 || TIFFRGBAImageBegin(&image, tiff, 1, message) == 0) {
    error = message;
    return false;
  }
  bool ok = out.create(static_cast<int>(image.width), static_cast<int>(image.height), 24, error);
  if (ok) {
    // Rows come out bottom first, as our own rows are stored.
    image.req_orientation = ORIENTATION_BOTLEFT;
    keepUnassociatedColours(image);
    std::vector<uint32_t> raster(static_cast<size_t>(image.width) * image.height, 0);
    ok = TIFFRGBAImageGet(&image, raster.data(), image.width, image.height) != 0;
    if (ok) {
      copyRaster(raster, image.alpha, out);
    } else {
      error = memory.message.empty() ? "unreadable TIFF pixels" : memory.message;
    }
  }
  TIFFRGBAImageEnd(&image);
  return ok;
}

}  // namespace

const char* TiffDecoder::formatName() const { return "TIFF"; }

bool TiffDecoder::canDecode(const uint8_t* data, size_t sizeBytes) const {
  // "II" or "MM", then 42 (classic) or 43 (BigTIFF) in that byte order.
  if (sizeBytes < 8) {
    return false;
  }
  const bool little = data[0] == 'I' && data[1] == 'I' && (data[2] == 42 || data[2] == 43) && data[3] == 0;
  const bool big = data[0] == 'M' && data[1] == 'M' && data[2] == 0 && (data[3] == 42 || data[3] == 43);
  return little || big;
}

bool TiffDecoder::readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const {
  TiffMemory memory{data, sizeBytes, 0, std::string()};
  TiffFile file(memory);
  uint32_t wide = 0;
  uint32_t high = 0;
  if (file.get() == nullptr || TIFFGetField(file.get(), TIFFTAG_IMAGEWIDTH, &wide) == 0 ||
      TIFFGetField(file.get(), TIFFTAG_IMAGELENGTH, &high) == 0) {
    return false;
  }
  width = wide;
  height = high;
  return true;
}

bool TiffDecoder::decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const {
  TiffMemory memory{data, sizeBytes, 0, std::string()};
  TiffFile file(memory);
  if (file.get() == nullptr) {
    error = memory.message.empty() ? "unreadable TIFF header" : memory.message;
    return false;
  }
  return readRaster(file.get(), memory, out, error);
}
