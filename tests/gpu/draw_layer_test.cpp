// The shader back end against the fixed function: each scene is drawn through both back ends on
// the shared compatibility context and the pictures compared; the scenes are drawn again on a core
// and an ES context, where only the shader back end can run, against the same references.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gpu/draw_layer.h"
#include "platform/gl_capabilities.h"
#include "platform/gl_entry_points.h"
#include "platform/native_window.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/offscreen_surface.h"

namespace {

using Scene = std::function<void(DrawLayer&)>;
constexpr int kSide = 64;

// A framebuffer of renderbuffers, which every kind of context has, read back with glReadPixels.
class LayerTarget {
 public:
  LayerTarget() {
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(2, renderbuffers_);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kSide, kSide);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, kSide, kSide);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers_[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, renderbuffers_[1]);
    complete_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  }
  ~LayerTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(2, renderbuffers_);
  }
  bool complete() const { return complete_; }
  std::vector<Pixel> read() const {
    std::vector<Pixel> pixels(static_cast<size_t>(kSide) * kSide);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kSide, kSide, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }

 private:
  GLuint framebuffer_ = 0;
  GLuint renderbuffers_[2] = {0, 0};
  bool complete_ = false;
};

// The scene on a cleared target with identity matrices; the layer's pass state and textures are
// back at their defaults afterwards, so the context is as the scene found it.
std::vector<Pixel> drawScene(DrawLayer& layer, const Scene& scene) {
  LayerTarget target;
  EXPECT_TRUE(target.complete());
  const Viewport before = layer.viewport();
  layer.setViewport(Viewport{0, 0, kSide, kSide});
  layer.applyPass(PassState());
  layer.setClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  layer.clear(true, true);
  for (const MatrixStack stack : {MatrixStack::Texture, MatrixStack::Projection, MatrixStack::ModelView}) {
    layer.matrixMode(stack);
    layer.loadIdentity();
  }
  layer.color(1.0f, 1.0f, 1.0f, 1.0f);
  scene(layer);
  layer.finish();
  std::vector<Pixel> pixels = target.read();
  layer.applyPass(PassState());
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    layer.bindTexture(unit, 0);
  }
  layer.setViewport(before);
  return pixels;
}

struct Difference {
  int pixels = 0;   // pixels with a channel off by more than the tolerance
  int largest = 0;  // the largest channel difference
};

Difference differenceOf(const std::vector<Pixel>& a, const std::vector<Pixel>& b, int tolerance) {
  Difference difference;
  for (size_t index = 0; index < a.size() && index < b.size(); ++index) {
    const int channels[4] = {std::abs(a[index].r - b[index].r), std::abs(a[index].g - b[index].g),
                             std::abs(a[index].b - b[index].b), std::abs(a[index].a - b[index].a)};
    int largest = 0;
    for (const int channel : channels) {
      largest = std::max(largest, channel);
    }
    difference.largest = std::max(difference.largest, largest);
    difference.pixels += largest > tolerance ? 1 : 0;
  }
  return difference;
}

int coloredPixels(const std::vector<Pixel>& pixels) {
  int count = 0;
  for (const Pixel& pixel : pixels) {
    count += (pixel.r | pixel.g | pixel.b) != 0 ? 1 : 0;
  }
  return count;
}

// Within one step of 8-bit rounding everywhere, and nowhere more than a few edge pixels apart.
constexpr int kTolerance = 2;
constexpr int kEdgePixels = 8;

std::vector<Pixel> fixedFunctionPicture(const Scene& scene) {
  std::unique_ptr<DrawLayer> layer = createFixedFunctionLayer(platform::glCapabilities());
  return drawScene(*layer, scene);
}

std::vector<Pixel> shaderPicture(const Scene& scene) {
  std::unique_ptr<DrawLayer> layer = createShaderLayer(platform::glCapabilities());
  EXPECT_NE(layer, nullptr) << "no shader back end on " << platform::glCapabilities().versionText;
  return layer != nullptr ? drawScene(*layer, scene) : std::vector<Pixel>();
}

