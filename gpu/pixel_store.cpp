#include "gpu/pixel_store.h"
#include "core/draw_counts.h"

#include <GL/glew.h>

PixelStoreScope::PixelStoreScope(PixelDirection direction, int alignmentBytes) {
  const bool unpack = direction == PixelDirection::Unpack;
  names_[0] = unpack ? GL_UNPACK_ALIGNMENT : GL_PACK_ALIGNMENT;
  names_[1] = unpack ? GL_UNPACK_ROW_LENGTH : GL_PACK_ROW_LENGTH;
  names_[2] = unpack ? GL_UNPACK_SKIP_ROWS : GL_PACK_SKIP_ROWS;
  names_[3] = unpack ? GL_UNPACK_SKIP_PIXELS : GL_PACK_SKIP_PIXELS;
  const int wanted[kValueCount] = {alignmentBytes, 0, 0, 0};
  for (int i = 0; i < kValueCount; ++i) {
    countQueries(1);
    glGetIntegerv(names_[i], &previous_[i]);
    glPixelStorei(names_[i], wanted[i]);
  }
}

PixelStoreScope::~PixelStoreScope() {
  for (int i = 0; i < kValueCount; ++i) {
    glPixelStorei(names_[i], previous_[i]);
  }
}
