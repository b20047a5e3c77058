// The shader back end against the fixed function on the shared compatibility context: each scene
// is drawn through both back ends and the pictures compared.
//
// Sections: matrices, primitives, light; textures and their combinations; alpha test and blending;
// passes; recorded draws.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "core/draw_counts.h"
#include "gpu/draw_layer.h"
#include "platform/gl_capabilities.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/layer_scenes.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"

namespace {

// ---- Matrices, primitives, light ----

// The stacks' tops after GLU's and the GL's own steps, element by element and to the last bit:
// a picture drawn again and again through feedback turns the smallest difference into edges.
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
  std::unique_ptr<DrawLayer> fixed = createFixedFunctionLayer(platform::contextCapabilities());
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

  std::unique_ptr<DrawLayer> shader = createShaderLayer(platform::contextCapabilities());
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
      EXPECT_EQ(got[stack].m[element], reference) << "stack " << stack << ", element " << element;
    }
  }
  for (int element = 0; element < 16; ++element) {
    EXPECT_EQ(gotOrtho.m[element], expectedOrtho.m[element]) << "ortho element " << element;
  }
}

TEST(DrawLayer, shaderMatrixStacksRefuseToPopTheirLastMatrix) {
  REQUIRE_GL_CONTEXT();
  std::unique_ptr<DrawLayer> shader = createShaderLayer(platform::contextCapabilities());
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

// A mesh by handle draws what its arrays draw, on both back ends.
TEST(DrawLayer, aMeshByHandleDrawsWhatItsArraysDraw) {
  REQUIRE_GL_CONTEXT();
  const Scene fromArrays = [](DrawLayer& layer) { litHemisphere(layer, kPointLight, true); };
  const Scene byHandle = [](DrawLayer& layer) { litHemisphere(layer, kPointLight, true, MeshDraw::ByHandle); };
  const std::vector<Pixel> expected = fixedFunctionPicture(fromArrays);
  expectSamePicture(expected, fixedFunctionPicture(byHandle), "fixed function, by handle");
  expectSamePicture(expected, shaderPicture(byHandle), "shader back end, by handle");
}

// What does not change is handed over once: drawing a mesh again sends none of its bytes.
TEST(DrawLayer, aMeshMadeOnceUploadsNothingWhenDrawnAgain) {
  REQUIRE_GL_CONTEXT();
  std::unique_ptr<DrawLayer> shader = createShaderLayer(platform::contextCapabilities());
  ASSERT_NE(shader, nullptr);
  const float positions[12] = {-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0};
  const uint32_t indices[4] = {0, 1, 2, 3};
  const uint64_t beforeMaking = drawCounts().bytesUploaded;
  const MeshHandle mesh = shader->createMesh(Primitive::Quads, VertexArrays{positions, nullptr, nullptr, 4}, indices, 4);
  ASSERT_NE(mesh, 0u);
  // Twelve floats of positions, and the quad's six corners as two-byte indices.
  EXPECT_EQ(drawCounts().bytesUploaded - beforeMaking, 12 * sizeof(float) + 6 * sizeof(uint16_t));
  const uint64_t beforeDrawing = drawCounts().bytesUploaded;
  shader->drawMesh(mesh);
  shader->drawMesh(mesh);
  EXPECT_EQ(drawCounts().bytesUploaded, beforeDrawing);
  shader->releaseMesh(mesh);
  shader->releaseMesh(mesh);
}

// A quad given vertex by vertex streams only what changes within it: a textured 2D quad carries
// positions and texture coordinates, not a normal, a colour or the other units' coordinates.
TEST(DrawLayer, aStreamedRunCarriesOnlyTheAttributesThatChangeWithinIt) {
  REQUIRE_GL_CONTEXT();
  std::unique_ptr<DrawLayer> shader = createShaderLayer(platform::contextCapabilities());
  ASSERT_NE(shader, nullptr);
  shader->color(0.5f, 0.5f, 0.5f, 1.0f);
  const uint64_t before = drawCounts().bytesUploaded;
  shader->begin(Primitive::Quads);
  const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (const auto& corner : corners) {
    shader->texCoord(corner[0], corner[1]);
    shader->vertex(corner[0], corner[1]);
  }
  shader->end();
  // Six corners (two triangles) of a position and one unit's four coordinates.
  EXPECT_EQ(drawCounts().bytesUploaded - before, 6 * (3 + 4) * sizeof(float));
}

// A pass prepared while loading draws without compiling, linking or asking the driver anything.
TEST(DrawLayer, aPreparedPassDrawsWithoutBuildingAProgramOrAskingTheDriver) {
  REQUIRE_GL_CONTEXT();
  std::unique_ptr<DrawLayer> shader = createShaderLayer(platform::contextCapabilities());
  ASSERT_NE(shader, nullptr);
  PassState pass;
  pass.colorMaterial = true;
  pass.alphaTest = true;
  pass.units[0].enabled = true;
  pass.units[0].mode = TextureMode::Replace;
  const uint64_t linksBefore = drawCounts().programLinks;
  shader->preparePass(pass);
  EXPECT_EQ(drawCounts().programLinks, linksBefore + 1);
  const Textures textures;
  const DrawCounts before = drawCounts();
  shader->bindTexture(0, textures.names[0]);
  shader->applyPass(pass);
  texturedSquare(*shader);
  shader->applyPass(PassState());
  shader->bindTexture(0, 0);
  EXPECT_EQ(drawCounts().programLinks, before.programLinks);
  EXPECT_EQ(drawCounts().queries, before.queries);
}

// A mesh that names a vertex past its arrays is refused on either back end, with a log line.
TEST(DrawLayer, aMeshNamingAVertexPastItsArraysIsRefused) {
  REQUIRE_GL_CONTEXT();
  const float positions[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  const uint32_t indices[3] = {0, 1, 3};
  const PrivateWorkingFolder working;
  for (const bool shader : {false, true}) {
    const std::unique_ptr<DrawLayer> layer = shader ? createShaderLayer(platform::contextCapabilities())
                                                    : createFixedFunctionLayer(platform::contextCapabilities());
    ASSERT_NE(layer, nullptr);
    const LogTail log;
    EXPECT_EQ(layer->createMesh(Primitive::Triangles, VertexArrays{positions, nullptr, nullptr, 3}, indices, 3), 0u)
        << layer->backEndName();
    EXPECT_NE(log.text().find("a mesh of 3 vertices names a vertex past its end"), std::string::npos)
        << layer->backEndName() << ": " << log.text();
  }
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

// ---- Textures and their combinations ----


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
  // The GL compares at the surface's 8 bits: an alpha of 0.501 rounds to the reference's 128 and
  // fails, one of 0.51 (130) passes.
  const auto nearReference = [&](DrawLayer& layer) {
    layer.applyPass(tested);
    for (const float alpha : {0.501f, 0.51f}) {
      const float left = alpha < 0.505f ? -0.9f : 0.1f;
      layer.color(0.8f, 0.8f, 0.2f, alpha);
      layer.begin(Primitive::Quads);
      layer.vertex(left, -0.5f);
      layer.vertex(left + 0.8f, -0.5f);
      layer.vertex(left + 0.8f, 0.5f);
      layer.vertex(left, 0.5f);
      layer.end();
    }
  };
  expectBackEndsAgree(nearReference, "alphas a rounding step either side of the reference");
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

// A clear reaches the whole viewport whatever the pass: a scissor box and depth writes off are set
// aside for it, and a square drawn after it with the depth test shows only if the depth was cleared.
TEST(DrawLayer, aClearReachesTheWholeViewportWhateverThePass) {
  REQUIRE_GL_CONTEXT();
  const auto scene = [](DrawLayer& layer) {
    PassState boxed;
    boxed.scissorTest = true;
    boxed.depthTest = true;
    boxed.depthWrite = false;
    layer.setScissor(Viewport{8, 8, 8, 8});
    layer.applyPass(PassState());
    layer.begin(Primitive::Quads);
    layer.vertex(-1.0f, -1.0f, -0.5f);
    layer.vertex(1.0f, -1.0f, -0.5f);
    layer.vertex(1.0f, 1.0f, -0.5f);
    layer.vertex(-1.0f, 1.0f, -0.5f);
    layer.end();
    layer.applyPass(boxed);
    layer.setClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    layer.clear(true, true);
    PassState tested;
    tested.depthTest = true;
    layer.applyPass(tested);
    layer.setScissor(Viewport{0, 0, kSide, kSide});
    layer.color(0.9f, 0.1f, 0.1f, 1.0f);
    layer.begin(Primitive::Triangles);
    layer.vertex(-1.0f, -1.0f, 0.5f);
    layer.vertex(1.0f, -1.0f, 0.5f);
    layer.vertex(-1.0f, 1.0f, 0.5f);
    layer.end();
  };
  const std::vector<Pixel> picture = shaderPicture(scene);
  ASSERT_EQ(picture.size(), static_cast<size_t>(kSide * kSide));
  EXPECT_EQ(picture[60 * kSide + 60].b, 153) << "the clear colour outside the scissor box";
  EXPECT_EQ(picture[4 * kSide + 4].r, 230) << "the triangle behind the square, drawn over a cleared depth";
  expectBackEndsAgree(scene, "a clear under a scissor box and without depth writes");
}

// ---- Recorded draws ----

TEST(DrawLayer, recordedDrawsReplayAsTheyWereDrawn) {
  REQUIRE_GL_CONTEXT();
  const auto direct = [](DrawLayer& layer) { placeCopies(layer, recordedContent); };
  const std::vector<Pixel> expected = fixedFunctionPicture(direct);
  expectSamePicture(expected, fixedFunctionPicture(replayedCopies), "display lists against direct drawing");
  expectSamePicture(expected, shaderPicture(replayedCopies), "recordings against direct drawing");
}

}  // namespace
