// One shared, fully built Model per model file name, loaded on first request and kept until shutdown.
// Every model handed out stays valid until release(), which shutdown calls while the GL context
// still lives.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "world/imported_model.h"
#include "world/model.h"

class ModelCache {
 public:
  // The model of fileName (relative to the data folder, compared byte for byte), loading it on
  // the first request; null when it cannot be loaded, and then a later request tries again.
  Model* getModel(const std::string& fileName);
  // Fills an empty model from the file, loading the textures its materials name; logs
  // "Loading <path> ," and then "succesfully" or " failed".
  bool loadModelFile(const std::string& fileName, Model& model);
  // Keeps a model made outside the cache (a mesh cut out of a cached one) alive until exit.
  Model* keepModel(std::unique_ptr<Model> model);
  // Frees every model and its GL objects; needs the context that made them.
  void release();

 private:
  std::map<std::string, std::unique_ptr<Model>> models_;
  std::vector<std::unique_ptr<Model>> keptModels_;
};

// Turns each imported object into a mesh with its material, in file order, and computes bounds.
// Faces with an index outside the object's vertices are left out of the triangles; texture
// coordinates the file does not supply are (0, 0).
void convertImportedModel(const ImportedModel& imported, Model& model);

// The one cache of the process.
ModelCache& modelCache();