void expectSamePicture(const std::vector<Pixel>& expected, const std::vector<Pixel>& got, const char* what) {
  ASSERT_EQ(got.size(), expected.size()) << what;
  EXPECT_GT(coloredPixels(expected), 0) << what << ": the reference is empty";
  const Difference difference = differenceOf(expected, got, kTolerance);
  EXPECT_LE(difference.pixels, kEdgePixels) << what << ": largest difference " << difference.largest;
}

void expectBackEndsAgree(const Scene& scene, const char* what) {
  expectSamePicture(fixedFunctionPicture(scene), shaderPicture(scene), what);
}

// ---- Scenes ----

void perspectiveView(DrawLayer& layer) {
  layer.matrixMode(MatrixStack::Projection);
  layer.perspective(50.0, 1.0, 1.0, 100.0);
  layer.matrixMode(MatrixStack::ModelView);
  layer.lookAt(0.5, 1.0, 4.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
}

// A quad whose four corners differ in colour: the diagonal it is split along shows.
void colouredQuads(DrawLayer& layer) {
  layer.begin(Primitive::Quads);
  layer.color(1.0f, 0.0f, 0.0f, 1.0f);
  layer.vertex(-0.9f, -0.9f);
  layer.color(0.0f, 1.0f, 0.0f, 1.0f);
  layer.vertex(0.1f, -0.9f);
  layer.color(0.0f, 0.0f, 1.0f, 1.0f);
  layer.vertex(0.1f, 0.1f);
  layer.color(1.0f, 1.0f, 1.0f, 0.5f);
  layer.vertex(-0.9f, 0.1f);
  layer.end();
}

void fanStripAndLines(DrawLayer& layer) {
  layer.begin(Primitive::TriangleFan);
  layer.color(1.0f, 0.5f, 0.0f);
  layer.vertex(0.5f, 0.5f);
  for (int corner = 0; corner <= 5; ++corner) {
    const float angle = static_cast<float>(corner) * 0.6f;
    layer.color(0.2f * static_cast<float>(corner), 0.3f, 1.0f - 0.15f * static_cast<float>(corner));
    layer.vertex(0.5f + 0.4f * std::cos(angle), 0.5f + 0.4f * std::sin(angle));
  }
  layer.end();
  layer.begin(Primitive::TriangleStrip);
  layer.color(0.0f, 1.0f, 1.0f);
  for (int step = 0; step < 6; ++step) {
    layer.vertex(-0.9f + 0.15f * static_cast<float>(step), 0.3f + 0.2f * static_cast<float>(step % 2));
  }
  layer.end();
  layer.color(1.0f, 1.0f, 0.0f);
  layer.begin(Primitive::Lines);
  layer.vertex(-0.95f, 0.95f);
  layer.vertex(0.95f, 0.75f);
  layer.end();
  layer.begin(Primitive::Points);
  layer.vertex(0.8f, -0.8f);
  layer.end();
}

// Two boxes placed with every kind of matrix step, in a perspective view with depth.
void placedBoxes(DrawLayer& layer) {
  perspectiveView(layer);
  PassState depth;
  depth.depthTest = true;
  layer.applyPass(depth);
  for (int box = 0; box < 2; ++box) {
    layer.pushMatrix();
    layer.translate(box == 0 ? -0.6f : 0.6f, 0.0f, box == 0 ? 0.0f : -0.8f);
    layer.rotate(30.0f + 25.0f * static_cast<float>(box), 0.3f, 1.0f, 0.2f);
    layer.scale(0.7f, 0.9f, 0.7f);
    layer.begin(Primitive::Quads);
    const float faces[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int face = 0; face < 3; ++face) {
      for (const float side : {-1.0f, 1.0f}) {
        layer.color(0.3f + 0.5f * faces[face][0], 0.3f + 0.5f * faces[face][1], 0.3f + 0.5f * faces[face][2]);
        const int u = (face + 1) % 3;
        const int v = (face + 2) % 3;
        const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& corner : corners) {
          float point[3] = {0, 0, 0};
          point[face] = 0.5f * side;
          point[u] = 0.5f * corner[0];
          point[v] = 0.5f * corner[1] * side;
          layer.vertex(point);
        }
      }
    }
    layer.end();
    layer.popMatrix();
  }
}

