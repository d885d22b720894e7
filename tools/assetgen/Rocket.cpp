// The rocket (nose up, fins at the bottom) and its exhaust, from hot flame to thin smoke.
#include <algorithm>
#include <cmath>

#include "Draw.h"
#include "Sprites.h"

namespace assetgen {
namespace {

constexpr int kW = 17;
constexpr int kH = 38;
constexpr double kAxis = kW / 2.0;
constexpr double kHalf = 4.5;  // half the hull's width

enum class Part { None, Nose, Hull, Band, Window, Rim, Fin, Nozzle };

double HullHalfWidth(double y) {
    if (y < 12) return kHalf * std::sqrt(std::max(0.0, y) / 12);
    if (y < 33) return kHalf;
    return 2.9 + (y - 33) * 0.2;  // the nozzle bell
}

bool InFin(double px, double py) {
    double d = std::abs(px - kAxis);
    if (py < 20 || py > 36 || d < kHalf - 0.5) return false;
    double reach = py < 30 ? (py - 20) / 10 * 4 : 4;  // swept back from the hull
    return d - kHalf < reach && py < 36 - (d - kHalf) * 0.5;
}

Part PartAt(double px, double py) {
    double d = std::abs(px - kAxis);
    if (InDisc(px, py, kAxis, 17, 1.7)) return Part::Window;
    if (InDisc(px, py, kAxis, 17, 2.7)) return Part::Rim;
    if (d < HullHalfWidth(py) && py < kH) {
        if (py < 11) return Part::Nose;
        if (py >= 33) return Part::Nozzle;
        return py >= 25 && py < 27 ? Part::Band : Part::Hull;
    }
    return InFin(px, py) ? Part::Fin : Part::None;
}

// Round hull lit from the left: brightness by the column's place across the cylinder.
double CylinderLight(double px, double halfWidth) {
    double n = std::clamp((px - kAxis) / halfWidth, -1.0, 1.0);
    return 0.62 + 0.5 * std::cos((n + 0.45) * 1.5);
}

Col PartColour(Part part, double px, double py) {
    double light = CylinderLight(px, std::max(1.0, HullHalfWidth(py)));
    switch (part) {
        case Part::Nose:
        case Part::Band:
            return Scale(RedColour(), light);
        case Part::Hull:
            return Scale({226, 230, 240}, light);
        case Part::Nozzle:
            return Scale({110, 114, 130}, light);
        case Part::Rim:
            return Scale({150, 156, 172}, light);
        case Part::Fin:
            return Scale({196, 40, 48}, px < kAxis ? 1.05 : 0.7);
        case Part::Window: {
            bool glint = InDisc(px, py, kAxis - 0.7, 16.3, 0.7);
            return glint ? Col{240, 250, 255} : Lerp({110, 210, 255}, {30, 80, 170}, (py - 15.5) / 3);
        }
        case Part::None:
            break;
    }
    return {};
}

Part DominantPart(int x, int y) {
    Part p = PartAt(x + 0.5, y + 0.5);
    return Coverage(x, y, [](double px, double py) { return PartAt(px, py) != Part::None; }) < 0.45
               ? Part::None
               : p;
}

bool OnRocketEdge(int x, int y) {
    return DominantPart(x - 1, y) == Part::None || DominantPart(x + 1, y) == Part::None ||
           DominantPart(x, y - 1) == Part::None || DominantPart(x, y + 1) == Part::None;
}

struct Flame {
    double radius;
    Col core, edge;
    bool thin;  // smoke so thin that every other pixel shows through
};

void DrawFlame(Image& strip, int k, const Flame& f) {
    const double c = 6.5;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x) {
            // A little taller than wide: the puffs stream downwards.
            auto inside = [&](double px, double py) {
                return InDisc((px - c) * 1.15 + c, py, c, c, f.radius);
            };
            if (Coverage(x, y, inside) < 0.5 || (f.thin && (x + y) % 2 == 1)) continue;
            double t = std::hypot((x + 0.5 - c) * 1.15, y + 0.5 - c) / f.radius;
            strip.Put(13 * k + x, y, Lerp(f.core, f.edge, std::pow(std::min(t, 1.0), 1.4)));
        }
}

}  // namespace

Image MakeRocket() {
    Image rocket(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            Part part = DominantPart(x, y);
            if (part == Part::None) continue;
            Col c = OnRocketEdge(x, y) ? OutlineColour() : PartColour(part, x + 0.5, y + 0.5);
            rocket.Put(x, y, c);
        }
    return rocket;
}

Image MakeExhaust() {
    const Flame flames[7] = {
        {5.8, {255, 255, 236}, {255, 226, 96}, false}, {5.4, {255, 246, 150}, {255, 176, 40}, false},
        {5.0, {255, 190, 70}, {236, 100, 24}, false},  {4.4, {246, 110, 44}, {180, 40, 24}, false},
        {3.9, {170, 50, 34}, {100, 24, 22}, false},    {3.4, {128, 126, 136}, {78, 76, 88}, false},
        {3.0, {104, 104, 116}, {70, 70, 82}, true},
    };
    Image strip(91, 13);
    for (int k = 0; k < 7; ++k) DrawFlame(strip, k, flames[k]);
    return strip;
}

}  // namespace assetgen
