// The seven volume-line pictures. Layout, shared with the volume-line shaders: 256 x 256, a grid
// of 4 x 4 tiles of 64 x 64. Tile k (0..15) sits in column k % 4 from the left and row k / 4
// from the bottom, so its texture coordinates start at ((k % 4) / 4, (k / 4) / 4); each corner
// coordinate of a line (0 .. 0.25 on both axes) is offset into one tile. Inside a tile, s runs
// along the segment (0 at the first end point) and t across it. Tile 0 shows the segment from
// the side, a long glowing capsule; later tiles show it turned ever more toward the viewer,
// the capsule shortening, until tile 15 shows it end-on as a round spot. A shader that does not
// pick a tile draws tile 0. Everything outside the capsule is black (transparent once alpha is
// built from brightness), and so is a margin round every tile.
#pragma once

#include <vector>

#include "tools/sprite_pictures.h"

namespace baker {

// linevol_contours.jpg, linevol_enamels.jpg, linevol_redlaser.jpg, linevol_blueglow.jpg,
// linevol_bluethunder.jpg, linevol_glass.jpg, linevol_firespiral.jpg.
std::vector<NamedPicture> paintLineTextures();

}  // namespace baker
