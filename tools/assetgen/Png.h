// PNG files with straight alpha, written without a compression library: the image data goes into
// stored (uncompressed) deflate blocks, so the only arithmetic needed is the two checksums.
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

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);

// 8-bit RGBA, no interlace, filter 0 on every row.
std::vector<uint8_t> EncodePng(const RgbaImage& image);
bool WritePng(const std::string& path, const RgbaImage& image);

}  // namespace assetgen
