// Handing out a read frame on the desktop: its pixel buffer is mapped for reading until the next.
#include "gpu/frame_readback.h"

#include <GL/glew.h>

#include "platform/gl_capabilities.h"

const uint8_t* FrameReadback::map(int index) {
  glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers_[index]);
  // Compatibility contexts map whole buffers (GL 2.1 has no ranges); ES maps only ranges.
  const void* pixels = platform::contextCapabilities().hasFixedFunction()
                           ? glMapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY)
                           : glMapBufferRange(GL_PIXEL_PACK_BUFFER, 0, static_cast<GLsizeiptr>(frameBytes()),
                                              GL_MAP_READ_BIT);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  mapped_ = pixels != nullptr ? index : -1;
  return static_cast<const uint8_t*>(pixels);
}

void FrameReadback::unmap() {
  if (mapped_ < 0) {
    return;
  }
  glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers_[mapped_]);
  glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  mapped_ = -1;
}
