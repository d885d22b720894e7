// The ball and its seven-frame trail, each frame centred in its 11 x 11 cell.
#include <algorithm>
#include <cmath>

#include "Draw.h"
#include "Sprites.h"

namespace assetgen {
namespace {

constexpr int kCell = 11;
constexpr double kCentre = kCell / 2.0;
const Col kRim{14, 26, 54};  // what the soft edge fades into: dark, but never see-through

double DiscCoverage(int x, int y, double radius) {
    return Coverage(x, y,
                    [radius](double px, double py) { return InDisc(px, py, kCentre, kCentre, radius); });
}

// A lit sphere: light from the top left and a little towards the viewer.
Col SphereShade(double x, double y, double radius) {
    double nx = (x - kCentre) / radius, ny = (y - kCentre) / radius;
    double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
    const double lx = -0.48, ly = -0.56, lz = 0.67;
    double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
    double reflect = 2 * diffuse * nz - lz;  // the mirrored light towards the viewer
    double specular = std::pow(std::max(0.0, reflect), 14);
    Col c = Lerp({40, 128, 206}, {226, 250, 255}, std::pow(diffuse, 0.55));
    return Lerp(c, {255, 255, 255}, std::min(1.0, specular * 1.3));
}

void DrawBall(Image& strip) {
    const double radius = 5.4;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            double cover = DiscCoverage(x, y, radius);
            if (cover < 0.3) continue;
            strip.Put(x, y, Lerp(kRim, SphereShade(x + 0.5, y + 0.5, radius), cover));
        }
}

// Trail frame k (1..7): each one smaller, dimmer and bluer than the one before.
void DrawTrail(Image& strip, int k) {
    static const double kRadii[8] = {0, 4.5, 4.0, 3.5, 3.0, 2.5, 1.9, 1.5};
    double t = (k - 1) / 6.0;
    double radius = kRadii[k];
    Col core = Lerp({150, 226, 255}, {36, 62, 168}, t);
    Col edge = Lerp({60, 130, 220}, {22, 34, 100}, t);
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            double cover = DiscCoverage(x, y, radius);
            if (cover < 0.2) continue;
            double r = std::hypot(x + 0.5 - kCentre, y + 0.5 - kCentre) / radius;
            strip.Put(k * kCell + x, y, Lerp(Lerp(core, edge, r), kRim, 1 - cover));
        }
}

}  // namespace

Image MakeBallStrip() {
    Image strip(8 * kCell, kCell);
    DrawBall(strip);
    for (int k = 1; k < 8; ++k) DrawTrail(strip, k);
    return strip;
}

}  // namespace assetgen
