#include "image/png_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

bool writePng(const std::string& path, int width, int height, const uint8_t* rgb, std::string& error) {
  if (width <= 0 || height <= 0 || rgb == nullptr) {
    error = "empty picture";
    return false;
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    error = "out of memory";
    return false;
  }
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    rows[static_cast<size_t>(y)] = const_cast<png_bytep>(rgb + static_cast<size_t>(y) * width * 3);
  }
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    error = "cannot write " + path + ": " + (errno != 0 ? std::strerror(errno) : "libpng failed");
    return false;
  }
  errno = 0;
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  // A full disk shows when the buffered rest is written out, if not before.
  const bool flushed = std::fflush(file) == 0;
  const int flushError = errno;
  if (std::fclose(file) != 0 || !flushed) {
    error = "cannot write " + path + ": " + std::strerror(flushed ? errno : flushError);
    return false;
  }
  return true;
}
