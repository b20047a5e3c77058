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
#include "platform/glsl_runtime.h"
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

// Colour material writes the colour into the material; a lit pass after it without a material of
// its own shows that colour.
TEST(DrawLayer, colourMaterialLeavesItsColourInTheMaterial) {
  REQUIRE_GL_CONTEXT();
  const auto scene = [](DrawLayer& layer) {
    litHemisphere(layer, kDirectionalLight, true);
    PassState lit;
    lit.lighting = true;
    lit.depthTest = true;
    layer.applyPass(lit);
    layer.color(1.0f, 1.0f, 1.0f, 1.0f);
    layer.begin(Primitive::Triangles);
    layer.normal(0.0f, 0.3f, 1.0f);
    layer.vertex(-1.0f, -1.0f, 2.0f);
    layer.vertex(0.0f, -1.0f, 2.0f);
    layer.vertex(-1.0f, 0.0f, 2.0f);
    layer.end();
  };
  expectBackEndsAgree(scene, "a lit triangle after colour material");
}

}  // namespace

namespace {

// ---- Textures and their combinations ----

// Texels of three 2 × 2 textures, bottom row first: lines, titles and bubbles of a sort.
const unsigned char kFirstTexels[16] = {200, 40, 0, 255, 90, 180, 30, 128, 20, 60, 220, 64, 255, 255, 255, 255};
const unsigned char kSecondTexels[16] = {30, 30, 120, 255, 0, 100, 0, 255, 100, 0, 60, 255, 10, 20, 30, 255};
const unsigned char kThirdTexels[16] = {0, 0, 90, 255, 60, 0, 0, 255, 0, 70, 0, 255, 40, 40, 40, 255};

struct Textures {
  unsigned int names[kDrawTextureUnits] = {0, 0, 0};
  Textures() {
    names[0] = createTwoByTwoTexture(kFirstTexels);
    names[1] = createTwoByTwoTexture(kSecondTexels);
    names[2] = createTwoByTwoTexture(kThirdTexels);
  }
  ~Textures() { glDeleteTextures(kDrawTextureUnits, names); }
};

// A square over most of the target with the units' coordinates turned differently each, and a
// vertex colour that varies, so every texel meets several colours.
void texturedSquare(DrawLayer& layer) {
  const float corners[4][2] = {{-0.8f, -0.8f}, {0.8f, -0.8f}, {0.8f, 0.8f}, {-0.8f, 0.8f}};
  const float colours[4][4] = {{1, 1, 1, 1}, {0.5f, 1, 0.2f, 0.7f}, {0.2f, 0.4f, 1, 0.3f}, {1, 0.6f, 0.6f, 0.9f}};
  layer.begin(Primitive::Quads);
  for (int corner = 0; corner < 4; ++corner) {
    layer.color(colours[corner]);
    for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
      const int turned = (corner + unit) % 4;
      layer.unitTexCoord(unit, corners[turned][0] < 0.0f ? 0.0f : 1.0f, corners[turned][1] < 0.0f ? 0.0f : 1.0f,
                         0.0f, 1.0f);
    }
    layer.vertex(corners[corner][0], corners[corner][1]);
  }
  layer.end();
}

Scene combining(const Textures& textures, TextureMode first, TextureMode second, TextureMode third, int units) {
  return [&textures, first, second, third, units](DrawLayer& layer) {
    PassState pass;
    const TextureMode modes[kDrawTextureUnits] = {first, second, third};
    for (int unit = 0; unit < units; ++unit) {
      pass.units[unit].enabled = true;
      pass.units[unit].mode = modes[unit];
      layer.bindTexture(unit, textures.names[unit]);
    }
    layer.applyPass(pass);
    texturedSquare(layer);
  };
}

