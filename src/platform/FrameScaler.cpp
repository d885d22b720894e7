#include "platform/FrameScaler.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace plat {

namespace {

using Layout = Rgb565Table::Layout;

uint32_t Compute(uint16_t p, const Layout& l) {
    return l.fixedBits | uint32_t{Rgb565Table::Expand5(p >> 11)} << l.redShift |
           uint32_t{Rgb565Table::Expand6((p >> 5) & 0x3F)} << l.greenShift |
           uint32_t{Rgb565Table::Expand5(p & 0x1F)} << l.blueShift;
}

// The shift that puts 0xFF where a full channel's bits are, or -1 if they are not eight in a row.
int ShiftOfFullChannel(uint32_t bits) {
    for (int shift = 0; shift <= 24; ++shift) {
        if (bits == uint32_t{0xFF} << shift) return shift;
    }
    return -1;
}

}  // namespace

void Rgb565Table::Build(const MapRgb& map) {
    m_table.resize(65536);
    for (uint32_t p = 0; p < 65536; ++p) {
        m_table[p] = map(Expand5(p >> 11), Expand6((p >> 5) & 0x3F), Expand5(p & 0x1F));
    }
    m_packed = FindLayout();
}

// Reads the layout off the table, then checks it against every entry: the computed conversion is
// used only where it gives exactly what the table holds.
bool Rgb565Table::FindLayout() {
    const uint32_t black = m_table[0];
    const int shifts[3] = {ShiftOfFullChannel(m_table[0xF800] ^ black),
                           ShiftOfFullChannel(m_table[0x07E0] ^ black),
                           ShiftOfFullChannel(m_table[0x001F] ^ black)};
    if (shifts[0] < 0 || shifts[1] < 0 || shifts[2] < 0) return false;
    m_layout = Layout{shifts[0], shifts[1], shifts[2], black};
    for (uint32_t p = 0; p < 65536; ++p) {
        if (Compute(static_cast<uint16_t>(p), m_layout) != m_table[p]) return false;
    }
    return true;
}

Placement PlaceInteger(int outW, int outH, int picW, int picH) {
    Placement p;
    p.scale = std::max(1, std::min(outW / picW, outH / picH));
    p.srcW = std::min(picW, outW / p.scale);
    p.srcH = std::min(picH, outH / p.scale);
    p.srcX = (picW - p.srcW) / 2;
    p.srcY = (picH - p.srcH) / 2;
    p.dst.w = p.srcW * p.scale;
    p.dst.h = p.srcH * p.scale;
    p.dst.x = (outW - p.dst.w) / 2;
    p.dst.y = (outH - p.dst.h) / 2;
    return p;
}

Placement RowsOf(const Placement& placement, int rowBegin, int rowEnd) {
    Placement p = placement;
    const int first = std::max(rowBegin, placement.srcY);
    const int end = std::min(rowEnd, placement.srcY + placement.srcH);
    p.srcY = first;
    p.srcH = std::max(0, end - first);
    p.dst.y = placement.dst.y + (first - placement.srcY) * placement.scale;
    p.dst.h = p.srcH * placement.scale;
    return p;
}

RowSpan ChangedRows(const uint16_t* next, const uint16_t* previous, int picW, int picH) {
    const size_t rowBytes = static_cast<size_t>(picW) * sizeof(uint16_t);
    auto differs = [&](int y) { return std::memcmp(next + y * picW, previous + y * picW, rowBytes) != 0; };
    RowSpan span;
    while (span.begin < picH && !differs(span.begin)) ++span.begin;
    span.end = picH;
    while (span.end > span.begin && !differs(span.end - 1)) --span.end;
    return span;
}

Rect AspectFit(int outW, int outH, int picW, int picH) {
    Rect r;
    if (int64_t{outW} * picH <= int64_t{outH} * picW) {
        r.w = outW;
        r.h = static_cast<int>(int64_t{outW} * picH / picW);
    } else {
        r.h = outH;
        r.w = static_cast<int>(int64_t{outH} * picW / picH);
    }
    r.x = (outW - r.w) / 2;
    r.y = (outH - r.h) / 2;
    return r;
}

namespace {

// Eight pixels at a time with GCC and clang vector extensions (SSE2, NEON, or plain code elsewhere),
// for the usual window formats: green in the second byte, red and blue in the first and third, so
// that each output pixel is two 16-bit halves built side by side and then interleaved.
using Pixels8 = uint16_t __attribute__((vector_size(16)));

bool IsByteLayout(const Layout& l) {
    return std::endian::native == std::endian::little && l.greenShift == 8 &&
           ((l.redShift == 16 && l.blueShift == 0) || (l.redShift == 0 && l.blueShift == 16));
}

void Compute8(const uint16_t* src, const Layout& l, uint32_t* dst) {
    Pixels8 p;
    std::memcpy(&p, src, sizeof p);
    const Pixels8 r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
    const Pixels8 r8 = (r << 3) | (r >> 2), g8 = (g << 2) | (g >> 4), b8 = (b << 3) | (b >> 2);
    const bool redHigh = l.redShift == 16;
    const Pixels8 low = (g8 << 8) | (redHigh ? b8 : r8) | static_cast<uint16_t>(l.fixedBits);
    const Pixels8 high = (redHigh ? r8 : b8) | static_cast<uint16_t>(l.fixedBits >> 16);
    const Pixels8 first = __builtin_shufflevector(low, high, 0, 8, 1, 9, 2, 10, 3, 11);
    const Pixels8 second = __builtin_shufflevector(low, high, 4, 12, 5, 13, 6, 14, 7, 15);
    std::memcpy(dst, &first, sizeof first);
    std::memcpy(dst + 4, &second, sizeof second);
}

void ConvertRow(const uint16_t* src, int count, int scale, const Rgb565Table& table, uint32_t* dst) {
    int i = 0;
    const Layout* layout = table.ChannelLayout();
    if (scale == 1 && layout && IsByteLayout(*layout)) {
        for (; i + 8 <= count; i += 8) Compute8(src + i, *layout, dst + i);
        dst += i;
    }
    for (; i < count; ++i) {
        const uint32_t v = table[src[i]];
        for (int k = 0; k < scale; ++k) *dst++ = v;
    }
}

}  // namespace

void ConvertScaled(const uint16_t* src, int picW, const Placement& placement, const Rgb565Table& table,
                   uint8_t* dst, int dstPitch) {
    const int k = placement.scale;
    const size_t rowBytes = static_cast<size_t>(placement.dst.w) * sizeof(uint32_t);
    uint8_t* out = dst + static_cast<ptrdiff_t>(placement.dst.y) * dstPitch + placement.dst.x * 4;
    for (int r = 0; r < placement.srcH; ++r) {
        const uint16_t* row = src + static_cast<ptrdiff_t>(placement.srcY + r) * picW + placement.srcX;
        ConvertRow(row, placement.srcW, k, table, reinterpret_cast<uint32_t*>(out));
        // The copies of a row are whole rows of the output: repeat the converted one.
        for (int rep = 1; rep < k; ++rep) std::memcpy(out + rep * dstPitch, out, rowBytes);
        out += static_cast<ptrdiff_t>(k) * dstPitch;
    }
}

}  // namespace plat
