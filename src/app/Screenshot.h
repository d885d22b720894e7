// Pictures of the screen as 24-bit BMP files.
#pragma once

#include <cstdint>
#include <vector>

// An RGB565 picture of width x height (top row first) as a complete BMP file: 24 bits per pixel,
// bottom-up rows padded to 4 bytes, each 5- or 6-bit channel widened to 8 bits by repeating its
// high bits so that white stays white.
std::vector<uint8_t> EncodeBmp24(const uint16_t* pixels, int width, int height);
