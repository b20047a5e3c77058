#include "world/mesh.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "tests/support/gl_test_context.h"
#include "tests/world/plain_view.h"
#include "world/model.h"

namespace {

// A triangle over the lower-left half of the surface, facing +z, with the given index list.
void fillTriangle(Mesh& mesh, std::initializer_list<uint32_t> indices = {0, 1, 2}) {
  ASSERT_TRUE(mesh.allocate(3, static_cast<int32_t>(indices.size())));
  mesh.vertices = {-0.9f, -0.9f, 0.0f, 0.9f, -0.9f, 0.0f, -0.9f, 0.9f, 0.0f};
  mesh.normals = {0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f};
  mesh.texCoords = {0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f};
  mesh.indices = indices;
}

// Surface pixels: (16, 16) lies inside the triangle, (48, 48) outside it.
bool insideDrawn(const OffscreenSurface& surface) { return surface.pixel(16, 16).a != 0; }

GLuint singleColourTexture(unsigned char red, unsigned char green, unsigned char blue) {
  const unsigned char texel[4] = {red, green, blue, 255};
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
  glBindTexture(GL_TEXTURE_2D, 0);
  return name;
}

class MeshDrawingTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!ensureGLContext()) {
      GTEST_SKIP() << "no display for a GL context; run under xvfb-run";
    }
    surface_ = std::make_unique<OffscreenSurface>();
    ASSERT_TRUE(surface_->ready());
    beginPlainView(*surface_);
  }
  void TearDown() override {
    if (surface_ != nullptr) {
      surface_->end();
    }
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  }
  std::unique_ptr<OffscreenSurface> surface_;
};

TEST(MeshTest, allocateGivesZeroedArraysAndRefusesNegativeCounts) {
  Mesh mesh;
  EXPECT_EQ(mesh.displayList, -1);
  ASSERT_TRUE(mesh.allocate(4, 6));
  EXPECT_EQ(mesh.vertices.size(), 12u);
  EXPECT_EQ(mesh.normals.size(), 12u);
  EXPECT_EQ(mesh.texCoords.size(), 8u);
  EXPECT_EQ(mesh.indices.size(), 6u);
  EXPECT_FALSE(mesh.allocate(-1, 3));
  EXPECT_TRUE(mesh.vertices.empty());
  EXPECT_EQ(mesh.vertexCount, 0);
  EXPECT_EQ(mesh.indexCount, 0);
}

TEST(MeshTest, boundsOfMeshesAndModels) {
  Model model;
  model.computeBounds();
  EXPECT_EQ(model.boundsMin[0], 9999999.0f);
  EXPECT_EQ(model.boundsMax[1], -9999999.0f);
  EXPECT_EQ(model.centre[2], 0.0f);

  auto empty = std::make_unique<Mesh>();
  auto shape = std::make_unique<Mesh>();
  ASSERT_TRUE(shape->allocate(2, 0));
  shape->vertices = {1.0f, 2.0f, 3.0f, 5.0f, 4.0f, 7.0f};
  model.meshes.push_back(std::move(empty));
  model.meshes.push_back(std::move(shape));
  model.computeBounds();
  const Mesh& measured = *model.meshes[1];
  EXPECT_EQ(measured.boundsMin[0], 1.0f);
  EXPECT_EQ(measured.boundsMax[2], 7.0f);
  EXPECT_EQ(measured.centre[1], 3.0f);
  EXPECT_EQ(model.meshes[0]->boundsMax[0], 0.0f);
  // The empty mesh's zero box takes part in the merge.
  EXPECT_EQ(model.boundsMin[0], 0.0f);
  EXPECT_EQ(model.boundsMax[0], 5.0f);
  EXPECT_EQ(model.centre[2], 3.5f);
}

TEST_F(MeshDrawingTest, vertexArraysDrawInTheMaterialColour) {
  Mesh mesh;
  fillTriangle(mesh);
  mesh.draw(kDrawVertexArrays, 1.0f);
  const Pixel inside = surface_->pixel(16, 16);
  EXPECT_NEAR(inside.r, 102, 1);
  EXPECT_NEAR(inside.g, 102, 1);
  EXPECT_EQ(surface_->pixel(48, 48).a, 0);
}

TEST_F(MeshDrawingTest, texturedVertexArraysDrawTheLayerTexture) {
  Mesh mesh;
  fillTriangle(mesh);
  const GLuint red = singleColourTexture(255, 0, 0);
  mesh.material.setLayer(0, "red.jpg", nullptr, static_cast<int32_t>(red));
  mesh.textured = true;
  mesh.draw(kDrawVertexArrays, 1.0f);
  const Pixel inside = surface_->pixel(16, 16);
  EXPECT_EQ(inside.r, 255);
  EXPECT_EQ(inside.g, 0);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));

  // The next, untextured mesh draws with the texture-coordinate array off.
  Mesh plain;
  fillTriangle(plain);
  plain.draw(kDrawVertexArrays, 1.0f);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
  mesh.draw(kDrawPerPixel, 1.0f);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
  plain.draw(kDrawPerPixel, 1.0f);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
  EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
  EXPECT_TRUE(glIsEnabled(GL_NORMAL_ARRAY));
  glDeleteTextures(1, &red);
}

