// Handing a decoded picture to the bound texture: level 0 and, when asked, its smaller levels.
// How depends on the context and the target: the desktop's compatibility contexts go through GLU
// (texture_upload_desktop.cpp); core, ES and WebGL 2 contexts take sized formats, red first, with
// the driver's own smaller levels (texture_upload_web.cpp has only that way).
#pragma once

#include <cstdint>

// The one upload in flight: what uploadPending hands to GL.
struct PendingUpload {
  const uint8_t* pixels = nullptr;  // first byte of the bottom row; not owned
  int width = 0;
  int height = 0;
  int components = 0;             // 3 or 4, passed to GL as the internal format
  unsigned int pixelFormat = 0;   // GL_BGR_EXT for 3 components, GL_BGRA_EXT for 4
};

// The picture into the texture bound to unit 0, the way the current context takes it.
void uploadPicture(const PendingUpload& upload, bool withMipmaps);
// The way of core and ES contexts, which have no GLU upload and no blue-first rows.
void uploadWithoutGlu(const PendingUpload& upload, bool withMipmaps);
