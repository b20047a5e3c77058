// Points the model reader and the texture manager at one data folder for as long as a test
// needs it, and back at what they read from before when it ends.
#pragma once

#include <string>

#include "core/resource_paths.h"
#include "gpu/texture_manager.h"
#include "world/model_3ds_reader.h"

class ScopedDataFolder {
 public:
  // folder ends in '/'; shader files stay where the shader manager reads them.
  explicit ScopedDataFolder(const std::string& folder)
      : previousModelPaths_(model3dsReader().paths()), previousTexturePaths_(textureManager().paths()) {
    model3dsReader().usePaths(ResourcePaths{previousModelPaths_.resourceFolder, folder});
    textureManager().usePaths(ResourcePaths{previousTexturePaths_.resourceFolder, folder});
  }
  ~ScopedDataFolder() {
    model3dsReader().usePaths(previousModelPaths_);
    textureManager().usePaths(previousTexturePaths_);
  }
  ScopedDataFolder(const ScopedDataFolder&) = delete;
  ScopedDataFolder& operator=(const ScopedDataFolder&) = delete;

 private:
  const ResourcePaths previousModelPaths_;
  const ResourcePaths previousTexturePaths_;
};
