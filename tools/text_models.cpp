// Extruded text models. The front cap maps the top half of a chrome picture across the whole
// line, the walls and the back map its darker lower half, so the letters read as solid even
// when drawn unlit.
#include "tools/text_models.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/font_source.h"

#include "tools/mesh_shapes.h"
#include "tools/noise_field.h"
#include "gpu/contour_tessellator.h"
#include "tools/texture_region.h"

namespace baker {

namespace {

constexpr const char* kMaterialName = "chrome";
constexpr const char* kPictureName = "textmetal.jpg";
constexpr int kPictureSize = 256;

constexpr TextureRegion kFrontRegion{0.0f, 0.5f, 1.0f, 1.0f};
constexpr TextureRegion kWallRegion{0.0f, 0.0f, 1.0f, 0.5f};

// Walls are smooth across outline corners gentler than this (cosine of the angle).
constexpr float kSmoothCornerCosine = 0.8f;
constexpr const char* kTitleFamily = "Arial Black";
constexpr float kCurveDeviationEm = 0.004f;

struct Extent {
  float minX = 0.0f;
  float minY = 0.0f;
  float maxX = 0.0f;
  float maxY = 0.0f;
};

Extent measure(const std::vector<std::vector<Vector3>>& contours) {
  Extent extent;
  bool first = true;
  for (const auto& contour : contours) {
    for (const Vector3& p : contour) {
      if (first) {
        extent = {p.x, p.y, p.x, p.y};
        first = false;
      }
      extent.minX = std::min(extent.minX, p.x);
      extent.minY = std::min(extent.minY, p.y);
      extent.maxX = std::max(extent.maxX, p.x);
      extent.maxY = std::max(extent.maxY, p.y);
    }
  }
  return extent;
}

// Moves the outline's box centre to the origin and scales it into the allowed box.
void fitOutline(std::vector<std::vector<Vector3>>* contours) {
  const Extent extent = measure(*contours);
  const float width = extent.maxX - extent.minX;
  const float height = extent.maxY - extent.minY;
  if (width <= 0.0f || height <= 0.0f) {
    return;
  }
  const float scale = std::min(kTextMaxWidth / width, kTextMaxHeight / height);
  const float centreX = 0.5f * (extent.minX + extent.maxX);
  const float centreY = 0.5f * (extent.minY + extent.maxY);
  for (auto& contour : *contours) {
    for (Vector3& p : contour) {
      p = Vector3((p.x - centreX) * scale, (p.y - centreY) * scale, 0.0f);
    }
  }
}

void addCaps(MeshBuilder& builder, const FlatTriangles& flat, const Extent& extent) {
  const float halfDepth = 0.5f * kTextDepth;
  const float width = extent.maxX - extent.minX;
  const float height = extent.maxY - extent.minY;
  for (int side = 0; side < 2; ++side) {
    const bool front = side == 0;
    useRegion(builder, front ? kFrontRegion : kWallRegion);
    builder.setSmoothingGroups(front ? 1u : 2u);
    const std::uint32_t first = builder.vertexCount();
    for (const Vector3& p : flat.points) {
      const float u = (p.x - extent.minX) / width;
      const float v = front ? (p.y - extent.minY) / height : 0.05f;
      builder.addVertex(Vector3(p.x, p.y, front ? halfDepth : -halfDepth), u, v);
    }
    for (const auto& triangle : flat.triangles) {
      const std::uint32_t a = first + triangle[0];
      const std::uint32_t b = first + triangle[1];
      const std::uint32_t c = first + triangle[2];
      if (front) {
        builder.addTriangle(a, b, c);
      } else {
        builder.addTriangle(a, c, b);
      }
    }
  }
}

// One wall around a contour. The filled side is on the contour's left, so the wall faces right.
void addWall(MeshBuilder& builder, const std::vector<Vector3>& contour, const Extent& extent) {
  const size_t count = contour.size();
  const float halfDepth = 0.5f * kTextDepth;
  const float width = extent.maxX - extent.minX;
  // Where the outline turns sharply, the two edges get their own vertices (a hard edge).
  std::vector<bool> sharp(count);
  for (size_t i = 0; i < count; ++i) {
    const Vector3 incoming = unitVector(contour[i] - contour[(i + count - 1) % count]);
    const Vector3 outgoing = unitVector(contour[(i + 1) % count] - contour[i]);
    sharp[i] = incoming.dot(outgoing) < kSmoothCornerCosine;
  }
  // Vertex pairs (front, back) leaving each point and arriving at each point.
  std::vector<std::uint32_t> leaving(count);
  std::vector<std::uint32_t> arriving(count);
  for (size_t i = 0; i < count; ++i) {
    const float u = 0.1f + 0.8f * (contour[i].x - extent.minX) / width;
    leaving[i] = builder.addVertex(Vector3(contour[i].x, contour[i].y, halfDepth), u, 1.0f);
    builder.addVertex(Vector3(contour[i].x, contour[i].y, -halfDepth), u, 0.0f);
    arriving[i] = leaving[i];
    if (sharp[i]) {
      arriving[i] = builder.addVertex(Vector3(contour[i].x, contour[i].y, halfDepth), u, 1.0f);
      builder.addVertex(Vector3(contour[i].x, contour[i].y, -halfDepth), u, 0.0f);
    }
  }
  for (size_t i = 0; i < count; ++i) {
    const size_t j = (i + 1) % count;
    const std::uint32_t frontFrom = leaving[i];
    const std::uint32_t frontTo = arriving[j];
    // Going from i to j along the contour with +z up, the right side faces out: back(i),
    // back(j), front(j), front(i) runs counter-clockwise seen from there.
    builder.addQuad(frontFrom + 1, frontTo + 1, frontTo, frontFrom);
  }
}

Colour paintFront(float u, float v, const NoiseField& noise) {
  // Chrome: sky blue above a dark horizon line, warm ground glow below, fine brushed streaks.
  const float streak = noise.fractal(u * 2.0f, v * 96.0f, 3) * 0.05f;
  Colour colour;
  if (v > 0.52f) {
    const float t = (v - 0.52f) / 0.48f;
    colour = mixColour({0.55f, 0.68f, 0.9f}, {0.98f, 0.99f, 1.0f}, std::pow(t, 0.7f));
  } else if (v > 0.47f) {
    colour = {0.12f, 0.12f, 0.2f};
  } else {
    const float t = v / 0.47f;
    colour = mixColour({0.95f, 0.72f, 0.45f}, {0.45f, 0.3f, 0.28f}, t);
  }
  return {colour.r + streak, colour.g + streak, colour.b + streak};
}

Colour paintWall(float u, float v, const NoiseField& noise) {
  // Brushed steel, lit along the front edge (v = 1) and falling into shadow toward the back.
  const float streak = noise.fractal(u * 64.0f, v * 2.0f, 3) * 0.04f;
  const float light = 0.12f + 0.5f * std::pow(v, 1.6f) + (v > 0.93f ? 0.3f : 0.0f);
  return {light * 0.85f + streak, light * 0.9f + streak, light + streak};
}

// The line's glyphs side by side at their advances, each contour running counter-clockwise
// around filled area (the filled side on its left), in em units.
bool loadLineOutline(const std::string& line, std::vector<std::vector<Vector3>>* contours) {
  platform::FontMatch match;
  platform::FontSource font;
  if (!platform::findFont(kTitleFamily, match) || !font.open(match)) {
    std::fprintf(stderr, "text models: neither Arial Black nor a bold sans face can be read\n");
    return false;
  }
  float penX = 0.0f;
  for (unsigned char c : line) {
    platform::GlyphOutline glyph;
    if (!font.glyphOutline(c, kCurveDeviationEm, glyph)) {
      continue;
    }
    for (const auto& points : glyph.contours) {
      std::vector<Vector3> contour;
      for (const platform::OutlinePoint& p : points) {
        contour.emplace_back(penX + p.x, p.y, 0.0f);
      }
      if (glyph.filledOnRight) {
        std::reverse(contour.begin(), contour.end());
      }
      contours->push_back(contour);
    }
    penX += glyph.advanceX;
  }
  return true;
}

}  // namespace

std::string toCapitals(const std::string& text) {
  std::string capitals = text;
  for (char& c : capitals) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return capitals;
}

bool buildTextModel(const std::string& line, BakedModel* model) {
  std::vector<std::vector<Vector3>> contours;
  if (!loadLineOutline(toCapitals(line), &contours)) {
    return false;
  }
  fitOutline(&contours);
  FlatTriangles flat;
  if (!tessellateContours(contours, &flat)) {
    std::fprintf(stderr, "text models: cannot cut the outline of '%s' into triangles\n", line.c_str());
    return false;
  }
  model->materials = {texturedMaterial(kMaterialName, kPictureName)};
  model->meshes.clear();
  BakedMesh mesh = namedMesh("text", kMaterialName);
  MeshBuilder builder(&mesh);
  const Extent extent = measure(contours);
  if (!flat.triangles.empty()) {
    addCaps(builder, flat, extent);
    useRegion(builder, kWallRegion);
    builder.setSmoothingGroups(4);
    for (const auto& contour : contours) {
      addWall(builder, contour, extent);
    }
  }
  model->meshes.push_back(mesh);
  return true;
}

std::vector<ModelPicture> paintTextPictures() {
  BakedPicture picture(kPictureSize, kPictureSize, 3);
  const NoiseField noise(0x6d6574616cull, 128);
  paintRegion(picture, kFrontRegion, [&](float u, float v) { return paintFront(u, v, noise); });
  paintRegion(picture, kWallRegion, [&](float u, float v) { return paintWall(u, v, noise); });
  return {{kPictureName, picture}};
}

}  // namespace baker
