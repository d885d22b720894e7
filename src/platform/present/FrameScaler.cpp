#include "platform/present/FrameScaler.h"

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

// Sixteen pixels at a time with GCC and clang vector extensions (two SSE2 or NEON registers, one
// AVX2 register where the processor has it, or plain code elsewhere), for the usual window
// formats: green in the second byte, red and blue in the first and third, so that each output
// pixel is two 16-bit halves built side by side and then interleaved.
using Pixels16 = uint16_t __attribute__((vector_size(32)));

bool IsByteLayout(const Layout& l) {
    return std::endian::native == std::endian::little && l.greenShift == 8 &&
           ((l.redShift == 16 && l.blueShift == 0) || (l.redShift == 0 && l.blueShift == 16));
}

#if defined(__x86_64__) && defined(__GNUC__) && defined(__ELF__)
// Converting is most of what showing a frame costs: built twice, the wider one picked at start-up
// (by the ELF loader's ifunc, which Windows' loader has no counterpart of).
#define PLINKWELL_WIDE_WHERE_AVAILABLE __attribute__((target_clones("avx2", "default")))
#else
#define PLINKWELL_WIDE_WHERE_AVAILABLE
#endif

PLINKWELL_WIDE_WHERE_AVAILABLE
void Compute16(const uint16_t* src, int count, const Layout& l, uint32_t* dst) {
    const bool redHigh = l.redShift == 16;
    const uint16_t fixedLow = static_cast<uint16_t>(l.fixedBits),
                   fixedHigh = static_cast<uint16_t>(l.fixedBits >> 16);
    for (int i = 0; i + 16 <= count; i += 16) {
        Pixels16 p;
        std::memcpy(&p, src + i, sizeof p);
        const Pixels16 r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
        const Pixels16 r8 = (r << 3) | (r >> 2), g8 = (g << 2) | (g >> 4), b8 = (b << 3) | (b >> 2);
        const Pixels16 low = (g8 << 8) | (redHigh ? b8 : r8) | fixedLow;
        const Pixels16 high = (redHigh ? r8 : b8) | fixedHigh;
        const Pixels16 first =
            __builtin_shufflevector(low, high, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23);
        const Pixels16 second =
            __builtin_shufflevector(low, high, 8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31);
        std::memcpy(dst + i, &first, sizeof first);
        std::memcpy(dst + i + 8, &second, sizeof second);
    }
}

