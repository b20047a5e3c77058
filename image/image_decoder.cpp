#include "image/image_decoder.h"

#include <cctype>

#include "image/bmp_decoder.h"
#include "image/gif_decoder.h"
#include "image/ico_decoder.h"
#include "image/jpeg_decoder.h"
#include "image/pcx_decoder.h"
#include "image/png_decoder.h"
#include "image/tga_decoder.h"
#include "image/tiff_decoder.h"
#include "image/wbmp_decoder.h"
#include "image/wmf_decoder.h"

namespace {

// Searched in this order, so "a.bmp.jpg" is a bitmap.
const char* const kLookedForTexts[] = {".BMP", ".GIF", ".JPG", ".PNG", ".ICO", ".TIF", ".TGA", ".PCX", ".WBM", ".WMF"};

}  // namespace

int imageFormatFromFileName(const std::string& name) {
  std::string upper = name;
  for (char& c : upper) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  int code = kImageBmp;
  for (const char* text : kLookedForTexts) {
    if (upper.find(text) != std::string::npos) {
      return code;
    }
    ++code;
  }
  return kImageUnknown;
}

const FormatDecoder* decoderForFormat(int format) {
  static const BmpDecoder bmp;
  static const GifDecoder gif;
  static const JpegDecoder jpeg;
  static const PngDecoder png;
  static const IcoDecoder ico;
  static const TiffDecoder tiff;
  static const TgaDecoder tga;
  static const PcxDecoder pcx;
  static const WbmpDecoder wbmp;
  static const WmfDecoder wmf;
  static const FormatDecoder* const decoders[] = {nullptr, &bmp, &gif, &jpeg, &png, &ico, &tiff, &tga, &pcx, &wbmp, &wmf};
  if (format <= kImageUnknown || format > kImageWmf) {
    return nullptr;
  }
  return decoders[format];
}

bool decodeImage(const uint8_t* data, size_t sizeBytes, int format, DecodedImage& out, std::string& error) {
  out = DecodedImage();
  const FormatDecoder* decoder = decoderForFormat(format);
  if (decoder == nullptr) {
    error = "unknown image format " + std::to_string(format);
    return false;
  }
  if (data == nullptr || sizeBytes == 0) {
    error = "empty file";
    return false;
  }
  if (!decoder->canDecode(data, sizeBytes)) {
    error = std::string("not a ") + decoder->formatName() + " file";
    return false;
  }
  long long width = 0;
  long long height = 0;
  if (!decoder->readSize(data, sizeBytes, width, height)) {
    error = std::string("unreadable ") + decoder->formatName() + " header";
    return false;
  }
  if (!imageSizeAllowed(width, height)) {
    error = pictureSizeRefusal(width, height);
    return false;
  }
  DecodedImage decoded;
  if (!decoder->decode(data, sizeBytes, decoded, error) || !decoded.isValid()) {
    if (error.empty()) {
      error = std::string("undecodable ") + decoder->formatName() + " file";
    }
    return false;
  }
  out = std::move(decoded);
  return true;
}
