#include "Font.h"

namespace assetgen {
namespace {

using Grid = std::vector<std::vector<bool>>;

Grid ToGrid(const std::vector<std::string>& rows) {
    Grid grid;
    for (const std::string& row : rows) {
        std::vector<bool> line;
        for (char ch : row) line.push_back(ch == '#');
        grid.push_back(line);
    }
    return grid;
}

bool Cell(const Grid& g, int x, int y) {
    if (y < 0 || y >= int(g.size()) || x < 0 || x >= int(g[y].size())) return false;
    return g[y][x];
}

// Scale2x: doubles the grid and rounds off diagonal steps without thickening straight strokes.
Grid Double(const Grid& g) {
    int h = int(g.size()), w = int(g[0].size());
    Grid out(2 * h, std::vector<bool>(2 * w, false));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool e = Cell(g, x, y), b = Cell(g, x, y - 1), d = Cell(g, x - 1, y);
            bool f = Cell(g, x + 1, y), hh = Cell(g, x, y + 1);
            bool straight = b != hh && d != f;
            out[2 * y][2 * x] = straight && d == b ? d : e;
            out[2 * y][2 * x + 1] = straight && b == f ? f : e;
            out[2 * y + 1][2 * x] = straight && d == hh ? d : e;
            out[2 * y + 1][2 * x + 1] = straight && hh == f ? f : e;
        }
    return out;
}

void DrawShadow(Image& image, int x, int y, const Mask& body, const TextStyle& style, int scale) {
    for (int j = 0; j < kGlyphHeight * scale; ++j)
        for (int i = 0; i < kGlyphWidth * scale; ++i) {
            int bx = i / scale, by = j / scale;
            bool own = body.At(bx, by) > 0;
            bool cast = body.At((i - scale) / scale, (j - scale) / scale) > 0 && i >= scale && j >= scale;
            if (cast && !own) image.Put(x + i, y + j, style.shadow);
        }
}

void DrawFill(Image& image, int x, int y, const Mask& body, const TextStyle& style, int scale) {
    for (int j = 0; j < kGlyphHeight * scale; ++j)
        for (int i = 0; i < kGlyphWidth * scale; ++i) {
            if (body.At(i / scale, j / scale) <= 0) continue;
            double t = (j + 0.5) / (kCapHeight * scale);
            image.Put(x + i, y + j, Lerp(style.top, style.bottom, t));
        }
}

}  // namespace

TextStyle HudStyle() {
    return {FromHex(0xFFFBE6), FromHex(0xFFB02E), FromHex(0x6A2414)};
}

Mask GlyphBody(char c) {
    Mask body(kGlyphWidth, kGlyphHeight);
    const std::vector<std::string>* rows = GlyphRows(c);
    if (!rows) return body;
    Grid big = Double(ToGrid(*rows));
    int left = (kCapHeight - int(big[0].size())) / 2;
    for (int y = 0; y < int(big.size()); ++y)
        for (int x = 0; x < int(big[y].size()); ++x)
            if (big[y][x]) body.Set(left + x, y, 1.0);
    return body;
}

int TextWidth(const std::string& text, int scale) {
    return int(text.size()) * kGlyphWidth * scale;
}

void DrawText(Image& image, int x, int y, const std::string& text, const TextStyle& style, int scale) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') continue;
        Mask body = GlyphBody(text[i]);
        int gx = x + int(i) * kGlyphWidth * scale;
        DrawShadow(image, gx, y, body, style, scale);
        DrawFill(image, gx, y, body, style, scale);
    }
}

Image MakeNumberSheet() {
    Image sheet(10 * kGlyphWidth, kGlyphHeight);
    DrawText(sheet, 0, 0, "0123456789", HudStyle());
    return sheet;
}

Image MakeAlphabetSheet() {
    Image sheet(26 * kGlyphWidth, kGlyphHeight);
    DrawText(sheet, 0, 0, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", HudStyle());
    return sheet;
}

}  // namespace assetgen
