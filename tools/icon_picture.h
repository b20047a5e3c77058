// The program's icon, painted at each size the desktop asks for. From 64 pixels up it is the
// landscape's colour texture seen whole, with an explosion's fireball glowing over its middle;
// below that, where the texture would blur into a green smear, the same scene is drawn as flat
// shapes with edges a pixel or two wide: the ground in a dark frame, the lake, the fireball.
#pragma once

#include "tools/baked_picture.h"

namespace baker {

// The sizes the icon is painted at, in pixels a side.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256, 512};
// The smallest size that shows the landscape's texture rather than flat shapes.
constexpr int kSmallestTexturedIconSize = 64;

bool isIconSize(int size);
// RGB, size x size; size is one of kIconSizes.
BakedPicture paintIcon(int size);

}  // namespace baker
