#include "image/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to the
// decode call. Warnings are counted; running out of data is one of them.
struct JpegErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool endOfData;
};

void exitOnError(j_common_ptr info) {
  JpegErrorManager* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

void noteWarning(j_common_ptr info, int level) {
  JpegErrorManager* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
    manager->endOfData = true;
  }
}

bool readHeader(jpeg_decompress_struct& info, const uint8_t* data, size_t sizeBytes) {
  jpeg_mem_src(&info, data, static_cast<unsigned long>(sizeBytes));
  return jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK;
}

// Scanlines come top first; each goes straight into its bottom-first row.
void readScanlines(jpeg_decompress_struct& info, DecodedImage& out) {
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.rowBits(static_cast<int>(info.output_height - 1 - info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
}

// Kept free of C++ objects with destructors between setjmp and the jumps into it.
bool decodeJpeg(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) {
  jpeg_decompress_struct info;
  JpegErrorManager manager;
  info.err = jpeg_std_error(&manager.base);
  manager.base.error_exit = &exitOnError;
  manager.base.emit_message = &noteWarning;
  manager.endOfData = false;
  manager.message[0] = '\0';
  if (setjmp(manager.jump) != 0) {
    jpeg_destroy_decompress(&info);
    error = manager.message;
    return false;
  }
  jpeg_create_decompress(&info);
  if (!readHeader(info, data, sizeBytes)) {
    jpeg_destroy_decompress(&info);
    error = "no JPEG picture";
    return false;
  }
  const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
  info.out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
  if (!out.create(static_cast<int>(info.image_width), static_cast<int>(info.image_height), grey ? 8 : 24, error)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  if (grey) {
    out.setGreyPalette();
  }
  jpeg_start_decompress(&info);
  readScanlines(info, out);
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  if (manager.endOfData) {
    error = "truncated JPEG data";
    return false;
  }
  return true;
}

}  // namespace

const char* JpegDecoder::formatName() const { return "JPEG"; }

bool JpegDecoder::canDecode(const uint8_t* data, size_t sizeBytes) const {
  return sizeBytes >= 3 && data[0] == 0xff && data[1] == 0xd8 && data[2] == 0xff;
}

bool JpegDecoder::readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const {
  jpeg_decompress_struct info;
  JpegErrorManager manager;
  info.err = jpeg_std_error(&manager.base);
  manager.base.error_exit = &exitOnError;
  manager.base.emit_message = &noteWarning;
  if (setjmp(manager.jump) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  const bool ok = readHeader(info, data, sizeBytes);
  width = info.image_width;
  height = info.image_height;
  jpeg_destroy_decompress(&info);
  return ok;
}

bool JpegDecoder::decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const {
  return decodeJpeg(data, sizeBytes, out, error);
}
