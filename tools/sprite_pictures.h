// The particle pictures, on black: brightness becomes their alpha (or a mask's brightness does).
// A particle quad is twice as wide as tall with its lower edge at the particle, so these
// pictures are 128 x 64 with the round shape centred in them: square world pixels, the shape
// sitting on the particle. The explosion fragment's quad is square and centred: 128 x 128.
#pragma once

#include <string>
#include <vector>

#include "tools/baked_picture.h"

namespace baker {

struct NamedPicture {
  std::string fileName;
  BakedPicture picture;  // grey pictures have one channel and are written so
};

// smoke.jpg, smokealpha.jpg, BlueBubble.jpg, YellowBubble.jpg, redBubble.jpg, star.jpg,
// flare.jpg, explodeparticle.jpg.
std::vector<NamedPicture> paintSpritePictures();

}  // namespace baker
