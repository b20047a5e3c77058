// Reads a 3DS model file into an ImportedModel: materials, named triangle objects with their
// vertices turned to y-up, texture coordinates, face materials, and one normal per vertex.
#pragma once

#include <string>

#include "world/imported_model.h"

class Model3dsReader {
 public:
  // Resets model, then reads the file at path. True when the file was read, however much of it
  // was recognised (a damaged file keeps what was read before the damage); false, after an
  // error box, when it cannot be opened or does not start with a primary chunk.
  bool importFile(ImportedModel& model, const std::string& path);

  // The data folder that model loading puts in front of model file names; set at start-up.
  void setDataFolder(const std::string& folder) { dataFolder_ = folder; }
  const std::string& dataFolder() const { return dataFolder_; }

 private:
  std::string dataFolder_;
};

// The one reader of the process.
Model3dsReader& model3dsReader();
