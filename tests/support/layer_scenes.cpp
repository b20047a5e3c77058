#include "tests/support/layer_scenes.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/gl_binding_record.h"
#include "tests/support/offscreen_surface.h"

namespace {

// Texels of three 2 × 2 textures, bottom row first: lines, titles and bubbles of a sort.
const unsigned char kFirstTexels[16] = {200, 40, 0, 255, 90, 180, 30, 128, 20, 60, 220, 64, 255, 255, 255, 255};
const unsigned char kSecondTexels[16] = {30, 30, 120, 255, 0, 100, 0, 255, 100, 0, 60, 255, 10, 20, 30, 255};
const unsigned char kThirdTexels[16] = {0, 0, 90, 255, 60, 0, 0, 255, 0, 70, 0, 255, 40, 40, 40, 255};

}  // namespace

const float kDirectionalLight[4] = {0.4f, 1.0f, 0.6f, 0.0f};
const float kPointLight[4] = {1.5f, 1.0f, 2.0f, 1.0f};

void perspectiveView(DrawLayer& layer) {
  layer.matrixMode(MatrixStack::Projection);
  layer.perspective(50.0, 1.0, 1.0, 100.0);
  layer.matrixMode(MatrixStack::ModelView);
  layer.lookAt(0.5, 1.0, 4.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
}

void colouredQuads(DrawLayer& layer) {
  // Colours that change evenly across each quad (the fourth corner's is the first and third's sum
  // less the second's), so either diagonal a driver splits a quad along gives the same picture.
  const float colours[4][4] = {{1, 0, 0, 1}, {0.5f, 0.5f, 0, 1}, {0, 1, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f, 0.5f}};
  // Anticlockwise, then clockwise, as the shimmer grid gives its corners.
  const float corners[2][4][2] = {{{-0.9f, -0.9f}, {0.1f, -0.9f}, {0.1f, 0.1f}, {-0.9f, 0.1f}},
                                  {{0.2f, 0.2f}, {0.2f, 0.9f}, {0.9f, 0.9f}, {0.9f, 0.2f}}};
  layer.begin(Primitive::Quads);
  for (const auto& quad : corners) {
    for (int corner = 0; corner < 4; ++corner) {
      layer.color(colours[corner]);
      layer.vertex(quad[corner][0], quad[corner][1]);
    }
  }
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

namespace {

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

}  // namespace

void litHemisphere(DrawLayer& layer, const float lightPosition[4], bool colorMaterial, MeshDraw draw) {
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
  const VertexArrays arrays = kHemisphere.arrays(true, false);
  const int indexCount = static_cast<int>(kHemisphere.indices.size());
  if (draw == MeshDraw::FromArrays) {
    layer.drawIndexed(Primitive::Triangles, arrays, kHemisphere.indices.data(), indexCount);
  } else {
    const MeshHandle mesh = layer.createMesh(Primitive::Triangles, arrays, kHemisphere.indices.data(), indexCount);
    layer.drawMesh(mesh);
    layer.releaseMesh(mesh);
  }
  layer.popMatrix();
}

Textures::Textures() {
  names[0] = createTwoByTwoTexture(kFirstTexels);
  names[1] = createTwoByTwoTexture(kSecondTexels);
  names[2] = createTwoByTwoTexture(kThirdTexels);
}

Textures::~Textures() { platform::deleteTextures(kDrawTextureUnits, names); }

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

void placeCopies(DrawLayer& layer, const Scene& draw) {
  layer.color(1.0f, 0.3f, 0.3f, 1.0f);
  layer.translate(-0.5f, -0.4f, 0.0f);
  draw(layer);
  // The colour the first copy's recording left current draws the second copy's square.
  layer.translate(1.0f, 0.2f, 0.0f);
  layer.scale(0.8f, 0.8f, 1.0f);
  draw(layer);
}

void replayedCopies(DrawLayer& layer) {
  const unsigned int name = layer.createRecordings(1);
  ASSERT_NE(name, 0u);
  layer.beginRecording(name);
  recordedContent(layer);
  layer.endRecording();
  placeCopies(layer, [name](DrawLayer& target) { target.replay(name); });
  layer.releaseRecordings(name, 1);
}
