#include "world/model_cache.h"

#include <gtest/gtest.h>

#include <string>

#include "core/debug_log.h"
#include "platform/message_box.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/shader_test_files.h"
#include "world/model_3ds_reader.h"

namespace {

std::string readLog() { return readTextFile(kLogFileName); }

size_t countOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

class ModelCacheTest : public testing::Test {
 protected:
  void SetUp() override {
    previousPaths_ = model3dsReader().paths();
    const std::string models = std::string(TEST_DATA_DIR) + "/models/";
    model3dsReader().usePaths(ResourcePaths{previousPaths_.resourceFolder, models});
  }
  void TearDown() override { model3dsReader().usePaths(previousPaths_); }
  std::string dataPath(const std::string& name) const { return model3dsReader().paths().dataFolder + name; }

  PrivateWorkingFolder working_;
  ResourcePaths previousPaths_;
};

TEST_F(ModelCacheTest, secondRequestSharesTheModelAndLoadsNothing) {
  ModelCache cache;
  Model* first = cache.getModel("house.3ds");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(cache.getModel("house.3ds"), first);
  // The texture manager's lines for the material's texture come between the two halves.
  const std::string log = readLog();
  EXPECT_EQ(log.rfind("Loading " + dataPath("house.3ds") + " ,", 0), 0u) << log;
  EXPECT_EQ(countOf(log, "Loading " + dataPath("house.3ds")), 1u) << log;
  EXPECT_EQ(log.substr(log.size() - 13), "succesfully\r\n") << log;
  ASSERT_EQ(first->meshes.size(), 2u);
  EXPECT_EQ(first->meshes[0]->name, "Quad");
  EXPECT_EQ(first->boundsMin[0], -1.0f);
  EXPECT_EQ(first->boundsMax[1], 1.5f);
}

TEST_F(ModelCacheTest, missingFileFailsEveryTimeItIsAskedFor) {
  platform::clearRecordedBoxes();
  ModelCache cache;
  EXPECT_EQ(cache.getModel("missing.3ds"), nullptr);
  EXPECT_EQ(cache.getModel("missing.3ds"), nullptr);
  const std::string line = "Loading " + dataPath("missing.3ds") + " , failed\r\n";
  EXPECT_EQ(readLog(), line + line);
  EXPECT_EQ(platform::recordedBoxes().size(), 2u);
}

// Conversion of imported objects into meshes.

ImportedObject objectWith(int32_t vertexCount, std::initializer_list<ImportedFace> faces) {
  ImportedObject object;
  object.name = "part";
  object.vertexCount = vertexCount;
  object.vertices.assign(3 * static_cast<size_t>(vertexCount), 0.0f);
  object.normals.assign(3 * static_cast<size_t>(vertexCount), 0.0f);
  for (size_t i = 0; i < object.vertices.size(); ++i) {
    object.vertices[i] = static_cast<float>(i);
  }
  object.faces = faces;
  object.faceCount = static_cast<int32_t>(object.faces.size());
  return object;
}

ImportedFace face(int32_t a, int32_t b, int32_t c) { return ImportedFace{{a, b, c}}; }

ImportedMaterial materialWith(uint8_t red, uint8_t green, uint8_t blue, int32_t textureName) {
  ImportedMaterial material;
  material.name = "paint";
  material.textureFile = textureName > 0 ? "paint.jpg" : "";
  material.colour[0] = red;
  material.colour[1] = green;
  material.colour[2] = blue;
  material.textureName = textureName;
  return material;
}

TEST(ModelConversionTest, facesOutsideTheVerticesAreLeftOutAndMissingPairsAreZero) {
  ImportedModel imported;
  imported.objects.push_back(objectWith(3, {face(0, 1, 2), face(0, 1, 3), face(2, 1, 0)}));
  imported.objects[0].texCoordCount = 1;
  imported.objects[0].texCoords = {0.5f, 0.25f};
  imported.objects.push_back(objectWith(1, {}));
  imported.objects[1].texCoordCount = 3;
  imported.objects[1].texCoords = {1, 2, 3, 4, 5, 6};
  Model model;
  convertImportedModel(imported, model);
  ASSERT_EQ(model.meshes.size(), 2u);
  const Mesh& first = *model.meshes[0];
  EXPECT_EQ(first.name, "part");
  EXPECT_EQ(first.indexCount, 6);
  EXPECT_EQ(first.indices, (std::vector<uint32_t>{0, 1, 2, 2, 1, 0}));
  EXPECT_EQ(first.texCoords, (std::vector<float>{0.5f, 0.25f, 0, 0, 0, 0}));
  EXPECT_EQ(first.boundsMax[2], 8.0f);
  EXPECT_EQ(model.meshes[1]->texCoords, (std::vector<float>{1, 2}));
  EXPECT_EQ(model.boundsMin[0], 0.0f);
}

TEST(ModelConversionTest, materialColoursAndTexturesFollowTheObjectsMaterial) {
  ImportedModel imported;
  imported.materials.push_back(materialWith(255, 128, 0, 0));
  imported.materials.push_back(materialWith(0, 0, 0, 0));
  imported.materials.push_back(materialWith(51, 102, 204, 7));
  for (const int32_t index : {0, 1, 2, -1, 3}) {
    imported.objects.push_back(objectWith(3, {face(0, 1, 2)}));
    imported.objects.back().materialIndex = index;
  }
  Model model;
  convertImportedModel(imported, model);
  ASSERT_EQ(model.meshes.size(), 5u);

  const Material& orange = model.meshes[0]->material;
  EXPECT_EQ(orange.diffuse[0], 1.0f);
  EXPECT_EQ(orange.diffuse[1], 0.5019608f);
  EXPECT_EQ(orange.diffuse[2], 0.0f);
  EXPECT_EQ(orange.diffuse[3], 1.0f);
  EXPECT_FALSE(model.meshes[0]->textured);
  EXPECT_LT(orange.layers[0].textureName, 0);

  const Material defaults;
  for (const size_t plain : {1u, 3u, 4u}) {
    EXPECT_EQ(model.meshes[plain]->material.diffuse[0], defaults.diffuse[0]) << plain;
    EXPECT_FALSE(model.meshes[plain]->textured) << plain;
  }

  const Mesh& textured = *model.meshes[2];
  EXPECT_TRUE(textured.textured);
  EXPECT_EQ(textured.material.layers[0].textureName, 7);
  EXPECT_EQ(textured.material.layers[0].fileName, "paint.jpg");
  EXPECT_EQ(textured.material.layers[0].name, "paint");
  EXPECT_EQ(textured.material.layers[0].colour[0], 51 * 0.003921569f);
  EXPECT_EQ(textured.material.layers[0].colour[2], 204 * 0.003921569f);
  EXPECT_EQ(textured.material.diffuse[0], defaults.diffuse[0]);
}

}  // namespace
