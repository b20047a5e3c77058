#include "world/mesh.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "gpu/draw_layer.h"
#include "platform/gl_binding_record.h"
#include "tests/support/gl_test_context.h"
#include "tests/world/plain_view.h"
#include "world/model.h"

namespace {

// A triangle over the lower-left half of the surface, facing +z, normals up the picture.
void fillTriangle(Mesh& mesh, std::initializer_list<uint32_t> indices = {0, 1, 2}) {
  ASSERT_TRUE(mesh.allocate(3, static_cast<int32_t>(indices.size())));
  mesh.vertices = {-0.9f, -0.9f, 0.0f, 0.9f, -0.9f, 0.0f, -0.9f, 0.9f, 0.0f};
  mesh.normals = {0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f};
  mesh.texCoords = {0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f};
  mesh.indices = indices;
}

// Pixel (16, 16) of the 64 × 64 surface lies inside the triangle, (40, 40) outside it.
bool drawnAt(const OffscreenSurface& surface, int x, int y) { return surface.pixel(x, y).a != 0; }

class MeshDrawingTest : public testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_GL_CONTEXT();
    surface_ = std::make_unique<OffscreenSurface>();
    ASSERT_TRUE(surface_->ready());
    beginPlainView(*surface_);
  }
  void TearDown() override {
    if (surface_ != nullptr) {
      surface_->end();
    }
    drawLayer().applyPass(PassState{});
  }
  void restart() {
    surface_->end();
    beginPlainView(*surface_);
  }
  std::unique_ptr<OffscreenSurface> surface_;
};

TEST(MeshTest, allocateGivesZeroedArraysAndRefusesNegativeCounts) {
  Mesh mesh;
  ASSERT_TRUE(mesh.allocate(4, 6));
  EXPECT_EQ(mesh.normals, std::vector<float>(12, 0.0f));
  EXPECT_EQ(mesh.texCoords.size(), 8u);
  EXPECT_EQ(mesh.indices.size(), 6u);
  EXPECT_FALSE(mesh.allocate(-1, 3));
  EXPECT_TRUE(mesh.vertices.empty());
  EXPECT_EQ(mesh.indexCount, 0);
}

TEST(MeshTest, boundsOfMeshesAndModels) {
  Model model;
  model.computeBounds();
  EXPECT_EQ(model.boundsMin[0], 9999999.0f);
  EXPECT_EQ(model.boundsMax[1], -9999999.0f);

  auto shape = std::make_unique<Mesh>();
  ASSERT_TRUE(shape->allocate(2, 0));
  shape->vertices = {1.0f, 2.0f, 3.0f, 5.0f, 4.0f, 7.0f};
  model.meshes.push_back(std::make_unique<Mesh>());
  model.meshes.push_back(std::move(shape));
  model.computeBounds();
  EXPECT_EQ(model.meshes[1]->boundsMin[0], 1.0f);
  EXPECT_EQ(model.meshes[1]->centre[1], 3.0f);
  // The empty mesh's all-zero box takes part in the merge.
  EXPECT_EQ(model.boundsMin[0], 0.0f);
  EXPECT_EQ(model.boundsMax[2], 7.0f);
  EXPECT_EQ(model.centre[2], 3.5f);
}

TEST_F(MeshDrawingTest, vertexArraysDrawTheMaterialAndTheTexCoordsOfTexturedMeshesOnly) {
  Mesh plain;
  fillTriangle(plain);
  plain.draw(kDrawVertexArrays, 1.0f);
  EXPECT_NEAR(surface_->pixel(16, 16).g, 102, 1);  // the default grey 0.4
  EXPECT_FALSE(drawnAt(*surface_, 40, 40));

  Mesh textured;
  fillTriangle(textured);
  const GLuint quadrants = createQuadrantTexture();
  textured.material.setLayer(0, "quadrants.jpg", nullptr, static_cast<int32_t>(quadrants));
  textured.textured = true;
  drawLayer().applyPass(texturedPass());
  textured.draw(kDrawVertexArrays, 1.0f);
  EXPECT_EQ(surface_->pixel(16, 16).r, 255);  // the red texel of the lower-left quarter
  EXPECT_EQ(surface_->pixel(16, 16).g, 0);

  // An untextured mesh hands none of its texture coordinates: it is drawn at the current one, in
  // the blue texel; its own would show red again.
  restart();
  drawLayer().applyPass(texturedPass());
  drawLayer().texCoord(0.1f, 0.9f);
  plain.material.setLayer(0, "quadrants.jpg", nullptr, static_cast<int32_t>(quadrants));
  plain.draw(kDrawVertexArrays, 1.0f);
  EXPECT_EQ(surface_->pixel(16, 16).b, 255);
  EXPECT_EQ(surface_->pixel(16, 16).r, 0);
  platform::deleteTextures(1, &quadrants);
}

