// Turns an image file held in memory into a DecodedImage, choosing the decoder by format code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/decoded_image.h"
#include "image/format_decoder.h"

// The largest picture file accepted: far above any picture the presentation draws (the baked
// ones are below 400 KB), far below what would strain memory.
constexpr size_t kMaxPictureFileBytes = 64u * 1024u * 1024u;

// Decodes the file's bytes as the given format (an ImageFormat value). On failure out is left
// empty and error says why; pictures beyond the size limits are refused before any allocation.
bool decodeImage(const uint8_t* data, size_t sizeBytes, int format, DecodedImage& out, std::string& error);

// The format code of a file name: the first of ".BMP", ".GIF", ".JPG", ".PNG", ".ICO", ".TIF",
// ".TGA", ".PCX", ".WBM", ".WMF" found anywhere in the upper-cased name; kImageUnknown for none.
int imageFormatFromFileName(const std::string& name);

// The decoder of a format code, or nullptr for an unknown code. Decoders are stateless.
const FormatDecoder* decoderForFormat(int format);
