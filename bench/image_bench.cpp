// Decoding a 1024 × 1024 JPEG and PNG through our decoder and, side by side, through the plain
// library into a buffer. Our path adds the bottom-first rows, the padding and the checks; the
// ratio of the two should stay under 1.1.
#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "image/image_decoder.h"

namespace {

constexpr int kSide = 1024;

// A photograph-like test card: smooth gradients with a little noise.
std::vector<uint8_t> testCard() {
  std::vector<uint8_t> rgb(static_cast<size_t>(kSide) * kSide * 3);
  unsigned int noise = 12345;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      noise = noise * 1103515245u + 12345u;
      const int jitter = static_cast<int>((noise >> 16) & 15);
      uint8_t* p = rgb.data() + (static_cast<size_t>(y) * kSide + x) * 3;
      p[0] = static_cast<uint8_t>((x / 4 + jitter) & 255);
      p[1] = static_cast<uint8_t>((y / 4 + jitter) & 255);
      p[2] = static_cast<uint8_t>(((x + y) / 8 + jitter) & 255);
    }
  }
  return rgb;
}

const std::vector<uint8_t>& jpegFile() {
  static const std::vector<uint8_t> file = [] {
    const std::vector<uint8_t> rgb = testCard();
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long sizeBytes = 0;
    jpeg_mem_dest(&info, &buffer, &sizeBytes);
    info.image_width = kSide;
    info.image_height = kSide;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
      JSAMPROW row = const_cast<uint8_t*>(rgb.data()) + static_cast<size_t>(info.next_scanline) * kSide * 3;
      jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + sizeBytes);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
  }();
  return file;
}

void appendPngBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  bytes->insert(bytes->end(), data, data + length);
}

void flushNothing(png_structp) {}

const std::vector<uint8_t>& pngFile() {
  static const std::vector<uint8_t> file = [] {
    const std::vector<uint8_t> rgb = testCard();
    std::vector<uint8_t> bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &bytes, &appendPngBytes, &flushNothing);
    png_set_IHDR(png, info, kSide, kSide, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kSide; ++y) {
      png_write_row(png, rgb.data() + static_cast<size_t>(y) * kSide * 3);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return bytes;
  }();
  return file;
}

void decodeThroughOurDecoder(benchmark::State& state, int format, const std::vector<uint8_t>& file) {
  for (auto _ : state) {
    DecodedImage image;
    std::string error;
    if (!decodeImage(file.data(), file.size(), format, image, error)) {
      state.SkipWithError(error.c_str());
      break;
    }
    benchmark::DoNotOptimize(image.bits());
  }
}

void BM_JpegThroughOurDecoder(benchmark::State& state) { decodeThroughOurDecoder(state, kImageJpeg, jpegFile()); }

void BM_JpegThroughPlainLibjpeg(benchmark::State& state) {
  const std::vector<uint8_t>& file = jpegFile();
  for (auto _ : state) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    std::vector<uint8_t> pixels(static_cast<size_t>(info.output_width) * info.output_height * 3);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = pixels.data() + static_cast<size_t>(info.output_scanline) * info.output_width * 3;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels.data());
  }
}

void BM_PngThroughOurDecoder(benchmark::State& state) { decodeThroughOurDecoder(state, kImagePng, pngFile()); }

struct PngSource {
  const std::vector<uint8_t>* bytes;
  size_t position;
};

void readPngSource(png_structp png, png_bytep out, png_size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  std::copy(source->bytes->begin() + static_cast<long>(source->position),
            source->bytes->begin() + static_cast<long>(source->position + length), out);
  source->position += length;
}

void BM_PngThroughPlainLibpng(benchmark::State& state) {
  const std::vector<uint8_t>& file = pngFile();
  for (auto _ : state) {
    PngSource source{&file, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &source, &readPngSource);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) {
      rows[y] = pixels.data() + static_cast<size_t>(y) * width * 3;
    }
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(pixels.data());
  }
}

BENCHMARK(BM_JpegThroughOurDecoder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegThroughPlainLibjpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngThroughOurDecoder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngThroughPlainLibpng)->Unit(benchmark::kMillisecond);

}  // namespace
