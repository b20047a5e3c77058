#include "gpu/texture_upload.h"

#include <GL/glew.h>

#include <utility>
#include <vector>

namespace {

// Rows of blue, green, red (and alpha) padded to 4 bytes, as red, green, blue (and alpha) packed
// the same way: the order core and ES contexts take.
std::vector<uint8_t> redFirst(const PendingUpload& upload) {
  const size_t components = static_cast<size_t>(upload.components);
  const size_t rowBytes = (static_cast<size_t>(upload.width) * components + 3) / 4 * 4;
  std::vector<uint8_t> pixels(upload.pixels, upload.pixels + rowBytes * static_cast<size_t>(upload.height));
  for (size_t row = 0; row < static_cast<size_t>(upload.height); ++row) {
    uint8_t* pixel = pixels.data() + row * rowBytes;
    for (int column = 0; column < upload.width; ++column, pixel += components) {
      std::swap(pixel[0], pixel[2]);
    }
  }
  return pixels;
}

}  // namespace

// Sized formats, red first, and the driver's own smaller levels.
void uploadWithoutGlu(const PendingUpload& upload, bool withMipmaps) {
  const bool withAlpha = upload.components == 4;
  const std::vector<uint8_t> pixels = redFirst(upload);
  glTexImage2D(GL_TEXTURE_2D, 0, withAlpha ? GL_RGBA8 : GL_RGB8, upload.width, upload.height, 0,
               withAlpha ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  if (withMipmaps) {
    glGenerateMipmap(GL_TEXTURE_2D);
  }
}
