#include "platform/present/PauseOverlay.h"

#include <algorithm>

namespace plat {
namespace {

constexpr char kLabel[] = "PAUSED";
constexpr int kLabelLength = sizeof kLabel - 1;
constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kBlack = 0x0000;

struct Glyph {
    char letter;
    uint8_t rows[kPauseGlyphH];  // bit 4 is the leftmost block
};

constexpr Glyph kGlyphs[] = {
    {'A', {0b01110, 0b10001, 0b10001, 0b11111, 0b10001, 0b10001, 0b10001}},
    {'D', {0b11110, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b11110}},
    {'E', {0b11111, 0b10000, 0b10000, 0b11110, 0b10000, 0b10000, 0b11111}},
    {'P', {0b11110, 0b10001, 0b10001, 0b11110, 0b10000, 0b10000, 0b10000}},
    {'S', {0b01111, 0b10000, 0b10000, 0b01110, 0b00001, 0b00001, 0b11110}},
    {'U', {0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01110}},
};

const Glyph* FindGlyph(char letter) {
    for (const Glyph& g : kGlyphs) {
        if (g.letter == letter) return &g;
    }
    return nullptr;
}

void FillRect(uint16_t* pixels, int picW, int picH, int x, int y, int w, int h, uint16_t value) {
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(picW, x + w), y1 = std::min(picH, y + h);
    for (int r = y0; r < y1; ++r)
        std::fill(pixels + r * picW + x0, pixels + r * picW + std::max(x0, x1), value);
}

void DrawGlyph(uint16_t* pixels, int picW, int picH, const Glyph& g, int x, int y, int block) {
    for (int r = 0; r < kPauseGlyphH; ++r) {
        for (int c = 0; c < kPauseGlyphW; ++c) {
            if (g.rows[r] & (0x10 >> c)) {
                FillRect(pixels, picW, picH, x + c * block, y + r * block, block, block, kWhite);
            }
        }
    }
}

}  // namespace

int PauseBlockSize(int picW) {
    return std::max(1, picW / 100);
}

void DrawPausedOverlay(uint16_t* pixels, int picW, int picH) {
    const size_t count = static_cast<size_t>(picW) * picH;
    for (size_t i = 0; i < count; ++i) pixels[i] = (pixels[i] >> 1) & 0x7BEF;  // each channel halved

    const int block = PauseBlockSize(picW);
    const int advance = (kPauseGlyphW + 1) * block;  // one empty column between letters
    const int textW = kLabelLength * advance - block;
    const int textH = kPauseGlyphH * block;
    const int x = (picW - textW) / 2;
    const int y = (picH - textH) / 2;
    FillRect(pixels, picW, picH, x - 2 * block, y - 2 * block, textW + 4 * block, textH + 4 * block, kBlack);
    for (int i = 0; i < kLabelLength; ++i) {
        DrawGlyph(pixels, picW, picH, *FindGlyph(kLabel[i]), x + i * advance, y, block);
    }
}

}  // namespace plat
