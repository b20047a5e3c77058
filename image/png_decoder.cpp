#include "image/png_decoder.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "image/byte_reader.h"

namespace {

// libpng reports fatal errors by jumping back to the decode call with png_longjmp; the text is
// kept for the caller. Warnings are ignored.
struct PngContext {
  ByteReader* reader;
  char message[160];
};

void failPng(png_structp png, png_const_charp text) {
  PngContext* context = static_cast<PngContext*>(png_get_error_ptr(png));
  std::snprintf(context->message, sizeof(context->message), "%s", text);
  png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

void readPngBytes(png_structp png, png_bytep buffer, png_size_t count) {
  PngContext* context = static_cast<PngContext*>(png_get_io_ptr(png));
  if (!context->reader->read(buffer, count)) {
    png_error(png, "truncated PNG data");
  }
}

// Pictures that stay indexed: palettes, and grey without a transparent grey level. Everything
// else is widened to blue-green-red with an optional alpha channel.
bool staysIndexed(int colourType, bool transparency) {
  return colourType == PNG_COLOR_TYPE_PALETTE || (colourType == PNG_COLOR_TYPE_GRAY && !transparency);
}

void setIndexedTransforms(png_structp png, png_infop info, int colourType, DecodedImage& out) {
  if (colourType == PNG_COLOR_TYPE_GRAY) {
    png_set_expand_gray_1_2_4_to_8(png);
    out.setGreyPalette();
    return;
  }
  png_set_packing(png);
  png_colorp palette = nullptr;
  int count = 0;
  if (png_get_PLTE(png, info, &palette, &count) != 0) {
    for (int i = 0; i < count && i < 256; ++i) {
      out.setPaletteEntry(i, palette[i].blue, palette[i].green, palette[i].red);
    }
  }
}

void splitPaletteAlpha(png_structp png, png_infop info, DecodedImage& out) {
  png_bytep alphas = nullptr;
  int count = 0;
  if (png_get_tRNS(png, info, &alphas, &count, nullptr) == 0 || alphas == nullptr) {
    return;
  }
  uint8_t table[256];
  std::memset(table, 255, sizeof(table));
  std::memcpy(table, alphas, static_cast<size_t>(count > 256 ? 256 : count));
  out.createAlphaPlane(255);
  for (int y = 0; y < out.height(); ++y) {
    const uint8_t* row = out.rowBits(y);
    uint8_t* alpha = out.alphaRow(y);
    for (int x = 0; x < out.width(); ++x) {
      alpha[x] = table[row[x]];
    }
  }
}

void splitAlpha(const std::vector<uint8_t>& bgra, DecodedImage& out) {
  out.createAlphaPlane(255);
  const int width = out.width();
  for (int y = 0; y < out.height(); ++y) {
    const uint8_t* source = bgra.data() + static_cast<size_t>(y) * width * 4;
    uint8_t* target = out.rowBits(y);
    uint8_t* alpha = out.alphaRow(y);
    for (int x = 0; x < width; ++x) {
      target[3 * x] = source[4 * x];
      target[3 * x + 1] = source[4 * x + 1];
      target[3 * x + 2] = source[4 * x + 2];
      alpha[x] = source[4 * x + 3];
    }
  }
}

// Kept free of C++ objects with destructors between setjmp and the jumps into it; the row
// pointers and the four-channel buffer live in the caller.
bool decodeRows(png_structp png, png_infop info, std::vector<png_bytep>& rows, std::vector<uint8_t>& bgra,
                DecodedImage& out, std::string& error) {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitDepth = 0;
  int colourType = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
  const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  const bool indexed = staysIndexed(colourType, transparency);
  if (!out.create(static_cast<int>(width), static_cast<int>(height), indexed ? 8 : 24, error)) {
    return false;
  }
  png_set_scale_16(png);
  bool withAlpha = false;
  if (indexed) {
    setIndexedTransforms(png, info, colourType, out);
  } else {
    png_set_expand(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    withAlpha = transparency || (colourType & PNG_COLOR_MASK_ALPHA) != 0;
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  // Rows arrive top first: point each at its bottom-first row, or into the four-channel buffer.
  rows.resize(height);
  if (withAlpha) {
    bgra.resize(static_cast<size_t>(width) * height * 4);
  }
  for (png_uint_32 row = 0; row < height; ++row) {
    const int y = static_cast<int>(height - 1 - row);
    rows[row] = withAlpha ? bgra.data() + static_cast<size_t>(y) * width * 4 : out.rowBits(y);
  }
  png_read_image(png, rows.data());
  if (withAlpha) {
    splitAlpha(bgra, out);
  } else if (colourType == PNG_COLOR_TYPE_PALETTE) {
    splitPaletteAlpha(png, info, out);
  }
  return true;
}

}  // namespace

const char* PngDecoder::formatName() const { return "PNG"; }

bool PngDecoder::canDecode(const uint8_t* data, size_t sizeBytes) const {
  return sizeBytes >= 8 && png_sig_cmp(data, 0, 8) == 0;
}

bool PngDecoder::readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const {
  // The IHDR chunk follows the signature: length, "IHDR", then width and height big-endian.
  if (sizeBytes < 24 || std::memcmp(data + 12, "IHDR", 4) != 0) {
    return false;
  }
  const uint32_t wide = (static_cast<uint32_t>(data[16]) << 24) | (data[17] << 16) | (data[18] << 8) | data[19];
  const uint32_t high = (static_cast<uint32_t>(data[20]) << 24) | (data[21] << 16) | (data[22] << 8) | data[23];
  width = wide;
  height = high;
  return true;
}

bool PngDecoder::decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const {
  ByteReader reader(data, sizeBytes);
  PngContext context{&reader, {0}};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, &failPng, &ignoreWarning);
  png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    error = "out of memory";
    return false;
  }
  std::vector<png_bytep> rows;
  std::vector<uint8_t> bgra;
  volatile bool decoded = false;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_set_read_fn(png, &context, &readPngBytes);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);
    decoded = decodeRows(png, info, rows, bgra, out, error);
  } else {
    error = context.message;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return decoded;
}