TEST_F(MeshDrawingTest, displayListIsCompiledOnceAndDroppedByANewAllocation) {
  Mesh mesh;
  fillTriangle(mesh);
  mesh.draw(kDrawDisplayList, 1.0f);
  const int32_t list = mesh.displayList;
  ASSERT_NE(list, -1);

  mesh.translate(1.0f, 1.0f, 0.0f);
  restart();
  mesh.draw(kDrawDisplayList, 1.0f);
  EXPECT_EQ(mesh.displayList, list);
  EXPECT_TRUE(drawnAt(*surface_, 16, 16));
  EXPECT_FALSE(drawnAt(*surface_, 40, 40));
  restart();
  mesh.draw(kDrawVertexArrays, 1.0f);
  EXPECT_FALSE(drawnAt(*surface_, 16, 16));
  EXPECT_TRUE(drawnAt(*surface_, 40, 40));

  ASSERT_TRUE(mesh.allocate(3, 3));
  EXPECT_EQ(mesh.displayList, -1);
  EXPECT_FALSE(glIsList(static_cast<GLuint>(list)));
}

TEST_F(MeshDrawingTest, wireframeLeavesTheClosingEdgeOpenAndNormalsAreWhite) {
  Mesh mesh;
  fillTriangle(mesh);
  drawLayer().color(1.0f, 0.0f, 0.0f);
  mesh.draw(kDrawWireframe, 1.0f);
  int bottomEdge = 0;
  int leftEdge = 0;
  for (int i = 12; i < 52; ++i) {
    bottomEdge += drawnAt(*surface_, i, 3) ? 1 : 0;
    leftEdge += drawnAt(*surface_, 3, i) ? 1 : 0;
  }
  EXPECT_GE(bottomEdge, 35);
  EXPECT_EQ(leftEdge, 0);

  restart();
  mesh.draw(kDrawNormals, 0.5f);
  EXPECT_TRUE(drawLayer().passState().lighting);
  // The normal of the lower-left corner runs from (-0.9, -0.9) up to (-0.9, -0.4).
  const Pixel onNormal = surface_->pixel(3, 10);
  EXPECT_EQ(onNormal.r + onNormal.g + onNormal.b, 3 * 255);
  EXPECT_FALSE(drawnAt(*surface_, 16, 16));
}

TEST_F(MeshDrawingTest, lessThanOneTriangleOrAnUnknownModeDrawsNothing) {
  Mesh shortMesh;
  fillTriangle(shortMesh, {0, 1});
  for (const int32_t mode : {kDrawWireframe, kDrawDisplayList, kDrawNormals, kDrawVertexArrays}) {
    shortMesh.draw(mode, 1.0f);
  }
  const PassState unlit = drawLayer().passState();
  Mesh mesh;
  fillTriangle(mesh);
  drawLayer().color(0.25f, 0.5f, 0.75f, 1.0f);
  for (const int32_t mode : {6, -1}) {
    mesh.draw(mode, 1.0f);
  }
  EXPECT_EQ(surface_->countPixels(anyDrawn), 0);
  EXPECT_EQ(drawLayer().passState(), unlit);
  float colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[1], 0.5f);
}

TEST_F(MeshDrawingTest, perPixelModeBindsTheTextureOfTexturedMeshesOnly) {
  const GLuint other = createQuadrantTexture();
  drawLayer().bindTexture(0, other);
  const PassState pass = drawLayer().passState();
  Mesh mesh;
  fillTriangle(mesh);
  mesh.draw(kDrawPerPixel, 1.0f);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, static_cast<GLint>(other));

  // A layer texture name below 1 binds texture 0.
  mesh.textured = true;
  mesh.draw(kDrawPerPixel, 1.0f);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);
  EXPECT_EQ(drawLayer().passState(), pass);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  platform::deleteTextures(1, &other);
}

}  // namespace
