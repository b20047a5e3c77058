// The palm as the baker builds it: light enough for ninety in a scene, with one-sided leaves that
// face the sun.
#include <gtest/gtest.h>

#include <cmath>
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

TEST(PalmModelTest, leafletsFaceUpAndShadeAsMuchGroundAsAFullCrown) {
  // Up-ish, not merely up: a leaf lit edge-on looks black. A back side drawn as well would face
  // down and only fight the front for depth.
  const BakedModel palm = buildPalmModel();
  const BakedMesh& fronds = meshNamed(palm, "fronds");
  float shadeSquareMetres = 0.0f;
  for (size_t i = 0; i < fronds.triangles.size(); ++i) {
    if (!isLeaflet(fronds, fronds.triangles[i])) continue;
    const Vector3 normal = faceNormal(fronds, fronds.triangles[i]);
    EXPECT_GT(normal.y, 0.3f * normal.length()) << "frond triangle " << i;
    shadeSquareMetres += 0.5f * normal.y;
  }
  // A full crown shades about 21.7 square metres seen from straight above.
  EXPECT_NEAR(shadeSquareMetres, 21.7f, 2.2f);
}

}  // namespace
