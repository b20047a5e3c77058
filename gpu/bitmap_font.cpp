#include "gpu/bitmap_font.h"

#include <GL/glew.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/debug_log.h"
#include "gpu/pixel_store.h"
#include "gpu/textured_quad.h"
#include "platform/gl_binding_record.h"
#include "platform/gl_capabilities.h"

BitmapFont& bitmapFont() {
  static BitmapFont font;
  return font;
}

namespace {

// Glyphs stand a texel apart in the atlas, so that no quad's edge can reach a neighbour.
constexpr int kGlyphGap = 1;
constexpr int kAtlasWidth = 512;

const AtlasGlyph* glyphOf(const BitmapFont& font, unsigned char code) {
  if (code < kFontFirstCharacter || code >= kFontFirstCharacter + kFontCharacterCount) {
    return nullptr;
  }
  return &font.glyphs[code - kFontFirstCharacter];
}

int powerOfTwoAtLeast(int value) {
  int side = 1;
  while (side < value) {
    side *= 2;
  }
  return side;
}

// Places every glyph in rows from the bottom left; returns the height the rows take.
int placeGlyphs(const std::vector<platform::GlyphBitmap>& bitmaps, int atlasWidth, AtlasGlyph* glyphs) {
  int x = kGlyphGap;
  int y = kGlyphGap;
  int rowHeight = 0;
  for (size_t i = 0; i < bitmaps.size(); ++i) {
    const platform::GlyphBitmap& bitmap = bitmaps[i];
    if (x + bitmap.width + kGlyphGap > atlasWidth) {
      x = kGlyphGap;
      y += rowHeight + kGlyphGap;
      rowHeight = 0;
    }
    AtlasGlyph& glyph = glyphs[i];
    glyph.atlasX = x;
    glyph.atlasY = y;
    glyph.width = bitmap.width;
    glyph.height = bitmap.height;
    glyph.left = bitmap.left;
    glyph.below = bitmap.height - bitmap.top;
    glyph.advanceX = bitmap.advanceX;
    x += bitmap.width + kGlyphGap;
    rowHeight = std::max(rowHeight, bitmap.height);
  }
  return y + rowHeight + kGlyphGap;
}

// White texels whose alpha is the glyph's bit: 255 where it is set, 0 elsewhere. Both the bitmap's
// rows and the atlas's run bottom-up.
void copyBits(const platform::GlyphBitmap& bitmap, const AtlasGlyph& glyph, int atlasWidth,
              std::vector<uint8_t>& texels) {
  const size_t rowBytes = static_cast<size_t>(bitmap.width + 7) / 8;
  assert(bitmap.bits.size() >= rowBytes * static_cast<size_t>(bitmap.height) && "glyph bits shorter than its rows");
  if (bitmap.bits.size() < rowBytes * static_cast<size_t>(bitmap.height)) {
    return;
  }
  for (int row = 0; row < bitmap.height; ++row) {
    for (int column = 0; column < bitmap.width; ++column) {
      const uint8_t byte = bitmap.bits[static_cast<size_t>(row) * rowBytes + static_cast<size_t>(column / 8)];
      const bool set = ((byte >> (7 - column % 8)) & 1) != 0;
      const size_t at =
          (static_cast<size_t>(glyph.atlasY + row) * static_cast<size_t>(atlasWidth) + static_cast<size_t>(glyph.atlasX + column)) * 4;
      texels[at + 3] = set ? 255 : 0;
    }
  }
}

// An RGBA texture sampled texel for texel, for any context kind.
unsigned int uploadAtlas(const std::vector<uint8_t>& texels, int width, int height) {
  GLuint name = 0;
  glGenTextures(1, &name);
  if (name == 0) {
    return 0;
  }
  drawLayer().bindTexture(0, name);
  {
    const PixelStoreScope rows(PixelDirection::Unpack, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  drawLayer().bindTexture(0, 0);
  return name;
}

}  // namespace

PassState bitmapTextPass() {
  // From the context's defaults (no blending, depth test, culling, lighting, colour material,
  // scissor or texturing): the atlas on unit 0 and its coverage cut at one half. Colour material
  // stays off so that the text's colour never becomes the lit surfaces' material; depth writes
  // stay on as the scenes keep them, and with the test off nothing is written.
  PassState pass;
  pass.depthWrite = true;
  pass.alphaTest = true;
  pass.alphaAbove = 0.5f;
  pass.units[0] = TextureUnitState{true, TextureMode::Modulate};
  return pass;
}

BitmapFont::~BitmapFont() { releaseFont(); }

bool BitmapFont::createBitmapFont(const char* face, int size) {
  releaseFont();
  platform::FontSource source;
  const bool opened = openTypeface(face, source);
  std::vector<platform::GlyphBitmap> bitmaps(kFontCharacterCount);
  for (int i = 0; opened && i < kFontCharacterCount; ++i) {
    if (!source.glyphBitmap(static_cast<unsigned int>(kFontFirstCharacter + i), size, bitmaps[static_cast<size_t>(i)])) {
      bitmaps[static_cast<size_t>(i)] = platform::GlyphBitmap();
    }
  }
  const int largest = platform::contextCapabilities().largestTextureSide;
  const int width = std::min(kAtlasWidth, largest);
  // Power-of-two sides, so that drivers without textures of any size take the atlas too.
  const int height = powerOfTwoAtLeast(placeGlyphs(bitmaps, width, glyphs));
  if (height > largest) {
    DebugLog::append(kLogFileName, "Font: the %s glyphs at %d pixels need a %d x %d atlas, beyond this driver's "
                     "textures; the text stays empty\r\n", face, size, width, height);
    return false;
  }
  // White everywhere; alpha 0 until a glyph's bit sets it.
  std::vector<uint8_t> texels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 255);
  for (size_t i = 3; i < texels.size(); i += 4) {
    texels[i] = 0;
  }
  for (int i = 0; i < kFontCharacterCount; ++i) {
    copyBits(bitmaps[static_cast<size_t>(i)], glyphs[i], width, texels);
  }
  texture = uploadAtlas(texels, width, height);
  if (texture == 0) {
    DebugLog::append(kLogFileName, "Font: no texture for the %s glyph atlas; the text stays empty\r\n", face);
    return false;
  }
  atlasWidth = width;
  atlasHeight = height;
  return opened;
}

void BitmapFont::releaseFont() {
  if (texture != 0) {
    platform::deleteTextures(1, &texture);
  }
  texture = 0;
  atlasWidth = atlasHeight = 0;
}

void BitmapFont::drawText(float x, float y, const char* text) const {
  if (texture == 0) {
    return;
  }
  DrawLayer& layer = drawLayer();
  layer.bindTexture(0, texture);
  const float toU = 1.0f / static_cast<float>(atlasWidth);
  const float toV = 1.0f / static_cast<float>(atlasHeight);
  float penX = x;
  for (const char* at = text; *at != '\0'; ++at) {
    const AtlasGlyph* glyph = glyphOf(*this, static_cast<unsigned char>(*at));
    if (glyph == nullptr) {
      continue;
    }
    // The picture's lower-left corner on a whole pixel, where a bitmap at this pen would start.
    const float left = std::floor(penX + static_cast<float>(glyph->left));
    const float bottom = std::floor(y - static_cast<float>(glyph->below));
    const float right = left + static_cast<float>(glyph->width);
    const float top = bottom + static_cast<float>(glyph->height);
    drawTexturedQuad(static_cast<float>(glyph->atlasX) * toU, static_cast<float>(glyph->atlasY) * toV,
                     static_cast<float>(glyph->atlasX + glyph->width) * toU,
                     static_cast<float>(glyph->atlasY + glyph->height) * toV, left, bottom, right, top);
    penX += glyph->advanceX;
  }
  layer.bindTexture(0, 0);
}
