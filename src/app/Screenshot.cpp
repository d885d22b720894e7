#include "app/Screenshot.h"

#include <cstddef>

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(const uint16_t* pixels, int width, int height) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
    const uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
    std::vector<uint8_t> file(offset + imageBytes, 0);
    uint8_t* h = file.data();
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, offset + imageBytes);
    Put32(h + 10, offset);
    Put32(h + 14, kInfoHeaderSize);
    Put32(h + 18, static_cast<uint32_t>(width));
    Put32(h + 22, static_cast<uint32_t>(height));  // positive: bottom-up rows
    Put16(h + 26, 1);                              // planes
    Put16(h + 28, 24);                             // bits per pixel
    Put32(h + 34, imageBytes);
    Put32(h + 38, 2835);  // 72 dpi
    Put32(h + 42, 2835);
    for (int y = 0; y < height; ++y) {
        const uint16_t* src = pixels + static_cast<size_t>(y) * width;
        uint8_t* dst = file.data() + offset + static_cast<size_t>(height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const uint16_t p = src[x];
            const uint32_t r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
            *dst++ = static_cast<uint8_t>((b << 3) | (b >> 2));
            *dst++ = static_cast<uint8_t>((g << 2) | (g >> 4));
            *dst++ = static_cast<uint8_t>((r << 3) | (r >> 2));
        }
    }
    return file;
}
