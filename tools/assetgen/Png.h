// PNG files with straight alpha, encoded by libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // four bytes a pixel, rows from the top
};

// 8-bit RGBA, not interlaced; empty when libpng refuses the picture.
std::vector<uint8_t> EncodePng(const RgbaImage& image);
bool WritePng(const std::string& path, const RgbaImage& image);

}  // namespace assetgen
