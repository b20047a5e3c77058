#include "image/png_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/replacing_file.h"

namespace {

// libpng's own complaint, kept for the caller's message instead of going to stderr unprefixed.
void keepPngError(png_structp png, png_const_charp message) {
  *static_cast<std::string*>(png_get_error_ptr(png)) = message;
  png_longjmp(png, 1);
}

void ignorePngWarning(png_structp, png_const_charp) {}

}  // namespace

bool writePng(const std::string& path, int width, int height, const uint8_t* rgb, std::string& error) {
  if (width <= 0 || height <= 0 || rgb == nullptr) {
    error = "empty picture";
    return false;
  }
  platform::ReplacingFile file;
  if (!file.open(path, error)) {
    error = "cannot write " + path + ": " + error;
    return false;
  }
  std::string pngError;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &pngError, &keepPngError, &ignorePngWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr) {
    png_destroy_write_struct(&png, &info);
    error = "out of memory";
    return false;
  }
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    rows[static_cast<size_t>(y)] = const_cast<png_bytep>(rgb + static_cast<size_t>(y) * width * 3);
  }
  errno = 0;
  if (setjmp(png_jmpbuf(png)) != 0) {
    const int writeError = errno;
    png_destroy_write_struct(&png, &info);
    error = "cannot write " + path + ": " + (writeError != 0 ? std::strerror(writeError) : "libpng: " + pngError);
    return false;
  }
  png_init_io(png, file.stream());
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (!file.commit(error)) {
    error = "cannot write " + path + ": " + error;
    return false;
  }
  return true;
}
