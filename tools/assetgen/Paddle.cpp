// The VANTLER: a chrome capsule with red end caps, its hit flash, its ghost and the spare-life mark.
#include <cmath>

#include "Draw.h"
#include "Sprites.h"

namespace assetgen {
namespace {

constexpr int kW = 76;
constexpr int kH = 10;
constexpr int kCap = 12;  // width of each red end cap

bool InCapsule(int x, int y) {
    auto inside = [](double px, double py) { return InRoundRect(px, py, 0, 0, kW, kH, kH / 2.0); };
    return Coverage(x, y, inside) > 0.4;
}

bool OnEdge(int x, int y) {
    return !InCapsule(x - 1, y) || !InCapsule(x + 1, y) || !InCapsule(x, y - 1) || !InCapsule(x, y + 1);
}

// Chrome rows: a hot top edge, a dark band, a reflected floor, shade at the foot.
Col Chrome(int x, int y) {
    static const double kRows[kH] = {250, 236, 200, 140, 96, 118, 176, 198, 150, 100};
    double v = kRows[y];
    Col c{v * 0.92, v * 0.96, v * 1.04};
    double hot = std::exp(-std::pow((x - 24) / 9.0, 2)) * (y <= 2 ? 0.6 : 0.15);
    return Lerp(c, {255, 255, 255}, hot);
}

Col CapRed(int x, int y) {
    static const double kRows[kH] = {1.5, 1.35, 1.15, 1.0, 0.9, 0.82, 0.86, 0.92, 0.72, 0.55};
    double k = kRows[y] * (x < kW / 2 ? 1.05 : 0.92);
    Col red = RedColour();
    Col c = k <= 1 ? Scale(red, k) : Lerp(red, {255, 236, 236}, (k - 1) * 1.2);
    int spotX = x < kW / 2 ? 5 : kW - 8;
    double spot = std::exp(-(std::pow(x - spotX, 2) / 3.0 + std::pow(y - 2, 2) / 0.8));
    return Lerp(c, {255, 255, 255}, 0.8 * spot);
}

Col RestColour(int x, int y) {
    if (OnEdge(x, y)) return OutlineColour();
    if (x == kCap || x == kW - 1 - kCap) return {40, 36, 52};
    if (x == kCap + 1 || x == kW - 2 - kCap) return Lerp(Chrome(x, y), {255, 255, 255}, 0.3);
    if (x < kCap || x > kW - 1 - kCap) return CapRed(x, y);
    return Chrome(x, y);
}

void DrawFrame(Image& strip, int top, double flash) {
    const Col flashColour{255, 255, 236};
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (InCapsule(x, y)) strip.Put(x, top + y, Lerp(RestColour(x, y), flashColour, flash));
}

}  // namespace

Image MakePaddleStrip() {
    Image strip(kW, 10 * kH);
    for (int k = 0; k < 10; ++k) {
        double flash = k == 0 ? 0 : 0.92 * std::pow((10 - k) / 9.0, 1.6);
        DrawFrame(strip, k * kH, flash);
    }
    return strip;
}

Image MakeMurkPaddle() {
    Image ghost(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            if (!InCapsule(x, y) || (x + y) % 2 == 1) continue;
            Col c = RestColour(x, y);
            double lum = (0.3 * c.r + 0.59 * c.g + 0.11 * c.b) / 255;
            ghost.Put(x, y, Lerp({22, 30, 70}, {110, 150, 230}, lum));
        }
    return ghost;
}

Image MakeLife() {
    const Col red[4] = {{255, 130, 130}, {232, 60, 66}, {176, 34, 44}, {120, 20, 30}};
    const Col chrome[4] = {{244, 248, 255}, {184, 194, 214}, {120, 130, 152}, {78, 86, 108}};
    Image life(30, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 30; ++x) {
            bool corner = (x == 0 || x == 29) && (y == 0 || y == 3);
            if (!corner) life.Put(x, y, x < 5 || x > 24 ? red[y] : chrome[y]);
        }
    return life;
}

}  // namespace assetgen
