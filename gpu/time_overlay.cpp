#include "gpu/time_overlay.h"

#include <cstdio>

#include "gpu/bitmap_font.h"
#include "gpu/matrix_helpers.h"

void drawTimeOverlay(const Drawable& drawable, float timeSeconds, float framesPerSecond, bool paused) {
  const BitmapFont& font = bitmapFont();
  if (font.texture == 0) {
    return;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%6.1f s  %5.1f fps%s", static_cast<double>(timeSeconds),
                static_cast<double>(framesPerSecond), paused ? "  paused" : "");
  // The surfaces' size on a line of its own: with "paused" the first line fills an 800-pixel window.
  char sizeText[48];
  std::snprintf(sizeText, sizeof sizeText, "surfaces %d x %d", drawable.surfaceSize.width, drawable.surfaceSize.height);
  const float width = static_cast<float>(drawable.width);
  const float height = static_cast<float>(drawable.height);
  DrawLayer& layer = drawLayer();
  layer.applyPass(bitmapTextPass());
  layer.setViewport(drawable.viewport());
  pushMatrices();
  setOrtho2D(0.0f, width, 0.0f, height);
  layer.color(1.0f, 1.0f, 0.6f);
  font.drawText(12.0f, height - 44.0f, text);
  font.drawText(12.0f, height - 88.0f, sizeText);
  popMatrices();
}
