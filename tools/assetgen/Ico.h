// The Windows icon file: one picture per size, each stored as PNG (which Windows reads in icons
// since Vista), for the exe's resource.
#pragma once

#include <string>
#include <vector>

#include "Png.h"

namespace assetgen {

inline constexpr int kLargestWindowsIcon = 256;

// Square pictures of 1 to kLargestWindowsIcon pixels; empty when one is not, or cannot be encoded.
std::vector<uint8_t> EncodeIco(const std::vector<RgbaImage>& pictures);
bool WriteIco(const std::string& path, const std::vector<RgbaImage>& pictures);

}  // namespace assetgen
