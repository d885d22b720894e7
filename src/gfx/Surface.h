// An RGB565 picture in memory: the back buffer and every sprite slot.
#pragma once

#include <cstdint>
#include <memory>

struct Surface {
    int32_t width = 0;
    int32_t height = 0;
    std::unique_ptr<uint16_t[]> pixels;  // width x height, row by row, pitch = width

    Surface() = default;
    Surface(int32_t w, int32_t h);
    uint16_t* Row(int32_t y) { return pixels.get() + static_cast<int64_t>(y) * width; }
    const uint16_t* Row(int32_t y) const { return pixels.get() + static_cast<int64_t>(y) * width; }
};

// What an image paints into: the stand-in for a device context on a slot surface.
struct SlotDC {
    Surface* surface = nullptr;
};

// 24-bit colour to the surfaces' 5-6-5 pixel.
inline uint16_t PackRgb565(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}
