#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/tools/baker_test_support.h"
#include "tools/baked_models.h"
#include "tools/data_folder_baker.h"
#include "tools/text_models.h"
#include "world/model_3ds_reader.h"

using namespace baker;

namespace {

struct ModelFile {
  std::string fileName;
  BakedModel model;
};

std::vector<ModelFile> everyModel() {
  std::vector<ModelFile> files = {
      {"palm02.3ds", buildPalmModel()},      {"windmill_body.3ds", buildWindmillBodyModel()},
      {"windmill_wings.3ds", buildWindmillWingsModel()}, {"rocketlauncher.3ds", buildLauncherModel()},
      {"missile.3ds", buildMissileModel()},  {"sky.3ds", buildSkyModel()},
  };
  const BakeOptions options;
  const std::string lines[] = {options.title, options.credit1, options.credit2, options.farewell};
  for (int i = 0; i < 4; ++i) {
    ModelFile text{"text" + std::to_string(i + 1) + ".3ds", BakedModel()};
    EXPECT_TRUE(buildTextModel(lines[i], &text.model));
    files.push_back(text);
  }
  return files;
}

TEST(BakedModelsReaderTest, ourReaderGetsEveryObjectMaterialAndVertexAsBuilt) {
  for (const ModelFile& file : everyModel()) {
    ImportedModel imported;
    ASSERT_TRUE(model3dsReader().importFile(imported, bakertest::bakedFile(file.fileName))) << file.fileName;
    ASSERT_EQ(imported.objects.size(), file.model.meshes.size()) << file.fileName;
    ASSERT_EQ(imported.materials.size(), file.model.materials.size()) << file.fileName;
    for (size_t m = 0; m < file.model.materials.size(); ++m) {
      EXPECT_EQ(imported.materials[m].name, file.model.materials[m].name) << file.fileName;
      EXPECT_EQ(imported.materials[m].textureFile, file.model.materials[m].textureFile) << file.fileName;
    }
    for (size_t o = 0; o < file.model.meshes.size(); ++o) {
      const BakedMesh& expected = file.model.meshes[o];
      const ImportedObject& object = imported.objects[o];
      EXPECT_EQ(object.name, expected.name) << file.fileName;
      ASSERT_EQ(object.vertexCount, static_cast<int>(expected.vertices.size())) << file.fileName << " " << expected.name;
      EXPECT_EQ(object.faceCount, static_cast<int>(expected.triangles.size())) << file.fileName << " " << expected.name;
      EXPECT_EQ(object.texCoordCount, object.vertexCount) << file.fileName << " " << expected.name;
      ASSERT_GE(object.materialIndex, 0) << file.fileName << " " << expected.name;
      EXPECT_EQ(imported.materials[static_cast<size_t>(object.materialIndex)].name, expected.materialName);
      for (size_t v = 0; v < expected.vertices.size(); ++v) {
        // The file is z up; the reader's turn gives back the model's own y-up vertex exactly.
        ASSERT_EQ(object.vertices[v * 3], expected.vertices[v].position.x) << file.fileName << " " << expected.name;
        ASSERT_EQ(object.vertices[v * 3 + 1], expected.vertices[v].position.y) << file.fileName << " " << expected.name;
        ASSERT_EQ(object.vertices[v * 3 + 2], expected.vertices[v].position.z) << file.fileName << " " << expected.name;
        const float* n = &object.normals[v * 3];
        ASSERT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0f, 1e-3f)
            << file.fileName << " " << expected.name << " vertex " << v << " has no normal";
      }
    }
  }
}

}  // namespace
