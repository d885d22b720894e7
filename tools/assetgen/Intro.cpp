// The title screen: the night sky, the name in large glowing letters, how to play and what the shop sells.
#include <cmath>
#include <string>

#include "Backdrop.h"
#include "Font.h"
#include "Sprites.h"
#include "game/Catalogue.h"

namespace assetgen {
namespace {

constexpr int kW = kScreenWidth;
constexpr int kH = kScreenHeight;
constexpr int kTitleScale = 5;
constexpr int kTitleY = 34;
const std::string kTitle = "PLINKWELL";

constexpr int kPanelLeft = 140, kPanelTop = 192, kPanelRight = 660, kPanelBottom = 404;
constexpr int kRowTop = 203, kRowStep = 19;

TextStyle CoolStyle() {
    return {{236, 252, 255}, {96, 196, 255}, {18, 36, 92}};
}
TextStyle SoftStyle() {
    return {{255, 214, 236}, {236, 120, 190}, {70, 20, 60}};
}

int CentredX(const std::string& text, int scale) {
    return (kW - TextWidth(text, scale)) / 2;
}

// The letters of a text, enlarged, as a mask the size of the screen.
Mask TextMask(const std::string& text, int x, int y, int scale) {
    Mask mask(kW, kH);
    for (size_t i = 0; i < text.size(); ++i) {
        Mask body = GlyphBody(text[i]);
        int left = x + int(i) * kGlyphWidth * scale;
        for (int j = 0; j < kGlyphHeight * scale; ++j)
            for (int k = 0; k < kGlyphWidth * scale; ++k)
                if (body.At(k / scale, j / scale) > 0) mask.Set(left + k, y + j, 1.0);
    }
    return mask;
}

void AddGlow(Canvas& sky, const Mask& letters, int radius, Col colour, double strength) {
    Mask glow = BoxBlur(BoxBlur(letters, radius), radius);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) sky.AddLight(x, y, colour, strength * glow.At(x, y));
}

// Chrome-and-fire lettering: pale gold above a sharp horizon, burning orange below.
Col TitleFill(double t) {
    if (t < 0.5) return Lerp({255, 255, 236}, {255, 200, 70}, t / 0.5);
    return Lerp({236, 70, 40}, {255, 214, 90}, (t - 0.5) / 0.5);
}

bool Near(const Mask& m, int x, int y, int reach) {
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            if (m.At(x + dx, y + dy) > 0) return true;
    return false;
}

void PaintTitle(Image& screen, const Mask& letters, int top) {
    const int height = kCapHeight * kTitleScale, drop = kTitleScale;
    for (int y = top - 3; y < top + height + drop + 3; ++y)
        for (int x = 0; x < kW; ++x) {
            bool own = letters.At(x, y) > 0;
            if (own) {
                double t = double(y - top) / height;
                Col fill = TitleFill(t);
                if (letters.At(x - 2, y - 2) <= 0) fill = Lerp(fill, {255, 255, 255}, 0.7);
                if (letters.At(x + 2, y + 2) <= 0) fill = Scale(fill, 0.7);
                screen.Put(x, y, fill);
            } else if (letters.At(x - drop, y - drop) > 0) {
                screen.Put(x, y, {52, 12, 56});
            } else if (Near(letters, x, y, 2)) {
                screen.Put(x, y, {24, 8, 36});
            }
        }
}

void DarkenPanel(Image& screen) {
    for (int y = kPanelTop; y < kPanelBottom; ++y)
        for (int x = kPanelLeft; x < kPanelRight; ++x) {
            bool border = y == kPanelTop || y == kPanelBottom - 1 || x == kPanelLeft || x == kPanelRight - 1;
            if (border)
                screen.Put(x, y, y == kPanelTop || x == kPanelLeft ? Col{90, 96, 160} : Col{40, 36, 80});
            else
                screen.Blend(x, y, {8, 8, 20}, 0.62);
        }
}

void RightAligned(Image& screen, int right, int y, const std::string& text, const TextStyle& style) {
    DrawText(screen, right - TextWidth(text), y, text, style);
}

void PaintShop(Image& screen) {
    DarkenPanel(screen);
    // One row per item bar cell, left to right: keys 1 to 9, then 0.
    for (int cell = 0; cell < 10; ++cell) {
        const int number = (cell + 1) % 10;
        const ShopItem& item = kShop[number];
        int y = kRowTop + cell * kRowStep;
        screen.Paste(MakeItemIcon(cell), kPanelLeft + 16, y + 2);
        DrawText(screen, kPanelLeft + 40, y, std::to_string(number), CoolStyle());
        DrawText(screen, kPanelLeft + 72, y, item.name, HudStyle());
        RightAligned(screen, kPanelRight - 18, y, std::to_string(item.price), CoolStyle());
    }
}

// A ball dropping onto the paddle, trail and all, as the game shows them.
void PaintPlay(Image& screen) {
    screen.Paste(Crop(MakePaddleStrip(), 0, 0, 76, 10), 362, 560);
    Image balls = MakeBallStrip();
    for (int k = 7; k >= 0; --k) screen.Paste(Crop(balls, 11 * k, 0, 11, 11), 430 - 7 * k, 548 - 3 * k);
}

}  // namespace

Image MakeIntro() {
    Canvas sky = MakeSky(kW, kH, {kPanelLeft, kTitleY, kPanelRight, kPanelBottom});
    Mask title = TextMask(kTitle, CentredX(kTitle, kTitleScale), kTitleY, kTitleScale);
    AddGlow(sky, title, 9, {255, 50, 170}, 0.9);
    const std::string press = "PRESS SPACE";
    const int pressY = 486;
    AddGlow(sky, TextMask(press, CentredX(press, 2), pressY, 2), 6, {60, 150, 255}, 0.55);
    Image screen = sky.Dithered();
    PaintTitle(screen, title, kTitleY);
    DrawText(screen, CentredX("MOUSE MOVES THE VANTLER", 1), 140, "MOUSE MOVES THE VANTLER", CoolStyle());
    DrawText(screen, CentredX("LEFT BUTTON LAUNCHES", 1), 162, "LEFT BUTTON LAUNCHES", CoolStyle());
    PaintShop(screen);
    DrawText(screen, CentredX("ESC QUITS", 1), 420, "ESC QUITS", SoftStyle());
    DrawText(screen, CentredX(press, 2), pressY, press, HudStyle(), 2);
    PaintPlay(screen);
    return screen;
}

}  // namespace assetgen
