// Handing out a read frame on the web: WebGL 2 maps buffers only for writing, so the frame is
// copied out of its pixel buffer into memory, and no buffer stays mapped.
#include "gpu/frame_readback.h"

#include <GL/glew.h>

const uint8_t* FrameReadback::map(int index) {
  pixels_.resize(frameBytes());
  glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers_[index]);
  glGetBufferSubData(GL_PIXEL_PACK_BUFFER, 0, static_cast<GLsizeiptr>(frameBytes()), pixels_.data());
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  mapped_ = -1;
  return pixels_.data();
}

void FrameReadback::unmap() { mapped_ = -1; }
