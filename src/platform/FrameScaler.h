// Turning the game's RGB565 frame into the window's 32-bit pixels: the colour table, where the
// picture goes in the window, and the whole-number nearest-neighbour enlargement.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

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

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Rect&) const = default;
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

// The part of a placement that shows source rows [rowBegin, rowEnd).
Placement RowsOf(const Placement& placement, int rowBegin, int rowEnd);

// The rows in which two pictures differ, as [begin, end); begin == end when none does.
struct RowSpan {
    int begin = 0;
    int end = 0;
};
RowSpan ChangedRows(const uint16_t* next, const uint16_t* previous, int picW, int picH);

// The largest rectangle of the picture's proportions that fits the output, centred.
Rect AspectFit(int outW, int outH, int picW, int picH);

// Converts the placed part of src (picW pixels a row) through the table and writes it enlarged by
// placement.scale into dst, a 32-bit image of dstPitch bytes a row, at placement.dst.
void ConvertScaled(const uint16_t* src, int picW, const Placement& placement, const Rgb565Table& table,
                   uint8_t* dst, int dstPitch);

}  // namespace plat
