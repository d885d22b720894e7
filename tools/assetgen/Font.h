// The game's bold 16 x 15 typeface: bright gradient fill, a darker shadow one pixel to the lower right.
#pragma once

#include <string>
#include <vector>

#include "Draw.h"
#include "Image.h"

namespace assetgen {

constexpr int kGlyphWidth = 16;
constexpr int kGlyphHeight = 15;
constexpr int kCapHeight = 14;  // rows 0..13 hold the letter, row 14 its shadow

struct TextStyle {
    Col top;     // fill at the cap line
    Col bottom;  // fill at the baseline
    Col shadow;
};

TextStyle HudStyle();

// The design grid of one character, or nullptr for a character the face does not have.
const std::vector<std::string>* GlyphRows(char c);

// The letter's own pixels (1) in its 16 x 15 cell, shadow excluded.
Mask GlyphBody(char c);

// Draws text with glyphs enlarged scale times; a blank takes a cell and draws nothing.
void DrawText(Image& image, int x, int y, const std::string& text, const TextStyle& style, int scale = 1);
int TextWidth(const std::string& text, int scale = 1);

Image MakeNumberSheet();
Image MakeAlphabetSheet();

}  // namespace assetgen
