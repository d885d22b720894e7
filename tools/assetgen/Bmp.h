// Standard Windows BMP files: 14-byte file header, 40-byte info header, bottom-up rows padded to 4 bytes.
#pragma once

#include <string>

#include "Image.h"

namespace assetgen {

bool WriteBmp24(const std::string& path, const Image& image);
// 8 bits per pixel with a colour table; entry 0 is the see-through black. Fails for a picture
// of more than 255 visible colours.
bool WriteBmp8(const std::string& path, const Image& image);

}  // namespace assetgen
