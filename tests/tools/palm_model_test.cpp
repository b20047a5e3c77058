// The palm as the baker builds it: light enough for ninety in a scene, the size the scenes place,
// and leaves that face the sun without a back side of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string>

#include "tools/baked_models.h"

using namespace baker;

namespace {

const BakedMesh& meshNamed(const BakedModel& model, const std::string& name) {
  for (const BakedMesh& mesh : model.meshes) {
    if (mesh.name == name) return mesh;
  }
  ADD_FAILURE() << "the palm has no mesh " << name;
  return model.meshes.at(0);
}

ModelBounds boundsOf(const BakedMesh& mesh) { return measureModel(BakedModel{{}, {mesh}}); }

// The leaf picture's rib strip starts at u = 0.86; everything left of it is leaflet.
bool isLeaflet(const BakedMesh& mesh, const BakedTriangle& t) { return mesh.vertices[t.a].u < 0.85f; }

Vector3 faceNormal(const BakedMesh& mesh, const BakedTriangle& t) {
  const Vector3& p = mesh.vertices[t.a].position;
  return (mesh.vertices[t.b].position - p).cross(mesh.vertices[t.c].position - p);
}

TEST(PalmModelTest, keepsItsMeshesAndStaysWithinItsTriangleBudget) {
  // Ninety palms stand in the outdoor scene; a palm is drawn in three calls, one per mesh.
  const BakedModel palm = buildPalmModel();
  ASSERT_EQ(palm.meshes.size(), 3u);
  EXPECT_EQ(meshNamed(palm, "trunk").materialName, "palmbark");
  EXPECT_EQ(meshNamed(palm, "fronds").materialName, "palmleaf");
  EXPECT_EQ(meshNamed(palm, "coconuts").materialName, "palmbark");
  size_t triangles = 0;
  for (const BakedMesh& mesh : palm.meshes) triangles += mesh.triangles.size();
  EXPECT_LE(triangles, 1300u);
  EXPECT_LE(meshNamed(palm, "trunk").triangles.size(), 160u);
  EXPECT_LE(meshNamed(palm, "coconuts").triangles.size(), 200u);
}

TEST(PalmModelTest, keepsTheHeightLeanAndCrownSpreadTheScenesWereLaidOutFor) {
  const BakedModel palm = buildPalmModel();
  const ModelBounds whole = measureModel(palm);
  EXPECT_NEAR(whole.max.y, 10.14f, 0.3f);
  EXPECT_NEAR(whole.min.y, -0.9f, 0.01f) << "the foot reaches below the ground it stands on";
  EXPECT_NEAR(whole.max.x - whole.min.x, 6.77f, 0.3f);
  EXPECT_NEAR(whole.max.z - whole.min.z, 6.85f, 0.3f);
  const ModelBounds trunk = boundsOf(meshNamed(palm, "trunk"));
  EXPECT_NEAR(trunk.min.x, -0.45f, 0.05f);
  EXPECT_NEAR(trunk.max.x, 1.35f, 0.1f) << "the crown leans along +x";
  EXPECT_NEAR(trunk.max.y, 9.2f, 0.05f);
  EXPECT_NEAR(boundsOf(meshNamed(palm, "fronds")).min.y, 6.5f, 0.3f) << "the lowest fronds droop this far";
}

TEST(PalmModelTest, leafletsAreOneSidedFaceUpAndShadeAsMuchGroundAsAFullCrown) {
  const BakedModel palm = buildPalmModel();
  const BakedMesh& fronds = meshNamed(palm, "fronds");
  std::set<std::array<std::array<float, 3>, 3>> corners;
  float shadeSquareMetres = 0.0f;
  int leafletTriangles = 0;
  for (const BakedTriangle& t : fronds.triangles) {
    if (!isLeaflet(fronds, t)) continue;
    ++leafletTriangles;
    const Vector3 normal = faceNormal(fronds, t);
    // Up-ish, not merely up: the sun is high, and a leaf lit edge-on would look black.
    EXPECT_GT(normal.y, 0.3f * normal.length()) << "leaflet triangle " << leafletTriangles;
    shadeSquareMetres += 0.5f * normal.y;
    // A back side would be the same three corners again: it only fights the front for depth.
    std::array<std::array<float, 3>, 3> key{};
    const std::uint32_t indices[3] = {t.a, t.b, t.c};
    for (int k = 0; k < 3; ++k) {
      const Vector3& p = fronds.vertices[indices[k]].position;
      key[k] = {p.x, p.y, p.z};
    }
    std::sort(key.begin(), key.end());
    EXPECT_TRUE(corners.insert(key).second) << "leaflet triangle " << leafletTriangles << " is drawn twice";
  }
  EXPECT_GT(leafletTriangles, 0);
  // A full crown shades about 21.7 square metres seen from straight above.
  EXPECT_NEAR(shadeSquareMetres, 21.7f, 2.2f);
}

}  // namespace
