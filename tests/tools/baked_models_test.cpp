#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include "tests/tools/baker_test_support.h"
#include "tools/baked_models.h"
#include "tools/data_folder_baker.h"
#include "tools/text_models.h"

using namespace baker;

namespace {

struct ModelCase {
  std::string fileName;
  BakedModel model;
};

std::vector<ModelCase> everyModel() {
  std::vector<ModelCase> cases = {
      {"palm02.3ds", buildPalmModel()},
      {"windmill_body.3ds", buildWindmillBodyModel()},
      {"windmill_wings.3ds", buildWindmillWingsModel()},
      {"rocketlauncher.3ds", buildLauncherModel()},
      {"missile.3ds", buildMissileModel()},
      {"sky.3ds", buildSkyModel()},
  };
  const BakeOptions options;
  const std::string lines[] = {options.title, options.credit1, options.credit2, options.farewell};
  for (int i = 0; i < 4; ++i) {
    ModelCase text{"text" + std::to_string(i + 1) + ".3ds", BakedModel()};
    EXPECT_TRUE(buildTextModel(lines[i], &text.model));
    cases.push_back(text);
  }
  return cases;
}

const BakedMesh* meshNamed(const BakedModel& model, const std::string& name) {
  for (const BakedMesh& mesh : model.meshes) {
    if (mesh.name == name) return &mesh;
  }
  return nullptr;
}

// The per-vertex normal our reader computes: the sum of the counter-clockwise face normals.
std::vector<Vector3> readerNormals(const BakedMesh& mesh) {
  std::vector<Vector3> normals(mesh.vertices.size());
  for (const BakedTriangle& t : mesh.triangles) {
    const Vector3& p = mesh.vertices[t.a].position;
    const Vector3& q = mesh.vertices[t.b].position;
    const Vector3& r = mesh.vertices[t.c].position;
    const Vector3 face = (q - p).cross(r - p);
    normals[t.a] += face;
    normals[t.b] += face;
    normals[t.c] += face;
  }
  return normals;
}

TEST(BakedModelsTest, everyMeshIsWellFormedForTheReader) {
  for (const ModelCase& c : everyModel()) {
    ASSERT_FALSE(c.model.meshes.empty()) << c.fileName;
    for (const BakedMesh& mesh : c.model.meshes) {
      EXPECT_FALSE(mesh.triangles.empty()) << c.fileName << " " << mesh.name;
      EXPECT_LE(mesh.vertices.size(), 65535u) << c.fileName << " " << mesh.name;
      for (const BakedVertex& v : mesh.vertices) {
        ASSERT_TRUE(std::isfinite(v.position.x) && std::isfinite(v.position.y) && std::isfinite(v.position.z) &&
                    std::isfinite(v.u) && std::isfinite(v.v))
            << c.fileName << " " << mesh.name << " has a vertex that is not a number";
      }
      // Every vertex needs a face with area, or the reader's normal for it is 0 / 0.
      const std::vector<Vector3> normals = readerNormals(mesh);
      for (size_t i = 0; i < normals.size(); ++i) {
        ASSERT_GT(normals[i].length(), 0.0f) << c.fileName << " " << mesh.name << " vertex " << i << " has no normal";
      }
    }
  }
}

TEST(BakedModelsTest, sizesFitHowTheScenesPlaceThem) {
  // The palm's height, lean and crown spread, within a few percent: palms stand in cells 10 units
  // apart and wait out of sight 12 units below the ground before they rise.
  const BakedModel palmModel = buildPalmModel();
  const ModelBounds palm = measureModel(palmModel);
  EXPECT_NEAR(palm.max.y, 10.14f, 0.3f);
  EXPECT_NEAR(palm.min.y, -0.9f, 0.01f) << "the foot reaches below the ground it stands on";
  EXPECT_NEAR(palm.max.x - palm.min.x, 6.77f, 0.3f);
  EXPECT_NEAR(palm.max.z - palm.min.z, 6.85f, 0.3f);
  const ModelBounds trunk = measureModel(BakedModel{{}, {*meshNamed(palmModel, "trunk")}});
  EXPECT_NEAR(trunk.min.x, -0.45f, 0.05f);
  EXPECT_NEAR(trunk.max.x, 1.35f, 0.1f) << "the crown leans along +x";
  EXPECT_NEAR(measureModel(BakedModel{{}, {*meshNamed(palmModel, "fronds")}}).min.y, 6.5f, 0.3f)
      << "the lowest fronds droop this far";

  const ModelBounds body = measureModel(buildWindmillBodyModel());
  EXPECT_NEAR(body.max.y, 6.5f, 0.3f);
  const ModelBounds wings = measureModel(buildWindmillWingsModel());
  // The sails turn about z through the wings' origin, in front of the cap, clear of the ground.
  EXPECT_NEAR(wings.max.x, -wings.min.x, 0.01f);
  EXPECT_NEAR(wings.max.y, -wings.min.y, 0.01f);
  EXPECT_LT(wings.max.y, 5.7f);
  EXPECT_GT(wings.min.z, body.max.z * 0.5f);
  EXPECT_LT(wings.max.z - wings.min.z, 1.0f);

  const BakedModel missileModel = buildMissileModel();
  const ModelBounds missile = measureModel(missileModel);
  EXPECT_NEAR(missile.max.x - missile.min.x, 2.5f, 0.1f);
  BakedModel nose;
  nose.meshes = {*meshNamed(missileModel, "nose")};
  EXPECT_GT(measureModel(nose).min.x, 0.0f) << "the nose points along +x";

  const BakedModel sky = buildSkyModel();
  for (const BakedVertex& v : sky.meshes[0].vertices) {
    EXPECT_NEAR(v.position.length(), kSkyRadius, 1.0f);
  }
}

TEST(BakedModelsTest, launcherPodTurnsAboutItsPivotAndPointsAlongX) {
  const BakedModel launcher = buildLauncherModel();
  ASSERT_NE(meshNamed(launcher, "launcherb"), nullptr);
  const BakedMesh* pod = meshNamed(launcher, "launcherbp");
  ASSERT_NE(pod, nullptr);
  BakedModel podOnly;
  podOnly.meshes = {*pod};
  const ModelBounds box = measureModel(podOnly);
  EXPECT_LT(box.min.x, kLauncherPivotX);
  EXPECT_GT(box.max.x - kLauncherPivotX, 1.5f * (kLauncherPivotX - box.min.x));
  EXPECT_LT(box.min.y, kLauncherPivotY);
  EXPECT_GT(box.max.y, kLauncherPivotY);
  EXPECT_NEAR(box.min.z, -box.max.z, 0.01f);
}

TEST(BakedModelsTest, surfacesFaceOutwardAndTheSkyInward) {
  // The missile body's vertex normals point away from its axis (x).
  const BakedModel missile = buildMissileModel();
  const BakedMesh* body = meshNamed(missile, "body");
  ASSERT_NE(body, nullptr);
  const std::vector<Vector3> normals = readerNormals(*body);
  for (size_t i = 0; i < normals.size(); ++i) {
    const Vector3& p = body->vertices[i].position;
    if (std::fabs(normals[i].x) > 0.9f * normals[i].length()) continue;  // the flat tail cap
    EXPECT_GT(normals[i].y * p.y + normals[i].z * p.z, 0.0f) << "body vertex " << i;
  }
  const BakedModel skyModel = buildSkyModel();
  const BakedMesh& sky = skyModel.meshes[0];
  const std::vector<Vector3> skyNormals = readerNormals(sky);
  for (size_t i = 0; i < skyNormals.size(); ++i) {
    EXPECT_LT(skyNormals[i].dot(sky.vertices[i].position), 0.0f) << "sky vertex " << i;
  }
}

TEST(BakedModelsTest, textsAreCentredFitTheirBoxAndFaceTheCamera) {
  const BakeOptions options;
  for (const std::string& line : {options.title, options.credit1, options.credit2, options.farewell}) {
    BakedModel text;
    ASSERT_TRUE(buildTextModel(line, &text));
    const ModelBounds box = measureModel(text);
    EXPECT_LE(box.max.x - box.min.x, kTextMaxWidth + 0.01f) << line;
    EXPECT_LE(box.max.y - box.min.y, kTextMaxHeight + 0.01f) << line;
    EXPECT_GT(std::fmax(box.max.x - box.min.x, 5.0f * (box.max.y - box.min.y)), kTextMaxWidth - 0.01f) << line;
    EXPECT_NEAR(box.min.x, -box.max.x, 0.01f) << line;
    EXPECT_NEAR(box.min.y, -box.max.y, 0.01f) << line;
    EXPECT_NEAR(box.max.z - box.min.z, kTextDepth, 0.01f) << line;
    // Every letter's front cap (z = +depth/2) faces +z.
    for (const BakedMesh& mesh : text.meshes) {
      int front = 0;
      for (const BakedTriangle& t : mesh.triangles) {
        const Vector3& p = mesh.vertices[t.a].position;
        if (p.z < 0.5f * kTextDepth - 0.001f || mesh.vertices[t.b].position.z < p.z - 0.001f ||
            mesh.vertices[t.c].position.z < p.z - 0.001f) {
          continue;
        }
        const Vector3 normal = (mesh.vertices[t.b].position - p).cross(mesh.vertices[t.c].position - p);
        EXPECT_GT(normal.z, 0.0f) << line << " " << mesh.name;
        ++front;
      }
      EXPECT_GT(front, 1) << line << " " << mesh.name;
    }
  }
}

size_t vertexCount(const BakedModel& model) {
  size_t count = 0;
  for (const BakedMesh& mesh : model.meshes) count += mesh.vertices.size();
  return count;
}

TEST(BakedModelsTest, textsAreWrittenInCapitals) {
  BakedModel lower;
  BakedModel upper;
  ASSERT_TRUE(buildTextModel("hello \xc3\xa4\xc3\xb6\xc3\xbc", &lower));  // "hello äöü"
  ASSERT_TRUE(buildTextModel("HELLO \xc3\x84\xc3\x96\xc3\x9c", &upper));  // "HELLO ÄÖÜ"
  EXPECT_EQ(vertexCount(lower), vertexCount(upper));
  EXPECT_EQ(toCapitals(U"abc XYZ 12!"), U"ABC XYZ 12!");
  EXPECT_EQ(toCapitals(U"\u00e4\u00f6\u00fc\u00df\u00ff"), U"\u00c4\u00d6\u00dc\u00df\u0178") << "Latin-1; sharp s has no capital";
  EXPECT_EQ(toCapitals(U"\u0142\u0144\u017e\u0131"), U"\u0141\u0143\u017dI") << "Latin Extended-A";
  EXPECT_EQ(toCapitals(U"\u03c9\u03c2\u0436\u0451"), U"\u03a9\u03a3\u0416\u0401") << "Greek and Cyrillic";
}

// Each character with an outline is one mesh, however many bytes it takes in UTF-8; spaces only
// move the pen on.
TEST(BakedModelsTest, textsHaveOneMeshForEachLetter) {
  BakedModel umlauts;
  ASSERT_TRUE(buildTextModel("\xc3\x84\xc3\x96\xc3\x9c\xc3\x84\xc3\x96\xc3\x9c", &umlauts));  // "ÄÖÜÄÖÜ"
  ASSERT_EQ(umlauts.meshes.size(), 6u);
  for (size_t i = 0; i < umlauts.meshes.size(); ++i) {
    EXPECT_EQ(umlauts.meshes[i].name, "letter" + std::to_string(i + 1));
  }
  // Left to right: each letter starts right of where the one before it starts.
  for (size_t i = 1; i < umlauts.meshes.size(); ++i) {
    const ModelBounds before = measureModel(BakedModel{{}, {umlauts.meshes[i - 1]}});
    const ModelBounds after = measureModel(BakedModel{{}, {umlauts.meshes[i]}});
    EXPECT_GT(after.min.x, before.min.x) << "letter " << i + 1;
  }
  BakedModel spaced;
  ASSERT_TRUE(buildTextModel("A  B", &spaced));
  EXPECT_EQ(spaced.meshes.size(), 2u);
  BakedModel blank;
  ASSERT_TRUE(buildTextModel("   ", &blank));
  ASSERT_EQ(blank.meshes.size(), 1u);
  EXPECT_TRUE(blank.meshes[0].triangles.empty());
}

TEST(BakedModelsTest, textsRefuseWhatCannotBeOutlined) {
  BakedModel model;
  EXPECT_FALSE(buildTextModel("AB\xc3", &model)) << "a cut UTF-8 sequence";
  EXPECT_FALSE(buildTextModel("A\xe6\xbc\xa2", &model)) << "a CJK ideograph the font lacks";
  const MissingCharacter missing = findMissingCharacter(U"ok\u6f22!");
  EXPECT_TRUE(missing.found);
  EXPECT_EQ(missing.character, U'\u6f22');
  EXPECT_FALSE(missing.fontName.empty());
  EXPECT_FALSE(findMissingCharacter(U"\u00e4\u00f6\u00fc VALLOMERE").found) << "lower case is checked in capitals";
}

// ---- The baked files in real peers ----

TEST(BakedModelsTest, lib3dsReadsEveryBakedModelAsBuilt) {
  for (const ModelCase& c : everyModel()) {
    Lib3dsFile* file = lib3ds_file_load(bakertest::bakedFile(c.fileName).c_str());
    ASSERT_NE(file, nullptr) << c.fileName;
    std::map<std::string, const Lib3dsMesh*> meshes;
    for (const Lib3dsMesh* mesh = file->meshes; mesh != nullptr; mesh = mesh->next) meshes[mesh->name] = mesh;
    EXPECT_EQ(meshes.size(), c.model.meshes.size()) << c.fileName;
    for (const BakedMesh& expected : c.model.meshes) {
      ASSERT_EQ(meshes.count(expected.name), 1u) << c.fileName << " lacks " << expected.name;
      const Lib3dsMesh* mesh = meshes[expected.name];
      EXPECT_EQ(mesh->points, expected.vertices.size()) << c.fileName << " " << expected.name;
      EXPECT_EQ(mesh->faces, expected.triangles.size()) << c.fileName << " " << expected.name;
      EXPECT_EQ(mesh->texels, expected.vertices.size()) << c.fileName << " " << expected.name;
      // The reader's turn (x, y, z) -> (x, z, -y) of the stored vertex gives the model's.
      const Vector3& first = expected.vertices[0].position;
      EXPECT_FLOAT_EQ(mesh->pointL[0].pos[0], first.x);
      EXPECT_FLOAT_EQ(mesh->pointL[0].pos[2], first.y);
      EXPECT_FLOAT_EQ(-mesh->pointL[0].pos[1], first.z);
      EXPECT_STREQ(mesh->faceL[0].material, expected.materialName.c_str());
    }
    for (const BakedMaterial& expected : c.model.materials) {
      const Lib3dsMaterial* material = lib3ds_file_material_by_name(file, expected.name.c_str());
      ASSERT_NE(material, nullptr) << c.fileName << " lacks material " << expected.name;
      EXPECT_STREQ(material->texture1_map.name, expected.textureFile.c_str());
    }
    lib3ds_file_free(file);
  }
}

TEST(BakedModelsTest, assimpCountsTheSameMeshesAndFaces) {
  for (const ModelCase& c : everyModel()) {
    const std::string info = bakertest::commandOutput("assimp info '" + bakertest::bakedFile(c.fileName) + "' -raw");
    size_t faces = 0;
    for (const BakedMesh& mesh : c.model.meshes) faces += mesh.triangles.size();
    auto field = [&](const std::string& name) {
      const size_t at = info.find("\n" + name + ":");
      return at == std::string::npos ? -1L : std::stol(info.substr(at + name.size() + 2));
    };
    EXPECT_EQ(field("Meshes"), static_cast<long>(c.model.meshes.size())) << c.fileName;
    EXPECT_EQ(field("Faces"), static_cast<long>(faces)) << c.fileName;
  }
}

TEST(BakedModelsTest, missilesLongestAxisIsXAfterTheReadersTurn) {
  Lib3dsFile* file = lib3ds_file_load(bakertest::bakedFile("missile.3ds").c_str());
  ASSERT_NE(file, nullptr);
  float low[3] = {1e9f, 1e9f, 1e9f};
  float high[3] = {-1e9f, -1e9f, -1e9f};
  for (const Lib3dsMesh* mesh = file->meshes; mesh != nullptr; mesh = mesh->next) {
    for (unsigned i = 0; i < mesh->points; ++i) {
      const float* p = mesh->pointL[i].pos;
      const float turned[3] = {p[0], p[2], -p[1]};
      for (int axis = 0; axis < 3; ++axis) {
        low[axis] = std::fmin(low[axis], turned[axis]);
        high[axis] = std::fmax(high[axis], turned[axis]);
      }
    }
  }
  lib3ds_file_free(file);
  EXPECT_GT(high[0] - low[0], 3.0f * (high[1] - low[1]));
  EXPECT_GT(high[0] - low[0], 3.0f * (high[2] - low[2]));
}

}  // namespace
