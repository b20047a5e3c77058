// Extruded text models. The front cap maps the top half of a chrome picture across the whole
// line, the walls and the back map its darker lower half, so the letters read as solid even
// when drawn unlit.
#include "tools/text_models.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/program_name.h"
#include "platform/font_source.h"

#include "tools/mesh_shapes.h"
#include "tools/noise_field.h"
#include "gpu/contour_tessellator.h"
#include "tools/texture_region.h"
#include "tools/utf8_text.h"

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

// One letter's contours, or a whole line's.
using Outline = std::vector<std::vector<Vector3>>;

struct Extent {
  float minX = 0.0f;
  float minY = 0.0f;
  float maxX = 0.0f;
  float maxY = 0.0f;
};

Extent measure(const std::vector<Outline>& letters) {
  Extent extent;
  bool first = true;
  for (const Outline& letter : letters) {
    for (const auto& contour : letter) {
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
  }
  return extent;
}

// Moves the line's box centre to the origin and scales it into the allowed box.
void fitOutline(std::vector<Outline>* letters) {
  const Extent extent = measure(*letters);
  const float width = extent.maxX - extent.minX;
  const float height = extent.maxY - extent.minY;
  if (width <= 0.0f || height <= 0.0f) {
    return;
  }
  const float scale = std::min(kTextMaxWidth / width, kTextMaxHeight / height);
  const float centreX = 0.5f * (extent.minX + extent.maxX);
  const float centreY = 0.5f * (extent.minY + extent.maxY);
  for (Outline& letter : *letters) {
    for (auto& contour : letter) {
      for (Vector3& p : contour) {
        p = Vector3((p.x - centreX) * scale, (p.y - centreY) * scale, 0.0f);
      }
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

bool openTextFont(platform::FontSource& font, platform::FontMatch& match) {
  return platform::findFont(kTitleFamily, match) && font.open(match);
}

std::string fontName(const platform::FontMatch& match) { return match.family + " " + match.style; }

// The line's glyphs side by side at their advances, each contour running counter-clockwise
// around filled area (the filled side on its left), in em units. Characters without contours
// (spaces) only move the pen on.
bool loadLineOutline(const std::u32string& line, std::vector<Outline>* letters) {
  platform::FontMatch match;
  platform::FontSource font;
  if (!openTextFont(font, match)) {
    std::fprintf(stderr, "%s: text models: neither Arial Black nor a bold sans face can be read\n", kToolName);
    return false;
  }
  float penX = 0.0f;
  for (const char32_t c : line) {
    platform::GlyphOutline glyph;
    if (!font.hasGlyph(c) || !font.glyphOutline(c, kCurveDeviationEm, glyph)) {
      std::fprintf(stderr, "%s: text models: %s has no outline for U+%04X\n", kToolName, fontName(match).c_str(),
                   static_cast<unsigned>(c));
      return false;
    }
    Outline letter;
    for (const auto& points : glyph.contours) {
      std::vector<Vector3> contour;
      for (const platform::OutlinePoint& p : points) {
        contour.emplace_back(penX + p.x, p.y, 0.0f);
      }
      if (glyph.filledOnRight) {
        std::reverse(contour.begin(), contour.end());
      }
      letter.push_back(contour);
    }
    if (!letter.empty()) {
      letters->push_back(letter);
    }
    penX += glyph.advanceX;
  }
  return true;
}

// Caps and walls of one letter; texture coordinates span the whole line's extent, so the chrome
// picture runs across the line as one piece.
void addLetter(const Outline& letter, const FlatTriangles& flat, const Extent& lineExtent, BakedMesh* mesh) {
  MeshBuilder builder(mesh);
  addCaps(builder, flat, lineExtent);
  useRegion(builder, kWallRegion);
  builder.setSmoothingGroups(4);
  for (const auto& contour : letter) {
    addWall(builder, contour, lineExtent);
  }
}

}  // namespace

char32_t capitalOf(char32_t c) {
  const bool latin1Small = c >= 0xE0 && c <= 0xFE && c != 0xF7;
  if ((c >= 'a' && c <= 'z') || latin1Small || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
      (c >= 0x430 && c <= 0x44F)) {
    return c - 0x20;
  }
  if (c >= 0x450 && c <= 0x45F) {
    return c - 0x50;
  }
  // Latin Extended-A pairs each capital with the small letter after it: on even code points in
  // these runs, on odd ones in the other two.
  const bool evenCapitals = (c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
  const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if ((evenCapitals && c % 2 == 1) || (oddCapitals && c % 2 == 0)) {
    return c - 1;
  }
  switch (c) {
    case 0xFF:  // y with diaeresis
      return 0x178;
    case 0x131:  // dotless i
      return 'I';
    case 0x17F:  // long s
      return 'S';
    case 0x3C2:  // final sigma
      return 0x3A3;
    default:
      return c;
  }
}

std::u32string toCapitals(const std::u32string& text) {
  std::u32string capitals = text;
  for (char32_t& c : capitals) {
    c = capitalOf(c);
  }
  return capitals;
}

MissingCharacter findMissingCharacter(const std::u32string& line) {
  MissingCharacter missing;
  platform::FontMatch match;
  platform::FontSource font;
  if (!openTextFont(font, match)) {
    return missing;
  }
  missing.fontName = fontName(match);
  for (const char32_t c : line) {
    if (!font.hasGlyph(capitalOf(c))) {
      missing.found = true;
      missing.character = c;
      break;
    }
  }
  return missing;
}

bool buildTextModel(const std::string& line, BakedModel* model) {
  std::u32string characters;
  if (!decodeUtf8(line, &characters)) {
    std::fprintf(stderr, "%s: text models: the line '%s' is not UTF-8 text\n", kToolName, line.c_str());
    return false;
  }
  std::vector<Outline> letters;
  if (!loadLineOutline(toCapitals(characters), &letters)) {
    return false;
  }
  fitOutline(&letters);
  const Extent extent = measure(letters);
  model->materials = {texturedMaterial(kMaterialName, kPictureName)};
  model->meshes.clear();
  for (size_t i = 0; i < letters.size(); ++i) {
    FlatTriangles flat;
    if (!tessellateContours(letters[i], &flat)) {
      std::fprintf(stderr, "%s: text models: cannot cut letter %zu of '%s' into triangles\n", kToolName, i + 1, line.c_str());
      return false;
    }
    if (flat.triangles.empty()) {
      continue;
    }
    BakedMesh mesh = namedMesh("letter" + std::to_string(model->meshes.size() + 1), kMaterialName);
    addLetter(letters[i], flat, extent, &mesh);
    model->meshes.push_back(mesh);
  }
  if (model->meshes.empty()) {
    model->meshes.push_back(namedMesh("text", kMaterialName));
  }
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