TEST_F(MeshDrawingTest, displayListIsCompiledOnceAndKeepsTheVerticesItWasMadeFrom) {
  Mesh mesh;
  fillTriangle(mesh);
  mesh.draw(kDrawDisplayList, 1.0f);
  const int32_t list = mesh.displayList;
  ASSERT_NE(list, -1);
  EXPECT_TRUE(insideDrawn(*surface_));

  mesh.translate(1.0f, 1.0f, 0.0f);
  surface_->end();
  beginPlainView(*surface_);
  mesh.draw(kDrawDisplayList, 1.0f);
  EXPECT_EQ(mesh.displayList, list);
  EXPECT_TRUE(insideDrawn(*surface_));
  EXPECT_EQ(surface_->pixel(40, 40).a, 0);

  surface_->end();
  beginPlainView(*surface_);
  mesh.draw(kDrawVertexArrays, 1.0f);
  EXPECT_FALSE(insideDrawn(*surface_));
  EXPECT_NE(surface_->pixel(40, 40).a, 0);

  // A new allocation drops the list.
  ASSERT_TRUE(mesh.allocate(3, 3));
  EXPECT_EQ(mesh.displayList, -1);
  EXPECT_FALSE(glIsList(static_cast<GLuint>(list)));
}

TEST_F(MeshDrawingTest, lessThanOneTriangleDrawsNothingInTheImmediateModes) {
  Mesh mesh;
  fillTriangle(mesh, {0, 1});
  for (const int32_t mode : {kDrawWireframe, kDrawDisplayList, kDrawNormals, kDrawVertexArrays}) {
    mesh.draw(mode, 1.0f);
  }
  EXPECT_EQ(surface_->countPixels(anyDrawn), 0);
}

TEST_F(MeshDrawingTest, wireframeStripLeavesTheClosingEdgeOpen) {
  Mesh mesh;
  fillTriangle(mesh);
  glColor3f(1.0f, 1.0f, 1.0f);
  mesh.draw(kDrawWireframe, 1.0f);
  int bottomEdge = 0;
  int leftEdge = 0;
  for (int i = 12; i < 52; ++i) {
    for (int across = 2; across <= 4; ++across) {
      bottomEdge += surface_->pixel(i, across).a != 0 ? 1 : 0;
      leftEdge += surface_->pixel(across, i).a != 0 ? 1 : 0;
    }
  }
  EXPECT_GE(bottomEdge, 40);
  EXPECT_EQ(leftEdge, 0);
  EXPECT_FALSE(insideDrawn(*surface_));
}

TEST_F(MeshDrawingTest, normalsAreWhiteLinesAndLeaveLightingOn) {
  Mesh mesh;
  fillTriangle(mesh);
  glColor3f(1.0f, 0.0f, 0.0f);
  mesh.draw(kDrawNormals, 0.5f);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  glDisable(GL_LIGHTING);
  // The line from (-0.9, -0.9) up to (-0.9, -0.4).
  int white = 0;
  for (int row = 5; row < 18; ++row) {
    for (int column = 2; column <= 4; ++column) {
      const Pixel pixel = surface_->pixel(column, row);
      white += pixel.r == 255 && pixel.g == 255 && pixel.b == 255 ? 1 : 0;
    }
  }
  EXPECT_GE(white, 10);
  EXPECT_FALSE(insideDrawn(*surface_));
}

TEST_F(MeshDrawingTest, pointsDrawEveryVertexOnly) {
  Mesh mesh;
  fillTriangle(mesh, {});
  glPointSize(3.0f);
  mesh.draw(kDrawPoints, 1.0f);
  glPointSize(1.0f);
  EXPECT_NE(surface_->pixel(3, 3).a, 0);
  EXPECT_NE(surface_->pixel(60, 3).a, 0);
  EXPECT_NE(surface_->pixel(3, 60).a, 0);
  EXPECT_GE(surface_->countPixels(anyDrawn), 3);
  EXPECT_LE(surface_->countPixels(anyDrawn), 3 * 16);
}

TEST_F(MeshDrawingTest, perPixelModeTouchesTextureStateOnlyForTexturedMeshes) {
  const GLuint other = singleColourTexture(0, 0, 255);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, other);
  glDisable(GL_TEXTURE_2D);
  Mesh mesh;
  fillTriangle(mesh);
  mesh.draw(kDrawPerPixel, 1.0f);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, static_cast<GLint>(other));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

  // A texture name below 1 binds texture 0.
  mesh.textured = true;
  mesh.material.layers[0].textureName = -1;
  mesh.draw(kDrawPerPixel, 1.0f);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  glDisable(GL_TEXTURE_2D);
  glDeleteTextures(1, &other);
}

TEST_F(MeshDrawingTest, unknownModesDrawNothingAndChangeNoState) {
  Mesh mesh;
  fillTriangle(mesh);
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
  for (const int32_t mode : {6, 7, -1}) {
    mesh.draw(mode, 1.0f);
  }
  EXPECT_EQ(surface_->countPixels(anyDrawn), 0);
  EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
  EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_EQ(mesh.displayList, -1);
  float colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[1], 0.5f);
}

}  // namespace
