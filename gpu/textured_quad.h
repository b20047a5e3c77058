// One textured quad in screen space, for laying a rendered picture over the window.
#pragma once

// Texture corners, then screen corners. Draws with whatever texture, matrices and colour are current.
void drawTexturedQuad(float uLeft, float vBottom, float uRight, float vTop, float xLeft, float yBottom, float xRight,
                      float yTop);
