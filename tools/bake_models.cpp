// Writes the scene models, the title texts and the pictures their materials name.
#include <functional>

#include "tools/baked_models.h"
#include "tools/data_folder_baker.h"
#include "tools/jpeg_writer.h"
#include "tools/model_3ds_writer.h"
#include "tools/text_models.h"

namespace baker {

namespace {

constexpr int kModelPictureQuality = 90;

struct ModelFile {
  const char* fileName;
  std::function<BakedModel()> build;
};

bool writePictures(const std::string& folder, const std::vector<ModelPicture>& pictures) {
  bool allWritten = true;
  for (const ModelPicture& picture : pictures) {
    allWritten = writeJpegFile(dataPath(folder, picture.fileName), picture.picture, kModelPictureQuality) && allWritten;
  }
  return allWritten;
}

}  // namespace

bool bakeModels(const std::string& folder) {
  const ModelFile models[] = {
      {"palm02.3ds", &buildPalmModel},
      {"windmill_body.3ds", &buildWindmillBodyModel},
      {"windmill_wings.3ds", &buildWindmillWingsModel},
      {"rocketlauncher.3ds", &buildLauncherModel},
      {"missile.3ds", &buildMissileModel},
      {"sky.3ds", &buildSkyModel},
  };
  bool allWritten = true;
  for (const ModelFile& model : models) {
    allWritten = writeModel3dsFile(dataPath(folder, model.fileName), model.build()) && allWritten;
  }
  const std::function<std::vector<ModelPicture>()> painters[] = {
      &paintPalmPictures, &paintWindmillPictures, &paintLauncherPictures, &paintMissilePictures, &paintSkyPictures,
  };
  for (const auto& paint : painters) {
    allWritten = writePictures(folder, paint()) && allWritten;
  }
  return allWritten;
}

bool bakeTextModels(const std::string& folder, const BakeOptions& options) {
  const std::string lines[] = {options.title, options.credit1, options.credit2, options.farewell};
  bool allWritten = true;
  for (int i = 0; i < 4; ++i) {
    BakedModel model;
    const std::string fileName = "text" + std::to_string(i + 1) + ".3ds";
    allWritten = buildTextModel(lines[i], &model) && writeModel3dsFile(dataPath(folder, fileName), model) &&
                 allWritten;
  }
  return writePictures(folder, paintTextPictures()) && allWritten;
}

}  // namespace baker
