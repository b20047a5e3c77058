#include "gpu/time_overlay.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstring>

#include "core/input_state.h"
#include "gpu/bitmap_font.h"
#include "gpu/matrix_helpers.h"

void drawTimeOverlay(float timeSeconds, float framesPerSecond, bool paused, SurfaceSize surfaceSize) {
  const BitmapFont& font = bitmapFont();
  if (font.listBase < 0) {
    return;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%6.1f s  %5.1f fps%s", static_cast<double>(timeSeconds),
                static_cast<double>(framesPerSecond), paused ? "  paused" : "");
  // The surfaces' size on a line of its own: with "paused" the first line fills an 800-pixel window.
  char sizeText[48];
  std::snprintf(sizeText, sizeof sizeText, "surfaces %d x %d", surfaceSize.width, surfaceSize.height);
  const InputState& input = inputState();
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIST_BIT);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  pushMatrices();
  setOrtho2D(0.0f, static_cast<float>(input.viewportWidth), 0.0f, static_cast<float>(input.viewportHeight));
  glColor3f(1.0f, 1.0f, 0.6f);
  // The lists hold the characters from 32 on.
  glListBase(static_cast<GLuint>(font.listBase) - 32u);
  glRasterPos2f(12.0f, static_cast<float>(input.viewportHeight) - 44.0f);
  glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
  glRasterPos2f(12.0f, static_cast<float>(input.viewportHeight) - 88.0f);
  glCallLists(static_cast<GLsizei>(std::strlen(sizeText)), GL_UNSIGNED_BYTE, sizeText);
  popMatrices();
  glPopAttrib();
}
