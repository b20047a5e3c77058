#include "tools/model_report_command.h"

#include <gtest/gtest.h>


namespace {

ImportedModel smallModel() {
  ImportedModel model;
  ImportedMaterial material;
  material.name = "say \"hi\"\\ caf\xe9\n";
  material.textureFile = "wood.jpg";
  material.colour[0] = 255;
  material.colour[1] = 128;
  material.colour[2] = 0;
  model.materials.push_back(material);
  ImportedObject object;
  object.name = "tri";
  object.vertexCount = 1;
  object.faceCount = 1;
  object.texCoordCount = 1;
  object.materialIndex = -1;
  // Nine significant digits read back to the same 32-bit value.
  object.vertices = {0.1f, -0.0f, 3.0e38f};
  object.normals = {0.0f, 1.0f, 0.0f};
  object.texCoords = {0.5f, 2.0f};
  ImportedFace face;
  face.index[0] = 0;
  face.index[1] = 65535;
  face.index[2] = 7;
  object.faces.push_back(face);
  model.objects.push_back(object);
  return model;
}

TEST(InspectModelTest, printsTheDocumentInItsFixedKeyOrder) {
  EXPECT_EQ(formatImportedModelJson(smallModel()),
            "{\"ok\": true, \"materials\": [{\"name\": \"say \\\"hi\\\"\\\\ caf\\u00e9\\u000a\", "
            "\"textureFile\": \"wood.jpg\", \"colour\": [255, 128, 0]}], \"objects\": [{\"name\": \"tri\", "
            "\"vertexCount\": 1, \"faceCount\": 1, \"texCoordCount\": 1, \"materialIndex\": -1, "
            "\"vertices\": [[0.100000001, -0, 3.00000001e+38]], \"faces\": [[0, 65535, 7]], "
            "\"texCoords\": [[0.5, 2]], \"normals\": [[0, 1, 0]]}]}");
  EXPECT_EQ(formatImportedModelJson(ImportedModel()), "{\"ok\": true, \"materials\": [], \"objects\": []}");
}

}  // namespace