// A grid over a hemisphere, as a mesh: positions, normals (unit length, then scaled by the
// model-view, which lighting does not undo) and texture coordinates.
struct Hemisphere {
  std::vector<float> positions;
  std::vector<float> normals;
  std::vector<float> texCoords;
  std::vector<uint32_t> indices;
  Hemisphere() {
    constexpr int kRings = 10;
    constexpr int kSegments = 16;
    for (int ring = 0; ring <= kRings; ++ring) {
      const float polar = 1.5707963f * static_cast<float>(ring) / kRings;
      for (int segment = 0; segment <= kSegments; ++segment) {
        const float around = 6.2831853f * static_cast<float>(segment) / kSegments;
        const float normal[3] = {std::sin(polar) * std::cos(around), std::sin(polar) * std::sin(around),
                                 std::cos(polar)};
        for (int axis = 0; axis < 3; ++axis) {
          positions.push_back(normal[axis]);
          normals.push_back(normal[axis]);
        }
        texCoords.push_back(static_cast<float>(segment) / kSegments);
        texCoords.push_back(static_cast<float>(ring) / kRings);
      }
    }
    for (int ring = 0; ring < kRings; ++ring) {
      for (int segment = 0; segment < kSegments; ++segment) {
        const uint32_t first = static_cast<uint32_t>(ring * (kSegments + 1) + segment);
        const uint32_t next = first + kSegments + 1;
        for (const uint32_t index : {first, first + 1, next + 1, first, next + 1, next}) {
          indices.push_back(index);
        }
      }
    }
  }
  VertexArrays arrays(bool withNormals, bool withTexCoords) const {
    VertexArrays result;
    result.positions = positions.data();
    result.normals = withNormals ? normals.data() : nullptr;
    result.texCoords = withTexCoords ? texCoords.data() : nullptr;
    result.vertexCount = static_cast<int>(positions.size() / 3);
    return result;
  }
};

const float kLightAmbient[4] = {0.1f, 0.1f, 0.15f, 1.0f};
const float kLightDiffuse[4] = {0.9f, 0.8f, 0.7f, 1.0f};
const float kLightSpecular[4] = {0.3f, 0.3f, 0.3f, 1.0f};

void litHemisphere(DrawLayer& layer, const float lightPosition[4], bool colorMaterial) {
  static const Hemisphere kHemisphere;
  perspectiveView(layer);
  // Placed under the view, so the light turns with the camera's look-at.
  layer.setLight(lightPosition, kLightAmbient, kLightDiffuse, kLightSpecular);
  const float ambient[4] = {0.3f, 0.2f, 0.2f, 1.0f};
  const float diffuse[4] = {0.6f, 0.7f, 0.3f, 0.8f};
  const float specular[4] = {0.2f, 0.2f, 0.4f, 1.0f};
  const float emission[4] = {0.05f, 0.0f, 0.1f, 1.0f};
  layer.setMaterial(ambient, diffuse, specular, emission);
  PassState lit;
  lit.depthTest = true;
  lit.lighting = true;
  lit.colorMaterial = colorMaterial;
  layer.applyPass(lit);
  layer.color(0.2f, 0.5f, 0.9f, 1.0f);
  layer.pushMatrix();
  layer.rotate(-60.0f, 1.0f, 0.0f, 0.0f);
  layer.scale(1.2f, 1.2f, 1.2f);
  layer.drawIndexed(Primitive::Triangles, kHemisphere.arrays(true, false), kHemisphere.indices.data(),
                    static_cast<int>(kHemisphere.indices.size()));
  layer.popMatrix();
}

const float kDirectionalLight[4] = {0.4f, 1.0f, 0.6f, 0.0f};
const float kPointLight[4] = {1.5f, 1.0f, 2.0f, 1.0f};

// ---- Tests ----

