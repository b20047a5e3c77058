// The frame just drawn, copied out as it is for a picture or a raw video stream.
#pragma once

#include <cstdint>

// Reads width × height pixels of the frame just drawn (see readFromDrawnFrame) into `pixels`, which
// holds width × height × 3 bytes: RGB rows without padding, bottom row first, as the GL keeps them.
void readDrawnFrameRgb(int width, int height, uint8_t* pixels);
