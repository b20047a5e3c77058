// Where the run reads its files from: the resource folder, which holds the shader files, and the
// data folder inside it, which holds the pictures, models and sounds.
#pragma once

#include <string>

// The data folder inside the resource folder.
constexpr const char* kDataFolder = "data/";

struct ResourcePaths {
  // Put in front of shader file names: empty for the working folder, so that names in messages
  // stay as they were given; otherwise a folder ending in '/'.
  std::string resourceFolder;
  // Put in front of picture, model and sound file names; empty reads them from the working folder.
  std::string dataFolder;
};

// The paths of one resource folder: the folder itself and its data folder.
inline ResourcePaths resourcePathsIn(const std::string& resourceFolder) {
  return ResourcePaths{resourceFolder, resourceFolder + kDataFolder};
}
