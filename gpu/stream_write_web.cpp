#include "gpu/stream_write.h"

#include <GL/glew.h>

#include <vector>

namespace {

// WebGL maps no buffers: the range is written here and handed over in one bufferSubData.
struct PendingWrite {
  std::vector<unsigned char> bytes;
  size_t startBytes = 0;
};

PendingWrite& pendingWrite() {
  static PendingWrite pending;
  return pending;
}

}  // namespace

void* beginStreamWrite(size_t startBytes, size_t sizeBytes) {
  PendingWrite& pending = pendingWrite();
  pending.bytes.resize(sizeBytes);
  pending.startBytes = startBytes;
  return pending.bytes.data();
}

void endStreamWrite() {
  const PendingWrite& pending = pendingWrite();
  glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(pending.startBytes),
                  static_cast<GLsizeiptr>(pending.bytes.size()), pending.bytes.data());
}
