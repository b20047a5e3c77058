#include "gpu/texture_manager.h"

#include <GL/glew.h>

#include <chrono>
#include <thread>
#include <vector>

#include "core/debug_log.h"
#include "core/draw_counts.h"
#include "gpu/draw_layer.h"
#include "gpu/pixel_store.h"
#include "platform/gl_binding_record.h"

TextureManager& textureManager() {
  static TextureManager manager;
  return manager;
}

namespace {

constexpr std::chrono::milliseconds kUploadPollInterval(50);

}  // namespace

TextureManager::TextureManager() = default;

// Shutdown has released everything by the time the process exits, so this makes no GL call then.
TextureManager::~TextureManager() { release(); }

void TextureManager::release() {
  for (const auto& entry : textureCache) {
    const GLuint name = entry.second;
    platform::deleteTextures(1, &name);
  }
  textureCache.clear();
  shapes_.clear();
}

void TextureManager::useNearestMipmapLevel(unsigned int texture) {
  DrawLayer& layer = drawLayer();
  layer.bindTexture(0, texture);
  GLint filter = 0;
  countQueries(1);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
  // Only a texture blended between two mipmap levels has the levels to pick one from.
  if (filter == GL_LINEAR_MIPMAP_LINEAR) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  }
  layer.bindTexture(0, 0);
}

const TextureShape* TextureManager::shapeOf(unsigned int texture) const {
  const auto found = shapes_.find(texture);
  return found == shapes_.end() ? nullptr : &found->second;
}

unsigned int TextureManager::loadTexture(const std::string& name, int alphaMode, float threshold) {
  return load(name, nullptr, alphaMode, threshold);
}

unsigned int TextureManager::loadTextureWithMask(const std::string& name, const std::string& maskName) {
  return load(name, &maskName, 0, 0.0f);
}

unsigned int TextureManager::load(const std::string& name, const std::string* maskName, int alphaMode,
                                  float threshold) {
  const auto cached = textureCache.find(name);
  if (cached != textureCache.end()) {
    return cached->second;
  }
  std::unique_ptr<DecodedImage> image = decodeImage(name);
  if (!image) {
    return 0;
  }
  std::vector<uint8_t> alphaBuffer;
  if (maskName != nullptr) {
    std::unique_ptr<DecodedImage> mask = decodeImage(*maskName);
    if (mask) {
      if (mask->width() != image->width() || mask->height() != image->height()) {
        DebugLog::append(kLogFileName, "Alpha image size doesnt match [%s sx(%i %i) sy(%i %i) ]\n", maskName->c_str(),
                         image->width(), image->height(), mask->width(), mask->height());
        *mask = mask->resampled(image->width(), image->height());
      }
      alphaBuffer = alphaBufferFromMask(*image, *mask);
    }
  } else if (alphaMode != 0) {
    alphaBuffer = alphaBufferFromBrightness(*image, alphaMode, threshold);
  }

  waitForUpload();
  resultName = 0;
  pendingUpload.width = image->width();
  pendingUpload.height = image->height();
  if (!alphaBuffer.empty()) {
    pendingUpload.pixels = alphaBuffer.data();
    pendingUpload.components = 4;
    pendingUpload.pixelFormat = GL_BGRA_EXT;
  } else {
    pendingUpload.pixels = image->bits();
    pendingUpload.components = 3;
    pendingUpload.pixelFormat = GL_BGR_EXT;
  }
  setUploadDone(false);
  unsigned int textureName = 0;
  if (!deferredUpload) {
    textureName = uploadPending();
  } else {
    waitForUpload();
    textureName = resultName;
  }
  pendingUpload.pixels = nullptr;
  textureCache[name] = textureName;
  return textureName;
}

unsigned int TextureManager::uploadPending() {
  GLuint textureName = 0;
  glGenTextures(1, &textureName);
  drawLayer().bindTexture(0, textureName);
  const PendingUpload& upload = pendingUpload;
  {
    // Rows are padded to 4 bytes (or are 4 bytes per pixel), whatever earlier code left set.
    const PixelStoreScope rows(PixelDirection::Unpack, 4);
    uploadPicture(upload, useMipmaps);
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, useMipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
  shapes_[textureName] = TextureShape{upload.width, upload.height, upload.components == 4};
  countUpload(static_cast<uint64_t>(upload.width) * static_cast<uint64_t>(upload.height) *
              static_cast<uint64_t>(upload.components));
  resultName = textureName;
  setUploadDone(true);
  // The new texture stays bound.
  return textureName;
}

void TextureManager::processPendingUpload() {
  if (!isUploadDone()) {
    uploadPending();
  }
}

bool TextureManager::isUploadDone() {
  std::lock_guard<std::mutex> guard(lock_);
  return uploadDone_;
}

void TextureManager::setUploadDone(bool done) {
  std::lock_guard<std::mutex> guard(lock_);
  uploadDone_ = done;
}

void TextureManager::waitForUpload() {
  while (!isUploadDone()) {
    std::this_thread::sleep_for(kUploadPollInterval);
  }
}