void ConvertRow(const uint16_t* src, int count, int scale, const Rgb565Table& table, uint32_t* dst) {
    int i = 0;
    const Layout* layout = table.ChannelLayout();
    if (layout && IsByteLayout(*layout)) {
        i = count / 16 * 16;
        if (scale == 1) {
            Compute16(src, i, *layout, dst);
            dst += i;
        } else {
            uint32_t sixteen[16];
            for (int j = 0; j < i; j += 16) {
                Compute16(src + j, 16, *layout, sixteen);
                for (const uint32_t v : sixteen) dst = std::fill_n(dst, scale, v);
            }
        }
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

namespace {

// a * w + b * (256 - w), channel by channel, for four 8-bit channels side by side.
uint32_t Blend(uint32_t a, uint32_t b, uint32_t w) {
    constexpr uint32_t kLow = 0x00FF00FF;
    const uint32_t v = 256 - w;
    const uint32_t low = (((a & kLow) * w + (b & kLow) * v) >> 8) & kLow;
    const uint32_t high = (((a >> 8) & kLow) * w + ((b >> 8) & kLow) * v) & ~kLow;
    return low | high;
}

using Pixels8 = uint32_t __attribute__((vector_size(32)));
using Index8 = int32_t __attribute__((vector_size(32)));
using Weights8 = uint16_t __attribute__((vector_size(16)));

// Inlined into each build of its callers, with the vectors by reference so that none crosses a
// call in registers of a width the plain build lacks.
[[gnu::always_inline]] inline void Blend8(const Pixels8& a, const Pixels8& b, const Pixels8& w,
                                          uint32_t* out) {
    constexpr uint32_t kLow = 0x00FF00FF;
    const Pixels8 v = 256 - w;
    const Pixels8 low = (((a & kLow) * w + (b & kLow) * v) >> 8) & kLow;
    const Pixels8 high = (((a >> 8) & kLow) * w + ((b >> 8) & kLow) * v) & ~kLow;
    const Pixels8 r = low | high;
    std::memcpy(out, &r, sizeof r);
}

// The lanes of window picked by index (one register permute with GCC on AVX2).
[[gnu::always_inline]] inline void Pick(const Pixels8& window, const Index8& index, Pixels8* picked) {
#if defined(__GNUC__) && !defined(__clang__)
    *picked = __builtin_shuffle(window, index);
#else
    for (int i = 0; i < 8; ++i) (*picked)[i] = window[index[i]];
#endif
}

// Blend over whole rows, eight pixels at a time.
PLINKWELL_WIDE_WHERE_AVAILABLE
void BlendRows(const uint32_t* a, const uint32_t* b, uint32_t w, int count, uint32_t* out) {
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        Pixels8 pa, pb;
        std::memcpy(&pa, a + i, sizeof pa);
        std::memcpy(&pb, b + i, sizeof pb);
        Blend8(pa, pb, Pixels8{} + w, out + i);
    }
    for (; i < count; ++i) out[i] = Blend(a[i], b[i], w);
}

// Output pixels x0 .. x1 - 1 of a row: each the blend of source pixels src[x] and src[x] + 1 of
// the converted row c by weight[x] (a whole weight of 256 gives src[x] alone, exactly). Enlarged,
// eight outputs mostly lie over fewer than eight sources: those eight are read at once and each
// output picks its two from them. c must be readable for eight pixels from any src[x].
PLINKWELL_WIDE_WHERE_AVAILABLE
void BlendAcross(const uint32_t* c, const int* src, const uint16_t* weight, int x0, int x1, uint32_t* out) {
    int x = x0;
    for (; x + 8 <= x1; x += 8) {
        const int base = src[x];
        if (src[x + 7] - base >= 7) {  // barely enlarged: the pairs reach past the eight
            for (int i = x; i < x + 8; ++i) out[i] = Blend(c[src[i]], c[src[i] + 1], weight[i]);
            continue;
        }
        Pixels8 window;
        Index8 first;
        Weights8 w;
        std::memcpy(&window, c + base, sizeof window);
        std::memcpy(&first, src + x, sizeof first);
        std::memcpy(&w, weight + x, sizeof w);
        first -= base;
        Pixels8 a, b;
        Pick(window, first, &a);
        Pick(window, first + 1, &b);
        Blend8(a, b, __builtin_convertvector(w, Pixels8), out + x);
    }
    for (; x < x1; ++x) out[x] = Blend(c[src[x]], c[src[x] + 1], weight[x]);
}

}  // namespace

void FitScaler::Axis::Build(int picLen, int outLen) {
    src.assign(outLen, 0);
    weight.assign(outLen, 256);
    outBegin.assign(picLen, outLen);
    outEnd.assign(picLen, 0);
    for (int o = 0; o < outLen; ++o) {
        // Output pixel o covers [o, o + 1) * picLen / outLen of the source.
        const int64_t start = int64_t{o} * picLen;  // in source pixels times outLen
        const int first = static_cast<int>(start / outLen);
        src[o] = first;
        const int64_t edge = int64_t{first + 1} * outLen;  // where the next source pixel begins
        const int64_t end = start + picLen;
        int last = first;
        if (outLen >= picLen && edge < end && first + 1 < picLen) {
            weight[o] = static_cast<uint16_t>((edge - start) * 256 / picLen);
            last = first + 1;
        }
        for (int s = first; s <= last; ++s) {
            outBegin[s] = std::min(outBegin[s], o);
            outEnd[s] = o + 1;
        }
    }
    // Reduced, some source pixels are not shown: they reach from the next shown one's output to
    // the previous one's, which is nothing.
    for (int s = picLen - 2; s >= 0; --s) {
        if (outBegin[s] == outLen) outBegin[s] = outBegin[s + 1];
    }
    for (int s = 1; s < picLen; ++s) {
        if (outEnd[s] == 0) outEnd[s] = outEnd[s - 1];
    }
}

void FitScaler::Configure(int picW, int picH, const Rect& fit) {
    if (picW == m_picW && picH == m_picH && fit == m_fit) return;
    m_picW = picW;
    m_picH = picH;
    m_fit = fit;
    const int k = fit.w / picW;
    m_scale = k >= 1 && fit.w == k * picW && fit.h == k * picH ? k : 0;
    m_x.Build(picW, fit.w);
    m_y.Build(picH, fit.h);
    m_converted.resize(picW + 8);  // read eight at a time; the last pixel's right neighbour at no weight
    for (auto& row : m_rows) row.resize(fit.w);
}

Rect FitScaler::OutputOf(const Rect& src) const {
    if (src.w <= 0 || src.h <= 0) return Rect{};
    const int x0 = m_x.outBegin[src.x], x1 = m_x.outEnd[src.x + src.w - 1];
    const int y0 = m_y.outBegin[src.y], y1 = m_y.outEnd[src.y + src.h - 1];
    if (x1 <= x0 || y1 <= y0) return Rect{};  // shrunk: none of these source pixels is shown
    return Rect{m_fit.x + x0, m_fit.y + y0, x1 - x0, y1 - y0};
}

// Source row `row` scaled across output columns [x0, x1) of the fit, kept for the next rows.
const uint32_t* FitScaler::ScaledRow(const uint16_t* pic, int row, int x0, int x1, const Rgb565Table& table) {
    const int slot = row & 1;
    uint32_t* out = m_rows[slot].data();
    if (m_rowOf[slot] == row) return out;
    m_rowOf[slot] = row;
    const int s0 = m_x.src[x0];
    const int s1 = std::min(m_picW, m_x.src[x1 - 1] + 2);
    ConvertRow(pic + static_cast<size_t>(row) * m_picW + s0, s1 - s0, 1, table, m_converted.data());
    BlendAcross(m_converted.data() - s0, m_x.src.data(), m_x.weight.data(), x0, x1, out);
    return out;
}

void FitScaler::Draw(const uint16_t* pic, const Rect& src, const Rgb565Table& table, uint8_t* dst,
                     int dstPitch) {
    const Rect out = OutputOf(src);
    if (out.w <= 0) return;
    if (m_scale > 0) {
        const Placement p{m_scale, out, src.x, src.y, src.w, src.h};
        ConvertScaled(pic, m_picW, p, table, dst, dstPitch);
        return;
    }
    const int x0 = out.x - m_fit.x, x1 = x0 + out.w;
    m_rowOf[0] = m_rowOf[1] = -1;  // another region or another picture: rows are made afresh
    for (int y = out.y - m_fit.y; y < out.y - m_fit.y + out.h; ++y) {
        const int s = m_y.src[y];
        const uint32_t w = m_y.weight[y];
        uint32_t* line =
            reinterpret_cast<uint32_t*>(dst + static_cast<ptrdiff_t>(m_fit.y + y) * dstPitch) + m_fit.x;
        const uint32_t* a = ScaledRow(pic, s, x0, x1, table);
        if (w == 256) {
            std::memcpy(line + x0, a + x0, static_cast<size_t>(out.w) * sizeof(uint32_t));
        } else {
            BlendRows(a + x0, ScaledRow(pic, s + 1, x0, x1, table) + x0, w, out.w, line + x0);
        }
    }
}

}  // namespace plat
