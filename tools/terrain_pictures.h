// The ground pictures: the outdoor height map and its colour texture, painted from the same
// landscape, and the title scene's rolling height field.
#pragma once

#include "tools/baked_picture.h"

namespace baker {

// Grey, 256 x 256: brightness is height between kGroundLow (black) and kGroundHigh (white).
// The bottom row of the picture is z = kGroundMin, its left column x = kGroundMin.
BakedPicture paintHeightMap();

// 1024 x 1024 colour: sand, grass, forest, rock and water from the heights and slopes, laid
// out exactly as the terrain's texture coordinates take it.
BakedPicture paintTerrainTexture();

// Grey, 128 x 128: crossing waves for the line field.
BakedPicture paintWaveHeightField();

}  // namespace baker
