#include "Image.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

Col Lerp(Col a, Col b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Col Scale(Col c, double k) {
    return {c.r * k, c.g * k, c.b * k};
}

Col Add(Col a, Col b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

Col FromHex(uint32_t rgb) {
    return {double((rgb >> 16) & 0xFF), double((rgb >> 8) & 0xFF), double(rgb & 0xFF)};
}

bool PacksToZero(Rgb c) {
    return c.r < 8 && c.g < 4 && c.b < 8;
}

namespace {

uint8_t ToByte(double v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

Rgb ToRgb(Col c) {
    return {ToByte(c.r), ToByte(c.g), ToByte(c.b)};
}

// The darkest colour that still shows: its blue channel packs to 1.
constexpr Rgb kDarkestVisible{0, 0, 8};

}  // namespace

Image::Image(int width, int height)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height, kClear) {}

Col Image::ColAt(int x, int y) const {
    Rgb p = At(x, y);
    return {double(p.r), double(p.g), double(p.b)};
}

void Image::Put(int x, int y, Col c) {
    Rgb p = ToRgb(c);
    PutRaw(x, y, PacksToZero(p) ? kDarkestVisible : p);
}

void Image::PutRaw(int x, int y, Rgb c) {
    if (Inside(x, y)) m_pixels[Index(x, y)] = c;
}

void Image::Blend(int x, int y, Col c, double a) {
    if (!Inside(x, y) || a <= 0) return;
    Put(x, y, Lerp(ColAt(x, y), c, std::min(a, 1.0)));
}

void Image::Paste(const Image& src, int x, int y) {
    for (int sy = 0; sy < src.Height(); ++sy)
        for (int sx = 0; sx < src.Width(); ++sx)
            if (!src.IsClear(sx, sy)) PutRaw(x + sx, y + sy, src.At(sx, sy));
}

}  // namespace assetgen
