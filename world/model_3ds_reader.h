// Reads a 3DS model file into an ImportedModel: materials, named triangle objects with their
// vertices turned to y-up, texture coordinates, face materials, and one normal per vertex.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/resource_paths.h"
#include "world/imported_model.h"

// The largest model file accepted: far above any model the presentation draws (the baked
// ones are below 200 KB), far below what would strain memory.
constexpr size_t kMaxModelFileBytes = 32u * 1024u * 1024u;

class Model3dsReader {
 public:
  // Resets model, then reads the file at path. True when the file was read, however much of it
  // was recognised (a damaged file keeps what was read before the damage, and says where the
  // damage starts on stderr and in the log); false, after an error box naming the file and the
  // reason, when it is not a readable regular file within the size limit or does not start with
  // a primary chunk.
  bool importFile(ImportedModel& model, const std::string& path);
  // The same from a file already in memory; name is what the messages call it.
  bool importBytes(ImportedModel& model, const uint8_t* data, size_t sizeBytes, const std::string& name);

  // Model loading puts paths.dataFolder in front of model file names; start-up gives them.
  void usePaths(const ResourcePaths& paths) { paths_ = paths; }
  const ResourcePaths& paths() const { return paths_; }

 private:
  ResourcePaths paths_;
};

// The one reader of the process.
Model3dsReader& model3dsReader();
