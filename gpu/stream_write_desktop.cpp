#include "gpu/stream_write.h"

#include <GL/glew.h>

// The range is mapped as it is: nothing drawn reads it yet, so no wait for the GPU.
void* beginStreamWrite(size_t startBytes, size_t sizeBytes) {
  return glMapBufferRange(GL_ARRAY_BUFFER, static_cast<GLintptr>(startBytes), static_cast<GLsizeiptr>(sizeBytes),
                          GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
}

void endStreamWrite() { glUnmapBuffer(GL_ARRAY_BUFFER); }
