// Uploading on the web: WebGL 2 takes pictures as an ES context does.
#include "gpu/texture_upload.h"

void uploadPicture(const PendingUpload& upload, bool withMipmaps) { uploadWithoutGlu(upload, withMipmaps); }
