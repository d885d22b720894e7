#include "Icon.h"

#include <algorithm>
#include <cmath>

#include "Draw.h"
#include "Sprites.h"

namespace assetgen {
namespace {

const Col kWhite{255, 255, 255};

// Straight-alpha picture in real-valued colour; everything is painted over the opaque backdrop.
class IconCanvas {
public:
    explicit IconCanvas(int size)
        : m_size(size), m_colour(size_t(size) * size), m_alpha(size_t(size) * size, 0.0) {}

    int Size() const { return m_size; }
    // Size in design units: the icon is laid out on a 16 x 16 grid.
    double Unit() const { return m_size / 16.0; }
    int Px(double units) const { return int(std::lround(units * Unit())); }

    Col Get(int x, int y) const { return m_colour[Index(x, y)]; }
    void SetBackdrop(int x, int y, Col c, double alpha) {
        m_colour[Index(x, y)] = c;
        m_alpha[Index(x, y)] = alpha;
    }
    void Over(int x, int y, Col c, double a) {
        if (x < 0 || y < 0 || x >= m_size || y >= m_size) return;
        m_colour[Index(x, y)] = Lerp(m_colour[Index(x, y)], c, Clamp01(a));
    }

    RgbaImage ToRgba() const {
        RgbaImage out{m_size, m_size, {}};
        out.rgba.reserve(m_colour.size() * 4);
        auto byte = [](double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); };
        for (size_t i = 0; i < m_colour.size(); ++i) {
            const bool clear = m_alpha[i] <= 0;
            out.rgba.push_back(clear ? 0 : byte(m_colour[i].r));
            out.rgba.push_back(clear ? 0 : byte(m_colour[i].g));
            out.rgba.push_back(clear ? 0 : byte(m_colour[i].b));
            out.rgba.push_back(byte(m_alpha[i] * 255));
        }
        return out;
    }

private:
    size_t Index(int x, int y) const { return size_t(y) * m_size + x; }

    int m_size;
    std::vector<Col> m_colour;
    std::vector<double> m_alpha;
};

struct Box {
    int x0, y0, x1, y1;  // right and bottom exclusive
    int W() const { return x1 - x0; }
    int H() const { return y1 - y0; }
};

// The inside test of a rounded rectangle shrunk by inset on every side.
auto RoundBox(double x0, double y0, double x1, double y1, double radius, double inset) {
    return [=](double px, double py) {
        return InRoundRect(px, py, x0 + inset, y0 + inset, x1 - inset, y1 - inset,
                           std::max(0.5, radius - inset));
    };
}

// The night sky of the game in a rounded tile, with a lit rim so it stands off dark desktops.
void PaintBackdrop(IconCanvas& icon) {
    const int s = icon.Size();
    const double margin = icon.Px(0.25), radius = 2.6 * icon.Unit();
    const double rim = std::max(1.0, s / 40.0);
    const double far = s - margin;
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            const double cover = Coverage(x, y, RoundBox(margin, margin, far, far, radius, 0));
            if (cover <= 0) continue;
            const double t = (y + 0.5) / s;
            Col c = Lerp({50, 40, 118}, {8, 8, 28}, std::pow(t, 0.8));
            const double edge = 1 - Coverage(x, y, RoundBox(margin, margin, far, far, radius, rim));
            const double light = 1 - 0.75 * (x + y + 1.0) / (2.0 * s);  // from the top left
            c = Lerp(c, {150, 146, 230}, edge * light);
            icon.SetBackdrop(x, y, c, cover);
        }
}

void PaintStars(IconCanvas& icon) {
    if (icon.Size() < 48) return;
    Lcg lcg(0x1C0Eu);
    for (int k = 0; k < 14; ++k) {
        const double ux = 1.5 + 13 * lcg.Unit(), uy = 1.2 + 13 * lcg.Unit();
        const bool behindBlocks = uy > 2 && uy < 7.2 && ux > 1.5 && ux < 14.5;
        const bool behindPaddle = uy > 11.5;
        if (behindBlocks || behindPaddle) continue;
        icon.Over(icon.Px(ux), icon.Px(uy), {200, 210, 255}, 0.25 + 0.4 * lcg.Unit());
    }
}

// Glass: a lit upper half, the true colour through the middle, deeper towards the foot.
Col GlossyBody(Col base, double t) {
    if (t < 0.45) return Lerp(base, kWhite, 0.2 * (1 - t / 0.45) + 0.04);
    return Scale(base, 1 - 0.32 * (t - 0.45) / 0.55);
}

// Metal: bright above, a dark band through the middle, a reflected rise, darker at the foot.
Col MetalBody(Col base, Col shine, double t) {
    static const double kProfile[] = {1.30, 1.22, 1.12, 0.98, 0.84, 0.76, 0.80,
                                      0.92, 1.02, 1.00, 0.90, 0.80, 0.70};
    const double k = kProfile[std::min(12, int(t * 13))];
    return k <= 1 ? Scale(base, k) : Lerp(base, shine, (k - 1) * 2.5);
}

struct BlockLook {
    Col base;
    bool metal;
    Col outline;
};

