// Turning the game's RGB565 frame into the window's 32-bit pixels: the colour table, where the
// picture goes in the window, and its enlargement to fill it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Rect.h"

namespace plat {

// RGB565 -> native 32-bit pixel, for all 65536 values, built once per output format.
class Rgb565Table {
public:
    using MapRgb = std::function<uint32_t(uint8_t r, uint8_t g, uint8_t b)>;

    void Build(const MapRgb& map);
    bool Empty() const { return m_table.empty(); }
    uint32_t operator[](uint16_t pixel) const { return m_table[pixel]; }

    // Where the widened channels sit in the output pixel, when the whole table is nothing but
    // that (plus constant bits): the conversion can then be computed, eight pixels at a time,
    // instead of looked up pixel by pixel.
    struct Layout {
        int redShift = 0, greenShift = 0, blueShift = 0;
        uint32_t fixedBits = 0;
    };
    const Layout* ChannelLayout() const { return m_packed ? &m_layout : nullptr; }

    // Widens a 5- or 6-bit channel to 8 bits so that full intensity stays full (31 -> 255).
    static uint8_t Expand5(uint32_t v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }
    static uint8_t Expand6(uint32_t v) { return static_cast<uint8_t>((v << 2) | (v >> 4)); }

private:
    bool FindLayout();

    std::vector<uint32_t> m_table;
    Layout m_layout;
    bool m_packed = false;
};

// The picture at the largest whole-number scale that fits the output, centred. When even scale 1
// does not fit, the middle of the picture is shown at scale 1 (srcX/srcY say where it starts).
struct Placement {
    int scale = 1;
    Rect dst;      // on the output, already clipped to it
    int srcX = 0;  // first source column and row shown
    int srcY = 0;
    int srcW = 0;  // source columns and rows shown
    int srcH = 0;
};
Placement PlaceInteger(int outW, int outH, int picW, int picH);

// The largest rectangle of the picture's proportions that fits the output, centred.
Rect AspectFit(int outW, int outH, int picW, int picH);

// Converts the placed part of src (picW pixels a row) through the table and writes it enlarged by
// placement.scale into dst, a 32-bit image of dstPitch bytes a row, at placement.dst.
void ConvertScaled(const uint16_t* src, int picW, const Placement& placement, const Rgb565Table& table,
                   uint8_t* dst, int dstPitch);

// Draws the picture enlarged (or reduced) to any rectangle of the output, region by region. At a
// whole-number scale every output pixel is one source pixel; otherwise an output pixel that
// straddles the edge between two source pixels is their blend, weighted by how much of it each
// covers (as a whole-number nearest enlargement followed by a smooth reduction would give),
// while the others stay pure source pixels: sharp at any size.
class FitScaler {
public:
    // For a picW x picH picture shown at fit on the output.
    void Configure(int picW, int picH, const Rect& fit);
    // The output rectangle whose pixels depend on the source rectangle src.
    Rect OutputOf(const Rect& src) const;
    // Converts the source rectangle src of pic (picW pixels a row) through the table and writes
    // OutputOf(src) of dst, a 32-bit image of dstPitch bytes a row.
    void Draw(const uint16_t* pic, const Rect& src, const Rgb565Table& table, uint8_t* dst, int dstPitch);

private:
    // Along one axis: for every output pixel the first source pixel it shows and that pixel's
    // share of it, out of 256 (the rest is the next one's); for every source pixel the first
    // output pixel it touches and one past its last.
    struct Axis {
        std::vector<int> src;
        std::vector<uint16_t> weight;
        std::vector<int> outBegin, outEnd;
        void Build(int picLen, int outLen);
    };
    const uint32_t* ScaledRow(const uint16_t* pic, int row, int x0, int x1, const Rgb565Table& table);

    int m_picW = 0, m_picH = 0;
    Rect m_fit;
    int m_scale = 0;  // the whole-number scale of the fit, 0 when there is none
    Axis m_x, m_y;
    std::vector<uint32_t> m_converted;  // a source row's span, converted
    std::vector<uint32_t> m_rows[2];    // two source rows, scaled across
    int m_rowOf[2] = {-1, -1};          // which source row each holds
};

}  // namespace plat
