// Textured quads in screen space, for laying rendered pictures over the window.
#pragma once

// Texture corners, then screen corners. Draws with the pass, texture, matrices and colour current
// in the drawing layer.
void drawTexturedQuad(float uLeft, float vBottom, float uRight, float vTop, float xLeft, float yBottom, float xRight,
                      float yTop);
// The square from (0, 0) to (1, 1), with the same texture coordinates on texture units 0 to
// unitCount − 1: for combining several whole pictures in one pass.
void drawUnitSquareOnUnits(int unitCount);
