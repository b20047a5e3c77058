// The program's icon, painted from the baker's own pictures: the landscape's colour texture
// seen whole, with an explosion's fireball glowing over its middle.
#pragma once

#include "tools/baked_picture.h"

namespace baker {

constexpr int kIconSize = 256;

// RGB, kIconSize x kIconSize.
BakedPicture paintIcon();

}  // namespace baker
