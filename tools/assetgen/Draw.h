// Drawing helpers shared by the picture families.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Image.h"

namespace assetgen {

// Our own seeded generator, so that every run draws the same stars and noise.
class Lcg {
public:
    explicit Lcg(uint32_t seed) : m_state(seed) {}
    uint32_t Next();
    double Unit();  // 0 <= value < 1
    int Below(int n) { return int(Next() % uint32_t(n)); }

private:
    uint32_t m_state;
};

double SmoothStep(double edge0, double edge1, double x);
double Clamp01(double v);

// Coverage of a real-valued grey mask, used for anti-aliased shapes, glyphs and glows.
class Mask {
public:
    Mask(int width, int height);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    double At(int x, int y) const;  // 0 outside
    void Set(int x, int y, double v);

private:
    int m_width;
    int m_height;
    std::vector<double> m_values;
};

// Share of pixel (x, y) inside a shape, sampled 4 x 4 times.
template <typename Inside>
double Coverage(int x, int y, Inside inside) {
    int hits = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) ? 1 : 0;
    return hits / 16.0;
}

bool InDisc(double px, double py, double cx, double cy, double radius);
// A rectangle with corners rounded by radius; left/top inclusive, right/bottom exclusive edges.
bool InRoundRect(double px, double py, double left, double top, double right, double bottom, double radius);

Mask BoxBlur(const Mask& mask, int radius);

Image Crop(const Image& source, int x, int y, int w, int h);

void FillRect(Image& image, int x, int y, int w, int h, Col c);

struct Point {
    int x, y;
};
// The pixels of a straight line from a to b, both ends included.
std::vector<Point> LinePoints(Point a, Point b);

// Pictures from rows of characters: each character names a colour, '.' leaves the pixel clear.
using CharPalette = std::map<char, Col>;
Image FromRows(const std::vector<std::string>& rows, const CharPalette& palette);

// Ordered 4 x 4 dither onto exact 5-6-5 levels, so smooth gradients survive the game's 16-bit screen.
Rgb Dither565(Col c, int x, int y);

}  // namespace assetgen