TEST(DrawLayer, textureModesAndTheTitleCombinersMatchTheFixedFunction) {
  REQUIRE_GL_CONTEXT();
  const Textures textures;
  expectBackEndsAgree(combining(textures, TextureMode::Modulate, TextureMode::Modulate, TextureMode::Modulate, 1),
                      "modulate");
  expectBackEndsAgree(combining(textures, TextureMode::Replace, TextureMode::Modulate, TextureMode::Modulate, 1),
                      "replace");
  expectBackEndsAgree(combining(textures, TextureMode::SquareTexel, TextureMode::AddTexel, TextureMode::AddTexel, 3),
                      "the titles' three units: square, add, add");
  // A sum past 1 is clamped before the next unit multiplies it.
  expectBackEndsAgree(combining(textures, TextureMode::Modulate, TextureMode::AddTexel, TextureMode::Modulate, 3),
                      "modulate, add, modulate");
  // The squared texel takes the vertex colour's alpha, not the alpha of what came before.
  expectBackEndsAgree(combining(textures, TextureMode::Replace, TextureMode::SquareTexel, TextureMode::Modulate, 2),
                      "replace, then square");
}

// A unit whose use is on but which has no texture is passed over, as the fixed function does.
TEST(DrawLayer, aUnitWithoutATextureLeavesTheColourAsItIs) {
  REQUIRE_GL_CONTEXT();
  const auto scene = [](DrawLayer& layer) {
    PassState pass;
    pass.units[1].enabled = true;
    layer.applyPass(pass);
    texturedSquare(layer);
  };
  expectBackEndsAgree(scene, "unit 1 on without a texture");
}

// ---- Alpha test and blending ----

// Alpha rising from left to right over a square, half of it below the reference.
void alphaRamp(DrawLayer& layer, const PassState& pass) {
  layer.applyPass(pass);
  layer.begin(Primitive::Quads);
  layer.color(1.0f, 0.2f, 0.4f, 0.0f);
  layer.vertex(-0.9f, -0.5f);
  layer.color(0.2f, 1.0f, 0.4f, 1.0f);
  layer.vertex(0.9f, -0.5f);
  layer.vertex(0.9f, 0.5f);
  layer.color(1.0f, 0.2f, 0.4f, 0.0f);
  layer.vertex(-0.9f, 0.5f);
  layer.end();
}

TEST(DrawLayer, alphaTestKeepsWhatIsAboveTheReference) {
  REQUIRE_GL_CONTEXT();
  PassState tested;
  tested.alphaTest = true;
  tested.alphaAbove = 0.5f;
  const std::vector<Pixel> picture = shaderPicture([&](DrawLayer& layer) { alphaRamp(layer, tested); });
  ASSERT_EQ(picture.size(), static_cast<size_t>(kSide * kSide));
  EXPECT_EQ(picture[32 * kSide + 8].a, 0) << "the left end has alpha 0 and is dropped";
  EXPECT_GT(picture[32 * kSide + 56].a, 200) << "the right end has alpha near 1 and stays";
  expectBackEndsAgree([&](DrawLayer& layer) { alphaRamp(layer, tested); }, "alpha test above 0.5");
  PassState blended;
  blended.blend = true;
  blended.blendSource = BlendFactor::SourceAlpha;
  blended.blendDestination = BlendFactor::OneMinusSourceAlpha;
  const auto overWhite = [&](DrawLayer& layer) {
    layer.begin(Primitive::Quads);
    layer.color(0.3f, 0.3f, 1.0f, 1.0f);
    layer.vertex(-1.0f, -0.2f);
    layer.vertex(1.0f, -0.2f);
    layer.vertex(1.0f, 1.0f);
    layer.vertex(-1.0f, 1.0f);
    layer.end();
    alphaRamp(layer, blended);
  };
  expectBackEndsAgree(overWhite, "blended by alpha over another square");
}

// ---- Passes ----

