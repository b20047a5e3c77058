#include "gpu/bitmap_font.h"

#include <GL/glew.h>

#include "gpu/typeface.h"

BitmapFont& bitmapFont() {
  static BitmapFont font;
  return font;
}

namespace {

void compileGlyph(platform::FontSource& source, unsigned int code, int size) {
  platform::GlyphBitmap glyph;
  if (!source.isOpen() || !source.glyphBitmap(code, size, glyph)) {
    return;
  }
  // The bitmap's lower-left corner sits `left` pixels right of the raster position and
  // height - top pixels below the baseline.
  glBitmap(glyph.width, glyph.height, static_cast<float>(-glyph.left), static_cast<float>(glyph.height - glyph.top),
           glyph.advanceX, 0.0f, glyph.bits.empty() ? nullptr : glyph.bits.data());
}

}  // namespace

BitmapFont::~BitmapFont() { releaseFont(); }

bool BitmapFont::createBitmapFont(const char* face, int size) {
  releaseFont();
  listBase = reserveFontLists();
  if (listBase == -1) {
    return false;
  }
  const GLuint base = static_cast<GLuint>(listBase);
  platform::FontSource source;
  const bool opened = openTypeface(face, source);
  // The glyph rows are packed bytes; the pixel-store state is read when each list is compiled.
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
  for (int i = 0; i < kFontCharacterCount; ++i) {
    glNewList(base + static_cast<GLuint>(i), GL_COMPILE);
    compileGlyph(source, static_cast<unsigned int>(kFontFirstCharacter + i), size);
    glEndList();
  }
  glPopClientAttrib();
  return opened;
}

void BitmapFont::releaseFont() { deleteFontLists(listBase); }
