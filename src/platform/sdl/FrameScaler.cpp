#include "platform/sdl/FrameScaler.h"

#include <algorithm>
#include <cstring>

namespace plat::sdl {

void Rgb565Table::Build(const MapRgb& map) {
    m_table.resize(65536);
    for (uint32_t p = 0; p < 65536; ++p) {
        m_table[p] = map(Expand5(p >> 11), Expand6((p >> 5) & 0x3F), Expand5(p & 0x1F));
    }
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

void ConvertRow(const uint16_t* src, int count, int scale, const Rgb565Table& table, uint32_t* dst) {
    if (scale == 1) {
        for (int i = 0; i < count; ++i) dst[i] = table[src[i]];
        return;
    }
    for (int i = 0; i < count; ++i) {
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

}  // namespace plat::sdl