// A brick at any size: an outline once there is room for one, then the bevel lit from the top left.
void PaintBlock(IconCanvas& icon, Box b, BlockLook look) {
    const int line = b.H() >= 6 ? std::max(1, b.H() / 12) : 0;
    const Box in{b.x0 + line, b.y0 + line, b.x1 - line, b.y1 - line};
    const int bevel = std::max(1, in.H() / 7);
    const bool tiny = in.H() <= 4;  // a strong bevel would hide the colour in so few rows
    const double lit = tiny ? 0.3 : 0.55, shade = tiny ? 0.75 : 0.55;
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x < b.x1; ++x) {
            if (x < in.x0 || y < in.y0 || x >= in.x1 || y >= in.y1) {
                icon.Over(x, y, look.outline, 1);
                continue;
            }
            const double t = (y - in.y0 + 0.5) / in.H(), u = (x - in.x0 + 0.5) / in.W();
            Col c = look.metal ? MetalBody(look.base, {255, 244, 190}, t) : GlossyBody(look.base, t);
            if (look.metal) {
                const double d = (u * in.W() + t * in.H() * 0.9 - 0.35 * in.W()) / (0.05 * in.W() + 0.5);
                c = Lerp(c, {255, 252, 230}, 0.8 * std::exp(-d * d));
            } else if (in.H() >= 6 && t > 0.16 && t < 0.34) {
                c = Lerp(c, kWhite, 0.45 * SmoothStep(0.02, 0.15, u) * (1 - SmoothStep(0.6, 0.85, u)));
            }
            if (y < in.y0 + bevel)
                c = Lerp(c, kWhite, lit);
            else if (y >= in.y1 - bevel || x >= in.x1 - bevel)
                c = Scale(c, shade);
            else if (x < in.x0 + bevel)
                c = Lerp(c, kWhite, lit * 0.6);
            icon.Over(x, y, c, 1);
        }
}

// Two rows of three, with the middle of the lower row already knocked out.
void PaintBlocks(IconCanvas& icon) {
    const BlockLook gloss[3] = {{RedColour(), false, OutlineColour()},
                                {GreenColour(), false, OutlineColour()},
                                {BlueColour(), false, OutlineColour()}};
    const BlockLook lower[3] = {
        {IvoryColour(), false, OutlineColour()}, {}, {GoldColour(), true, {52, 32, 8}}};
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col) {
            if (row == 1 && col == 1) continue;
            const Box b{icon.Px(2 + 4 * col), icon.Px(2.5 + 2 * row), icon.Px(6 + 4 * col),
                        icon.Px(4.5 + 2 * row)};
            PaintBlock(icon, b, row == 0 ? gloss[col] : lower[col]);
        }
}

// A lit sphere, white-cyan like the game's ball, or a dimmer bluer disc of its trail.
void PaintDisc(IconCanvas& icon, double ux, double uy, double uRadius, double trail) {
    const double cx = ux * icon.Unit(), cy = uy * icon.Unit(), r = uRadius * icon.Unit();
    for (int y = int(cy - r) - 1; y <= int(cy + r) + 1; ++y)
        for (int x = int(cx - r) - 1; x <= int(cx + r) + 1; ++x) {
            const double cover =
                Coverage(x, y, [&](double px, double py) { return InDisc(px, py, cx, cy, r); });
            if (cover <= 0) continue;
            const double nx = (x + 0.5 - cx) / r, ny = (y + 0.5 - cy) / r;
            const double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
            const double diffuse = std::max(0.0, -0.48 * nx - 0.56 * ny + 0.67 * nz);
            const double specular = std::pow(std::max(0.0, 2 * diffuse * nz - 0.67), 14);
            Col c = Lerp({40, 128, 206}, {226, 250, 255}, std::pow(diffuse, 0.55));
            c = Lerp(c, kWhite, std::min(1.0, specular * 1.3));
            c = Lerp(c, {36, 62, 168}, trail);
            icon.Over(x, y, c, cover * (1 - 0.5 * trail));
        }
}

void PaintBall(IconCanvas& icon) {
    if (icon.Size() >= 32) {
        PaintDisc(icon, 11.1, 11.0, 0.55, 0.75);
        PaintDisc(icon, 10.1, 10.2, 0.85, 0.45);
    }
    PaintDisc(icon, 8.7, 9.0, 1.35, 0);
}

// Chrome rows of the VANTLER: a hot top edge, a dark band, a reflected floor, shade at the foot.
Col Chrome(double t) {
    static const double kRows[] = {250, 236, 200, 140, 96, 118, 176, 198, 150, 100};
    const double v = kRows[std::min(9, int(t * 10))];
    return {v * 0.92, v * 0.96, v * 1.04};
}

Col CapRed(double t) {
    const double k = 1.4 - 0.85 * t;
    const Col red = RedColour();
    return k <= 1 ? Scale(red, k) : Lerp(red, {255, 236, 236}, (k - 1) * 1.2);
}

void PaintPaddle(IconCanvas& icon) {
    const Box b{icon.Px(3.5), icon.Px(12.2), icon.Px(12.5), icon.Px(14)};
    const double radius = b.H() / 2.0, line = b.H() >= 8 ? std::max(1.0, b.H() / 10.0) : 0;
    const int cap = std::max(1, int(std::lround(b.W() * 0.16)));
    auto capsule = [&](double inset) { return RoundBox(b.x0, b.y0, b.x1, b.y1, radius, inset); };
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x < b.x1; ++x) {
            const double outer = Coverage(x, y, capsule(0));
            if (outer <= 0) continue;
            const double t = (y - b.y0 + 0.5) / b.H();
            const bool onCap = x < b.x0 + cap || x >= b.x1 - cap;
            Col c = onCap ? CapRed(t) : Chrome(t);
            if (b.W() >= 30 && (x == b.x0 + cap || x == b.x1 - cap - 1)) c = {40, 36, 52};
            if (line > 0) {
                icon.Over(x, y, OutlineColour(), outer);
                icon.Over(x, y, c, Coverage(x, y, capsule(line)));
            } else {
                icon.Over(x, y, c, outer);
            }
        }
}

}  // namespace

RgbaImage MakeIcon(int size) {
    IconCanvas icon(size);
    PaintBackdrop(icon);
    PaintStars(icon);
    PaintBlocks(icon);
    PaintBall(icon);
    PaintPaddle(icon);
    return icon.ToRgba();
}

}  // namespace assetgen
