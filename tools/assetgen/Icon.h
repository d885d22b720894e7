// The desktop icon: the ball rising from the VANTLER towards a wall of blocks, drawn afresh at
// every size so that each one is crisp (192 and 512 for the web page's manifest).
#pragma once

#include "Png.h"

namespace assetgen {

inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 192, 256, 512};

RgbaImage MakeIcon(int size);

}  // namespace assetgen