// A lit, culled, textured, alpha-tested, additive pass on the left and a plain one on the right:
// whichever runs first, neither shows anything of the other's state.
TEST(DrawLayer, aPassLeavesNothingForTheNext) {
  REQUIRE_GL_CONTEXT();
  const Textures textures;
  const auto busyPass = [&textures](DrawLayer& layer) {
    PassState busy;
    busy.lighting = true;
    busy.cullBackFaces = true;
    busy.alphaTest = true;
    busy.alphaAbove = 0.2f;
    busy.blend = true;
    busy.blendSource = BlendFactor::One;
    busy.blendDestination = BlendFactor::One;
    busy.depthTest = true;
    busy.depthWrite = false;
    busy.units[0].enabled = true;
    busy.units[0].mode = TextureMode::Replace;
    layer.bindTexture(0, textures.names[0]);
    layer.applyPass(busy);
    const float place[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    layer.setLight(place, white, white, white);
    layer.begin(Primitive::Triangles);
    layer.normal(0.0f, 0.0f, 1.0f);
    layer.texCoord(0.0f, 0.0f);
    layer.vertex(-0.9f, -0.9f);
    layer.texCoord(1.0f, 0.0f);
    layer.vertex(-0.1f, -0.9f);
    layer.texCoord(1.0f, 1.0f);
    layer.vertex(-0.1f, 0.9f);
    layer.end();
  };
  const auto plainPass = [](DrawLayer& layer) {
    PassState plain;
    plain.depthTest = true;
    layer.applyPass(plain);
    // Wound clockwise: culling left on by the pass before would drop it.
    layer.begin(Primitive::Triangles);
    layer.color(0.9f, 0.5f, 0.1f, 0.1f);
    layer.vertex(0.1f, -0.9f);
    layer.color(0.1f, 0.5f, 0.9f, 0.1f);
    layer.vertex(0.1f, 0.9f);
    layer.vertex(0.9f, -0.9f);
    layer.end();
  };
  const auto busyFirst = [&](DrawLayer& layer) {
    busyPass(layer);
    plainPass(layer);
  };
  const auto plainFirst = [&](DrawLayer& layer) {
    plainPass(layer);
    busyPass(layer);
  };
  const std::vector<Pixel> expected = fixedFunctionPicture(busyFirst);
  expectSamePicture(expected, shaderPicture(busyFirst), "the busy pass first");
  expectSamePicture(expected, shaderPicture(plainFirst), "the plain pass first");
}

// ---- Recorded draws ----

// Vertices that take their colour from the recording and vertices that take it from the moment of
// the replay, under matrix steps kept in the recording.
void recordedContent(DrawLayer& layer) {
  layer.pushMatrix();
  layer.rotate(20.0f, 0.0f, 0.0f, 1.0f);
  layer.begin(Primitive::Quads);
  layer.vertex(-0.3f, -0.3f);
  layer.vertex(0.3f, -0.3f);
  layer.vertex(0.3f, 0.3f);
  layer.vertex(-0.3f, 0.3f);
  layer.end();
  layer.translate(0.0f, 0.35f, 0.0f);
  layer.begin(Primitive::Triangles);
  layer.color(0.2f, 1.0f, 0.3f, 1.0f);
  layer.vertex(-0.2f, 0.0f);
  layer.vertex(0.2f, 0.0f);
  layer.color(1.0f, 1.0f, 0.3f, 1.0f);
  layer.vertex(0.0f, 0.3f);
  layer.end();
  layer.popMatrix();
}

void placeCopies(DrawLayer& layer, const std::function<void(DrawLayer&)>& draw) {
  layer.color(1.0f, 0.3f, 0.3f, 1.0f);
  layer.translate(-0.5f, -0.4f, 0.0f);
  draw(layer);
  // The colour the first copy's recording left current draws the second copy's square.
  layer.translate(1.0f, 0.2f, 0.0f);
  layer.scale(0.8f, 0.8f, 1.0f);
  draw(layer);
}

const auto kReplayed = [](DrawLayer& layer) {
  const unsigned int name = layer.createRecordings(1);
  ASSERT_NE(name, 0u);
  layer.beginRecording(name);
  recordedContent(layer);
  layer.endRecording();
  placeCopies(layer, [name](DrawLayer& target) { target.replay(name); });
  layer.releaseRecordings(name, 1);
};

TEST(DrawLayer, recordedDrawsReplayAsTheyWereDrawn) {
  REQUIRE_GL_CONTEXT();
  const auto direct = [](DrawLayer& layer) { placeCopies(layer, recordedContent); };
  const std::vector<Pixel> expected = fixedFunctionPicture(direct);
  expectSamePicture(expected, fixedFunctionPicture(kReplayed), "display lists against direct drawing");
  expectSamePicture(expected, shaderPicture(kReplayed), "recordings against direct drawing");
}

}  // namespace

