#include "Backdrop.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

Canvas::Canvas(int width, int height) : m_width(width), m_height(height), m_pixels(size_t(width) * height) {}

void Canvas::Set(int x, int y, Col c) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height) m_pixels[Index(x, y)] = c;
}

void Canvas::AddLight(int x, int y, Col c, double amount) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height) Set(x, y, Add(Get(x, y), Scale(c, amount)));
}

Image Canvas::Dithered() const {
    Image image(m_width, m_height);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            Rgb p = Dither565(Get(x, y), x, y);
            if (PacksToZero(p)) p = {0, 0, 8};
            image.PutRaw(x, y, p);
        }
    return image;
}

namespace {

constexpr int kHorizon = 440;
constexpr int kVanishX = 436;

Col SkyGradient(int y, int height) {
    double t = double(y) / (height - 1);
    const Col top{30, 22, 72}, middle{14, 12, 40}, bottom{6, 6, 18};
    return t < 0.55 ? Lerp(top, middle, SmoothStep(0, 0.55, t))
                    : Lerp(middle, bottom, SmoothStep(0.55, 1, t));
}

// Smooth value noise on a coarse lattice, for faint clouds of haze.
class ValueNoise {
public:
    ValueNoise(int cells, uint32_t seed) : m_cells(cells), m_values(size_t(cells + 1) * (cells + 1)) {
        Lcg rng(seed);
        for (double& v : m_values) v = rng.Unit();
    }
    double At(double u, double v) const {
        double fx = u * (m_cells - 1), fy = v * (m_cells - 1);
        int ix = std::clamp(int(fx), 0, m_cells - 1), iy = std::clamp(int(fy), 0, m_cells - 1);
        double sx = SmoothStep(0, 1, fx - ix), sy = SmoothStep(0, 1, fy - iy);
        double top = Mix(Node(ix, iy), Node(ix + 1, iy), sx);
        double bottom = Mix(Node(ix, iy + 1), Node(ix + 1, iy + 1), sx);
        return Mix(top, bottom, sy);
    }

private:
    static double Mix(double a, double b, double t) { return a + (b - a) * t; }
    double Node(int x, int y) const { return m_values[size_t(y) * (m_cells + 1) + x]; }
    int m_cells;
    std::vector<double> m_values;
};

void PaintGradientAndHaze(Canvas& sky) {
    ValueNoise broad(6, 11), fine(14, 29);
    for (int y = 0; y < sky.Height(); ++y)
        for (int x = 0; x < sky.Width(); ++x) {
            double u = double(x) / sky.Width(), v = double(y) / sky.Height();
            double cloud = std::pow(broad.At(u, v), 2.2) * 0.7 + fine.At(u, v) * 0.3;
            Col haze = Lerp({34, 10, 48}, {10, 24, 56}, broad.At(v, u));
            sky.Set(x, y, Add(SkyGradient(y, sky.Height()), Scale(haze, cloud * 0.55 * (1 - v * 0.6))));
        }
}

bool InQuiet(const QuietZone& q, int x, int y) {
    return x >= q.left - 4 && x < q.right + 4 && y >= q.top - 4 && y < q.bottom + 4;
}

void Star(Canvas& sky, int x, int y, Col tint, double brightness, bool sparkle) {
    sky.AddLight(x, y, tint, brightness);
    if (!sparkle) return;
    for (int d = 1; d <= 2; ++d) {
        double arm = brightness * (d == 1 ? 0.45 : 0.18);
        sky.AddLight(x - d, y, tint, arm), sky.AddLight(x + d, y, tint, arm);
        sky.AddLight(x, y - d, tint, arm), sky.AddLight(x, y + d, tint, arm);
    }
}

void PaintStars(Canvas& sky, const QuietZone& quiet) {
    const Col tints[3] = {{255, 255, 255}, {190, 210, 255}, {255, 232, 200}};
    Lcg rng(7);
    int count = sky.Width() * kHorizon / 1900;
    for (int i = 0; i < count; ++i) {
        int x = rng.Below(sky.Width()), y = rng.Below(kHorizon - 8);
        Col tint = tints[rng.Below(3)];
        double brightness = 0.12 + 0.3 * std::pow(rng.Unit(), 3);
        bool bright = rng.Below(9) == 0 && !InQuiet(quiet, x, y);
        if (bright) brightness = 0.55 + 0.4 * rng.Unit();
        if (InQuiet(quiet, x, y)) brightness *= 0.6;
        Star(sky, x, y, tint, brightness, bright);
    }
}

// Share of a one-pixel line at distance d (in pixels) that falls on this pixel.
double LineInk(double d) {
    return std::max(0.0, 1 - std::abs(d));
}

double FloorLines(int x, int y, int width) {
    double depth = y - kHorizon;  // 0 at the horizon
    double spread = (x + 0.5 - (kVanishX * width / 872.0)) / (depth / 160.0 * 64.0);
    double vertical = LineInk((spread - std::round(spread)) * depth / 160.0 * 64.0);
    double z = 160.0 / depth;  // distance along the floor
    double phase = (z - 1) / 0.7;
    double rowsPerUnit = depth * depth / 160.0 * 0.7;
    double horizontal = LineInk((phase - std::round(phase)) * rowsPerUnit);
    return std::max(vertical, horizontal);
}

void PaintFloor(Canvas& sky) {
    const Col grid{110, 50, 170}, glow{70, 24, 90};
    for (int y = kHorizon - 30; y < sky.Height(); ++y)
        for (int x = 0; x < sky.Width(); ++x) {
            double band = std::exp(-std::pow((y - kHorizon) / 14.0, 2));
            sky.AddLight(x, y, glow, 0.35 * band);
            if (y <= kHorizon) continue;
            double fade = std::pow(SmoothStep(kHorizon + 4, kHorizon + 150, y), 1.5);
            sky.AddLight(x, y, grid, 0.32 * fade * FloorLines(x, y, sky.Width()));
        }
}

}  // namespace

Canvas MakeSky(int width, int height, QuietZone quiet) {
    Canvas sky(width, height);
    PaintGradientAndHaze(sky);
    PaintStars(sky, quiet);
    PaintFloor(sky);
    return sky;
}

}  // namespace assetgen