// The stacks' tops after GLU's and the GL's own steps, element by element.
TEST(DrawLayer, shaderMatrixStacksComputeWhatTheGlAndGluCompute) {
  REQUIRE_GL_CONTEXT();
  const auto steps = [](DrawLayer& layer) {
    layer.matrixMode(MatrixStack::Projection);
    layer.loadIdentity();
    layer.perspective(47.5, 1.37, 0.5, 2500.0);
    layer.matrixMode(MatrixStack::ModelView);
    layer.loadIdentity();
    layer.lookAt(12.0, 30.5, -7.25, 100.0, 2.0, 40.0, 0.1, 1.0, 0.0);
    layer.pushMatrix();
    layer.translate(3.0f, -2.0f, 7.5f);
    layer.rotate(33.0f, 0.2f, 0.9f, -0.4f);
    layer.rotate(-90.0f, 0.0f, 0.0f, 1.0f);
    layer.rotate(12.0f, -1.0f, 0.0f, 0.0f);
    layer.scale(1.5f, 0.25f, -2.0f);
    layer.matrixMode(MatrixStack::Texture);
    layer.loadIdentity();
    layer.frustum(-1.0, 2.0, -0.5, 0.75, 1.0, 30.0);
  };
  std::unique_ptr<DrawLayer> fixed = createFixedFunctionLayer(platform::glCapabilities());
  steps(*fixed);
  const Matrix4 expected[3] = {fixed->matrix(MatrixStack::ModelView), fixed->matrix(MatrixStack::Projection),
                               fixed->matrix(MatrixStack::Texture)};
  fixed->matrixMode(MatrixStack::Texture);
  fixed->loadIdentity();
  fixed->matrixMode(MatrixStack::ModelView);
  fixed->popMatrix();
  fixed->loadIdentity();
  fixed->ortho2D(-4.0, 6.0, 1.0, 3.0);
  const Matrix4 expectedOrtho = fixed->matrix(MatrixStack::ModelView);
  fixed->loadIdentity();
  fixed->matrixMode(MatrixStack::Projection);
  fixed->loadIdentity();
  fixed->matrixMode(MatrixStack::ModelView);

  std::unique_ptr<DrawLayer> shader = createShaderLayer(platform::glCapabilities());
  ASSERT_NE(shader, nullptr);
  steps(*shader);
  const Matrix4 got[3] = {shader->matrix(MatrixStack::ModelView), shader->matrix(MatrixStack::Projection),
                          shader->matrix(MatrixStack::Texture)};
  shader->matrixMode(MatrixStack::ModelView);
  shader->popMatrix();
  shader->loadIdentity();
  shader->ortho2D(-4.0, 6.0, 1.0, 3.0);
  const Matrix4 gotOrtho = shader->matrix(MatrixStack::ModelView);
  for (int stack = 0; stack < 3; ++stack) {
    for (int element = 0; element < 16; ++element) {
      const float reference = expected[stack].m[element];
      EXPECT_NEAR(got[stack].m[element], reference, 1.0e-6f * std::max(1.0f, std::fabs(reference)))
          << "stack " << stack << ", element " << element;
    }
  }
  for (int element = 0; element < 16; ++element) {
    EXPECT_FLOAT_EQ(gotOrtho.m[element], expectedOrtho.m[element]) << "ortho element " << element;
  }
}

TEST(DrawLayer, shaderMatrixStacksRefuseToPopTheirLastMatrix) {
  REQUIRE_GL_CONTEXT();
  std::unique_ptr<DrawLayer> shader = createShaderLayer(platform::glCapabilities());
  ASSERT_NE(shader, nullptr);
  shader->translate(1.0f, 2.0f, 3.0f);
  shader->popMatrix();
  EXPECT_FLOAT_EQ(shader->matrix(MatrixStack::ModelView).m[13], 2.0f);
}

TEST(DrawLayer, primitivesMatchTheFixedFunction) {
  REQUIRE_GL_CONTEXT();
  expectBackEndsAgree(colouredQuads, "coloured quad");
  expectBackEndsAgree(fanStripAndLines, "fan, strip, line and point");
  expectBackEndsAgree(placedBoxes, "boxes placed by matrix steps");
}

TEST(DrawLayer, lightAndMaterialMatchTheFixedFunction) {
  REQUIRE_GL_CONTEXT();
  expectBackEndsAgree([](DrawLayer& layer) { litHemisphere(layer, kDirectionalLight, false); },
                      "directional light on the material");
  expectBackEndsAgree([](DrawLayer& layer) { litHemisphere(layer, kPointLight, false); },
                      "point light on the material");
  expectBackEndsAgree([](DrawLayer& layer) { litHemisphere(layer, kDirectionalLight, true); },
                      "directional light with colour material");
}

}  // namespace
