// The seven block kinds and the chips that fly off them.
#include <cmath>

#include "Draw.h"
#include "Sprites.h"

namespace assetgen {

Col OutlineColour() {
    return {16, 16, 28};
}
Col IvoryColour() {
    return {240, 224, 176};
}
Col RedColour() {
    return {226, 54, 62};
}
Col GreenColour() {
    return {40, 186, 80};
}
Col BlueColour() {
    return {62, 118, 238};
}
Col GoldColour() {
    return {228, 172, 46};
}

namespace {

constexpr int kW = 40;
constexpr int kH = 15;
const Col kWhite{255, 255, 255};

void Outline(Image& block, Col c) {
    for (int x = 0; x < kW; ++x) block.Put(x, 0, c), block.Put(x, kH - 1, c);
    for (int y = 0; y < kH; ++y) block.Put(0, y, c), block.Put(kW - 1, y, c);
}

// Light from the top left: the top and left rims catch it, the bottom and right fall into shade.
Col Bevel(Col body, int x, int y, double depth) {
    if (y == 1 || (x == 1 && y < kH - 2)) return Lerp(body, kWhite, y == 1 ? 0.6 * depth : 0.4 * depth);
    if (y == kH - 2 || x == kW - 2) return Scale(body, 1 - 0.5 * depth);
    if (y == 2) return Lerp(body, kWhite, 0.22 * depth);
    if (y == kH - 3 || x == kW - 3) return Scale(body, 1 - 0.22 * depth);
    return body;
}

double StripeAlpha(int x, int y) {
    double rows = y == 3 ? 0.6 : y == 4 ? 0.32 : 0.0;
    return rows * SmoothStep(2, 7, x) * (1 - SmoothStep(26, 35, x));
}

// Glass: a lit upper half, the true colour through the middle, deeper towards the foot.
Col GlossyBody(Col base, int y) {
    double t = (y - 1) / 12.0;
    if (t < 0.45) return Lerp(base, kWhite, 0.2 * (1 - t / 0.45) + 0.04);
    return Scale(base, 1 - 0.32 * (t - 0.45) / 0.55);
}

// Metal: bright above, a dark band through the middle, a reflected rise, darker at the foot.
double MetalProfile(int y) {
    static const double kRows[kH] = {0,    1.30, 1.22, 1.12, 0.98, 0.84, 0.76, 0.80,
                                     0.92, 1.02, 1.00, 0.90, 0.80, 0.70, 0};
    return kRows[y];
}

Col Metal(Col base, Col shine, int y) {
    double k = MetalProfile(y);
    return k <= 1 ? Scale(base, k) : Lerp(base, shine, (k - 1) * 2.5);
}

struct GlintLine {
    double offset, width, strength;
};

// A diagonal streak of reflected light, x + 0.9 y = offset.
Col Glint(Col c, int x, int y, GlintLine g) {
    double d = (x + y * 0.9 - g.offset) / g.width;
    return Lerp(c, {255, 252, 230}, g.strength * std::exp(-d * d));
}

void MetalBody(Image& block, Col base, Col shine, GlintLine a, GlintLine b) {
    for (int y = 1; y < kH - 1; ++y)
        for (int x = 1; x < kW - 1; ++x) {
            Col c = Glint(Glint(Metal(base, shine, y), x, y, a), x, y, b);
            block.Put(x, y, Bevel(c, x, y, 1.2));
        }
}

// A domed rivet head, 4 x 4 with its shadow, lit from the top left.
void Rivet(Image& block, int left, int top) {
    static const char* kRows[4] = {".lm.", "lmmd", "mmdd", ".dd."};
    const CharPalette shades = {{'l', {252, 253, 255}}, {'m', {190, 198, 214}}, {'d', {70, 76, 92}}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            auto it = shades.find(kRows[y][x]);
            if (it != shades.end()) block.Put(left + x, top + y, it->second);
        }
    block.Blend(left + 4, top + 2, {40, 44, 56}, 0.5);
    block.Blend(left + 2, top + 4, {40, 44, 56}, 0.5);
}

void Crack(Image& block, Point from, Point to) {
    const Col dark{26, 24, 36}, lit{236, 240, 248};
    for (Point p : LinePoints(from, to)) {
        block.Put(p.x, p.y, dark);
        if (!block.IsClear(p.x + 1, p.y + 1) && p.x + 1 < kW - 1 && p.y + 1 < kH - 1)
            block.Blend(p.x + 1, p.y + 1, lit, 0.5);
    }
}

// Knocks the top-right corner off along a short diagonal.
void Chip(Image& block) {
    const int size = 6;
    for (int y = 0; y < size; ++y)
        for (int x = kW - size; x < kW; ++x) {
            int d = (x - (kW - size)) - y;
            if (d > 0) block.Clear(x, y);
            if (d == 0 || d == 1) block.Put(x, y, d == 0 ? OutlineColour() : Col{70, 74, 88});
        }
}

Col ChipShade(Col base, int x, int y) {
    if (x + y <= 2) return Lerp(base, kWhite, 0.55);
    if (x + y >= 8) return Scale(base, 0.55);
    if (x == 5 || y == 5) return Scale(base, 0.75);
    return base;
}

}  // namespace

Image MakeGlossyBlock(Col base) {
    Image block(kW, kH);
    for (int y = 1; y < kH - 1; ++y)
        for (int x = 1; x < kW - 1; ++x) {
            Col body = Lerp(GlossyBody(base, y), kWhite, StripeAlpha(x, y));
            block.Put(x, y, Bevel(body, x, y, 1.0));
        }
    Outline(block, OutlineColour());
    return block;
}

Image MakeGoldBlock() {
    Image block(kW, kH);
    MetalBody(block, GoldColour(), {255, 244, 190}, {14, 1.6, 0.85}, {20, 0.8, 0.55});
    Outline(block, {52, 32, 8});
    return block;
}

Image MakeSilverBlock() {
    Image block(kW, kH);
    MetalBody(block, {168, 178, 198}, {246, 250, 255}, {24, 1.2, 0.35}, {28, 0.6, 0.25});
    Rivet(block, 4, 5);
    Rivet(block, 32, 5);
    Outline(block, OutlineColour());
    return block;
}

Image MakeBrokenBlock() {
    Image block = MakeSilverBlock();
    Crack(block, {16, 1}, {14, 4});
    Crack(block, {14, 4}, {19, 7});
    Crack(block, {19, 7}, {17, 10});
    Crack(block, {17, 10}, {21, 13});
    Crack(block, {19, 7}, {25, 5});
    Crack(block, {25, 5}, {29, 7});
    Crack(block, {14, 4}, {9, 3});
    Chip(block);
    return block;
}

Image MakeParticles() {
    const Col colours[5] = {IvoryColour(), RedColour(), GreenColour(), BlueColour(), GoldColour()};
    Image strip(30, 6);
    for (int k = 0; k < 5; ++k)
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x) {
                bool corner = (x == 0 || x == 5) && (y == 0 || y == 5);
                if (!corner) strip.Put(6 * k + x, y, ChipShade(colours[k], x, y));
            }
    return strip;
}

}  // namespace assetgen
