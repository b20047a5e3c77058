// Turns image files into OpenGL textures with mipmaps and hands out their names, cached by the
// file name exactly as the caller passed it. Loading changes no pass state: the pass that draws
// with a texture states its unit's use and mode.
// Invariant: every texture name handed out stays valid until exit; a name that failed to load
// is searched for and logged once, and every later request for it fails at once, quietly.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core/input_file.h"
#include "core/resource_paths.h"
#include "gpu/texture_alpha.h"
#include "gpu/texture_upload.h"
#include "image/decoded_image.h"

// What an upload handed to the GL: level 0's size and whether it has an alpha plane. (GLU's
// upload on the compatibility profile may scale level 0 to sides that are powers of two.)
struct TextureShape {
  int width = 0;
  int height = 0;
  bool withAlpha = false;
};

class TextureManager {
 public:
  TextureManager();
  virtual ~TextureManager();  // release()
  // Deletes every cached texture; needs the context that made them. A second call does nothing.
  void release();
  TextureManager(const TextureManager&) = delete;
  TextureManager& operator=(const TextureManager&) = delete;

  // alphaMode 0 = opaque; 1..5 = alpha from brightness against threshold (0..1). 0 on failure.
  unsigned int loadTexture(const std::string& name, int alphaMode, float threshold);
  // The mask picture's brightness (or its own alpha plane) becomes the texture's alpha.
  unsigned int loadTextureWithMask(const std::string& name, const std::string& maskName);
  // The picture converted to 24 bits per pixel, or nullptr; logs like a texture load. A name
  // that failed before fails again without a search or a log line.
  std::unique_ptr<DecodedImage> decodeImage(const std::string& name);
  // A texture blended between two mipmap levels reads the nearest one instead; others stay as
  // they are. Leaves no texture bound.
  void useNearestMipmapLevel(unsigned int texture);
  // The shape of a texture this manager made, or null.
  const TextureShape* shapeOf(unsigned int texture) const;
  // The main loop's half of a deferred upload; only while deferredUpload is on.
  void processPendingUpload();
  // With a dataKey set: copies path to a new temporary file, descrambles the copy and gives its
  // path (the caller deletes it). False at once without a key, or when the copy fails.
  bool makeDescrambledCopy(const std::string& path, std::string& tempPathOut);
  // The same into a caller's buffer of at least kMaxPathBytes bytes.
  bool makeDescrambledCopy(const std::string& path, char* tempPathOut);
  // Pictures are searched for in paths.dataFolder as well as under the name as passed.
  void usePaths(const ResourcePaths& paths) { paths_ = paths; }
  const ResourcePaths& paths() const { return paths_; }

  static constexpr size_t kMaxPathBytes = 4096;

  bool deferredUpload = false;     // never switched on by the presentation
  bool preferDataFolder = false;   // try the data folder before the name as passed
  bool useMipmaps = true;
  const char* dataKey = nullptr;   // no part of the presentation sets one; not owned
  std::map<std::string, unsigned int> textureCache;
  std::set<std::string> failedNames;  // names as passed whose search or decode failed
  PendingUpload pendingUpload;
  unsigned int resultName = 0;

 private:
  unsigned int load(const std::string& name, const std::string* maskName, int alphaMode, float threshold);
  InputFileResult readCandidate(const std::string& path, std::vector<uint8_t>& bytes);
  std::unique_ptr<DecodedImage> searchAndDecode(const std::string& name);
  unsigned int uploadPending();
  bool isUploadDone();
  void setUploadDone(bool done);
  void waitForUpload();

  ResourcePaths paths_;
  std::map<unsigned int, TextureShape> shapes_;
  bool uploadDone_ = true;  // guarded by lock_
  std::mutex lock_;
};

TextureManager& textureManager();