namespace {

// ---- Core and ES contexts ----

// A hidden window of its own with a context of the kind, current while this lives, with the
// capabilities record of that context; afterwards the shared context and its record are back.
class OtherContext {
 public:
  explicit OtherContext(platform::GLContextKind kind) : saved_(platform::glCapabilities()) {
    std::string error;
    window_ = platform::createWindow("tests", kSide, kSide, 32, false, error);
    context_ = window_ != nullptr ? platform::createGLContextOfKind(window_, kind, false, error) : nullptr;
    ready_ = context_ != nullptr && platform::makeCurrent(window_, context_) && platform::loadGLEntryPoints(error);
    failure_ = error;
    if (ready_) {
      platform::setGLCapabilities(platform::readGLCapabilities(kind));
    }
  }
  ~OtherContext() {
    if (context_ != nullptr) {
      platform::releaseCurrent();
      platform::deleteGLContext(context_);
    }
    platform::destroyWindow(window_);
    ensureGLContext();
    std::string problem;
    platform::loadGLEntryPoints(problem);
    platform::setGLCapabilities(saved_);
  }
  bool ready() const { return ready_; }
  const std::string& failure() const { return failure_; }

 private:
  platform::GLCapabilities saved_;
  platform::NativeWindow* window_ = nullptr;
  platform::GLContextHandle context_ = nullptr;
  bool ready_ = false;
  std::string failure_;
};

// Every scene of the tests above that needs no texture, drawn by the fixed function.
struct ReferenceScenes {
  std::vector<std::pair<const char*, Scene>> scenes = {
      {"coloured quad", colouredQuads},
      {"fan, strip, line and point", fanStripAndLines},
      {"boxes placed by matrix steps", placedBoxes},
      {"directional light", [](DrawLayer& layer) { litHemisphere(layer, kDirectionalLight, false); }},
      {"point light with colour material", [](DrawLayer& layer) { litHemisphere(layer, kPointLight, true); }},
      {"replayed recordings", kReplayed},
  };
};

void expectSceneOn(platform::GLContextKind kind) {
  REQUIRE_GL_CONTEXT();
  const ReferenceScenes references;
  std::vector<std::vector<Pixel>> expected;
  for (const auto& [what, scene] : references.scenes) {
    expected.push_back(fixedFunctionPicture(scene));
  }
  std::vector<Pixel> combined;
  {
    const Textures textures;
    combined = fixedFunctionPicture(
        combining(textures, TextureMode::SquareTexel, TextureMode::AddTexel, TextureMode::AddTexel, 3));
  }
  const OtherContext other(kind);
  ASSERT_TRUE(other.ready()) << platform::contextKindName(kind) << ": " << other.failure();
  ASSERT_EQ(platform::glCapabilities().kind, kind);
  if (kind == platform::GLContextKind::ES) {
    EXPECT_NE(platform::glCapabilities().versionText.find("OpenGL ES"), std::string::npos);
  } else {
    GLint profile = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    EXPECT_NE(profile & GL_CONTEXT_CORE_PROFILE_BIT, 0);
  }
  for (size_t index = 0; index < expected.size(); ++index) {
    expectSamePicture(expected[index], shaderPicture(references.scenes[index].second), references.scenes[index].first);
  }
  const Textures textures;
  expectSamePicture(combined,
                    shaderPicture(combining(textures, TextureMode::SquareTexel, TextureMode::AddTexel,
                                            TextureMode::AddTexel, 3)),
                    "the titles' three units");
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(DrawLayer, aCoreContextDrawsWhatTheFixedFunctionDraws) { expectSceneOn(platform::GLContextKind::Core); }

TEST(DrawLayer, anEsContextDrawsWhatTheFixedFunctionDraws) { expectSceneOn(platform::GLContextKind::ES); }

}  // namespace

namespace {

// ---- The project's shader files ----

platform::GlslProgram* loadShaderFile(platform::GlslContext* context, const char* file, bool vertex,
                                      const char* entry) {
  const std::string path = std::string(RUN_DIR) + "/" + file;
  platform::GlslProgram* program = platform::createProgramFromFile(
      context, path.c_str(), vertex ? platform::ShaderProfile::GlslVertex : platform::ShaderProfile::GlslFragment,
      entry);
  const platform::ShaderError error = platform::getError();
  EXPECT_EQ(error, platform::ShaderError::None) << file << ": " << platform::errorString(error);
  return program;
}

void run(platform::GlslProgram* program) {
  platform::enableProfile(platform::programProfile(program));
  platform::bindProgram(program);
}

void stop(platform::GlslProgram* program) {
  platform::unbindProgram(platform::programProfile(program));
  platform::disableProfile(platform::programProfile(program));
}

// Every shader file loads; the per-pixel pair, fed its matrix as a value and the layer's vertices,
// draws the texture under a light that is all ambient.
void expectProjectShadersOn(platform::GLContextKind kind) {
  REQUIRE_GL_CONTEXT();
  const OtherContext other(kind);
  ASSERT_TRUE(other.ready()) << other.failure();
  // ES has no separable programs; the runtime links the stages in pairs there.
  EXPECT_EQ(platform::glCapabilities().separablePrograms, kind != platform::GLContextKind::ES);
  platform::getError();
  platform::GlslContext* context = platform::createShaderContext();
  EXPECT_NE(loadShaderFile(context, "volumeLines_vs.cg", true, "main"), nullptr);
  EXPECT_NE(loadShaderFile(context, "volumeLines_fs.cg", false, "main"), nullptr);
  platform::GlslProgram* vertex = loadShaderFile(context, "Basic_vert.cg", true, "basic_vs");
  platform::GlslProgram* fragment = loadShaderFile(context, "PerPixel_textured_frag.cg", false, "PerPixelPS");
  ASSERT_TRUE(vertex != nullptr && fragment != nullptr);
  const unsigned int texture = createQuadrantTexture();
  const auto scene = [&](DrawLayer& layer) {
    run(fragment);
    run(vertex);
    const float ambient[3] = {1.0f, 1.0f, 1.0f};
    platform::setMatrixParameter(platform::namedParameter(vertex, "modelViewProj"),
                                 layer.matrix(MatrixStack::ModelView).m);
    platform::setParameter3fv(platform::namedParameter(fragment, "Ka"), ambient);
    platform::GlslParameter* texmap = platform::namedParameter(fragment, "texmap");
    platform::setTextureParameter(texmap, texture);
    platform::enableTextureParameter(texmap);
    layer.programStarted();
    layer.begin(Primitive::Quads);
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& corner : corners) {
      layer.normal(0.0f, 0.0f, 1.0f);
      layer.texCoord(corner[0] < 0.0f ? 0.0f : 1.0f, corner[1] < 0.0f ? 0.0f : 1.0f);
      layer.vertex(corner[0], corner[1]);
    }
    layer.end();
    layer.programEnded();
    platform::disableTextureParameter(texmap);
    stop(vertex);
    stop(fragment);
  };
  const std::vector<Pixel> picture = shaderPicture(scene);
  ASSERT_EQ(picture.size(), static_cast<size_t>(kSide * kSide));
  const Pixel bottomLeft = picture[8 * kSide + 8];
  const Pixel topRight = picture[56 * kSide + 56];
  EXPECT_TRUE(bottomLeft.r == 255 && bottomLeft.g == 0 && bottomLeft.b == 0) << "the red texel at the bottom left";
  EXPECT_TRUE(topRight.r == 255 && topRight.g == 255 && topRight.b == 255) << "the white texel at the top right";
  glDeleteTextures(1, &texture);
  platform::destroyShaderContext(context);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(DrawLayer, theProjectShadersRunOnACoreContext) { expectProjectShadersOn(platform::GLContextKind::Core); }

TEST(DrawLayer, theProjectShadersRunOnAnEsContextInLinkedPairs) {
  expectProjectShadersOn(platform::GLContextKind::ES);
}

}  // namespace
