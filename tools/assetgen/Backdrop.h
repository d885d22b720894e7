// The night sky behind the play: gradient, haze, stars and a perspective floor grid.
#pragma once

#include <vector>

#include "Draw.h"
#include "Image.h"

namespace assetgen {

// A picture in real-valued colour, turned into pixels only at the end so gradients can be dithered.
class Canvas {
public:
    Canvas(int width, int height);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Col Get(int x, int y) const { return m_pixels[Index(x, y)]; }
    void Set(int x, int y, Col c);
    void AddLight(int x, int y, Col c, double amount);  // additive glow
    Image Dithered() const;

private:
    size_t Index(int x, int y) const { return size_t(y) * m_width + x; }
    int m_width;
    int m_height;
    std::vector<Col> m_pixels;
};

// Where the game's blocks sit, in the picture's own coordinates: stars stay dim there.
struct QuietZone {
    int left, top, right, bottom;
};

Canvas MakeSky(int width, int height, QuietZone quiet);

}  // namespace assetgen
