// The shop bar: a dark bevelled panel of ten 16-pixel cells, each a recessed well with its item's icon
// and, below it, the key that buys it. The wells' edges stay plain for the affordability outline.
#include "Draw.h"
#include "Sprites.h"

namespace assetgen {
namespace {

constexpr int kW = 160;
constexpr int kH = 23;
constexpr int kCell = 16;

const std::vector<std::string> kKeyDigits[10] = {
    {".#.", "##.", ".#.", ".#.", "###"}, {"##.", "..#", ".#.", "#..", "###"},
    {"##.", "..#", ".#.", "..#", "##."}, {"#.#", "#.#", "###", "..#", "..#"},
    {"###", "#..", "##.", "..#", "##."}, {".##", "#..", "###", "#.#", "###"},
    {"###", "..#", ".#.", ".#.", ".#."}, {"###", "#.#", "###", "#.#", "###"},
    {"###", "#.#", "###", "..#", "##."}, {"###", "#.#", "#.#", "#.#", "###"},
};

void Panel(Image& bar) {
    FillRect(bar, 0, 0, kW, kH, {30, 32, 54});
    FillRect(bar, 0, 0, kW, 1, {92, 98, 146});
    FillRect(bar, 0, 0, 1, kH, {74, 80, 122});
    FillRect(bar, 0, kH - 1, kW, 1, {12, 12, 22});
    FillRect(bar, kW - 1, 0, 1, kH, {16, 16, 28});
}

void Well(Image& bar, int left) {
    FillRect(bar, left + 1, 1, kCell - 2, 13, {16, 18, 34});
    FillRect(bar, left + 1, 1, kCell - 2, 1, {10, 10, 20});
    FillRect(bar, left + 1, 1, 1, 13, {10, 10, 20});
    FillRect(bar, left + 1, 13, kCell - 2, 1, {52, 56, 88});
    FillRect(bar, left + kCell - 2, 2, 1, 12, {52, 56, 88});
    if (left + kCell < kW) FillRect(bar, left + kCell - 1, 1, 1, kH - 2, {14, 14, 26});
}

void KeyLabel(Image& bar, int left, int cell) {
    const std::vector<std::string>& rows = kKeyDigits[cell];
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x)
            if (rows[y][x] == '#') {
                bar.Put(left + 6 + x + 1, 16 + y + 1, {10, 10, 20});
                bar.Put(left + 6 + x, 16 + y, {196, 204, 236});
            }
}

}  // namespace

Image MakeItemBar() {
    Image bar(kW, kH);
    Panel(bar);
    for (int cell = 0; cell < 10; ++cell) {
        int left = cell * kCell;
        Well(bar, left);
        bar.Paste(MakeItemIcon(cell), left + 2, 2);
        KeyLabel(bar, left, cell);
    }
    return bar;
}

}  // namespace assetgen
