// Uploading on the desktop: a compatibility context takes the picture through GLU, as the
// presentation's pictures were always made; core and ES contexts as everywhere else.
#include "gpu/texture_upload.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include "platform/gl_capabilities.h"

namespace {

// The picture and its smaller levels on the compatibility profile: GLU's own scaling and
// filtering, which the presentation's pictures were always made with.
void uploadThroughGlu(const PendingUpload& upload, bool withMipmaps) {
  if (withMipmaps) {
    gluBuild2DMipmaps(GL_TEXTURE_2D, upload.components, upload.width, upload.height, upload.pixelFormat,
                      GL_UNSIGNED_BYTE, upload.pixels);
    return;
  }
  glTexImage2D(GL_TEXTURE_2D, 0, upload.components, upload.width, upload.height, 0, upload.pixelFormat,
               GL_UNSIGNED_BYTE, upload.pixels);
}

}  // namespace

void uploadPicture(const PendingUpload& upload, bool withMipmaps) {
  if (platform::contextCapabilities().hasFixedFunction()) {
    uploadThroughGlu(upload, withMipmaps);
  } else {
    uploadWithoutGlu(upload, withMipmaps);
  }
}
