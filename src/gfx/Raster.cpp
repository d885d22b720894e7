#include "gfx/Raster.h"

#include <algorithm>
#include <cstring>

namespace {

// Eight pixels at a time (GCC and clang vector extensions: SSE2 or NEON, or plain code elsewhere).
using Pixels8 = uint16_t __attribute__((vector_size(16)));

// Sets columns c0 .. c1 of row r, keeping to the clip.
void FillRow(Surface& s, const Clip& clip, int64_t r, int64_t c0, int64_t c1, uint16_t p) {
    if (r < clip.y0 || r >= clip.y1) return;
    c0 = std::max(c0, clip.x0);
    c1 = std::min(c1, clip.x1 - 1);
    if (c0 > c1) return;
    uint16_t* d = s.Row(static_cast<int32_t>(r)) + c0;
    const int64_t n = c1 - c0 + 1;
    const Pixels8 eight = Pixels8{} + p;
    int64_t i = 0;
    for (; i + 8 <= n; i += 8) std::memcpy(d + i, &eight, sizeof eight);
    for (; i < n; ++i) d[i] = p;
}

// Sets rows r0 .. r1 of column c, keeping to the clip.
void FillColumn(Surface& s, const Clip& clip, int64_t c, int64_t r0, int64_t r1, uint16_t p) {
    if (c < clip.x0 || c >= clip.x1) return;
    r0 = std::max(r0, clip.y0);
    r1 = std::min(r1, clip.y1 - 1);
    for (int64_t r = r0; r <= r1; ++r) s.Row(static_cast<int32_t>(r))[c] = p;
}

// Copies one row, leaving the target unchanged where the source holds the colour key 0.
void CopyRowKeyed(const uint16_t* s, uint16_t* d, int64_t w) {
    int64_t i = 0;
    for (; i + 8 <= w; i += 8) {
        Pixels8 src, dst;
        std::memcpy(&src, s + i, sizeof src);
        std::memcpy(&dst, d + i, sizeof dst);
        const Pixels8 key = __builtin_convertvector(src == 0, Pixels8);  // all ones where transparent
        dst = (dst & key) | (src & ~key);
        std::memcpy(d + i, &dst, sizeof dst);
    }
    for (; i < w; ++i) {
        if (s[i] != 0) d[i] = s[i];
    }
}

// One bevel edge line: the lines drawn at depth k run from lo + k to hi - k along the edge.
struct EdgeLine {
    int64_t depth;  // k, or -1 when no line of this colour passes here
    uint16_t colour;
};

// The rows (then columns) that carry edge lines: the first and last depth of them, from either end.
int64_t EdgeLo(int64_t lo, int64_t hi, int64_t depth) {
    return std::min(lo, hi - depth + 1);
}
int64_t EdgeHi(int64_t lo, int64_t hi, int64_t depth) {
    return std::max(lo + depth - 1, hi);
}

}  // namespace

void Draw(Surface& s, const BlitCall& call, const Clip& clip) {
    const int64_t l = std::max(call.l, clip.x0), t = std::max(call.t, clip.y0);
    const int64_t w = std::min(call.l + call.w, clip.x1) - l, h = std::min(call.t + call.h, clip.y1) - t;
    if (w <= 0 || h <= 0) return;
    const int64_t sx = call.sx + (l - call.l), sy = call.sy + (t - call.t);
    for (int64_t row = 0; row < h; ++row) {
        const uint16_t* src = call.src->Row(static_cast<int32_t>(sy + row)) + sx;
        uint16_t* dst = s.Row(static_cast<int32_t>(t + row)) + l;
        if (call.opaque) {
            std::memcpy(dst, src, static_cast<size_t>(w) * sizeof *dst);
        } else {
            CopyRowKeyed(src, dst, w);
        }
    }
}

void Draw(Surface& s, const OutlineCall& call, const Clip& clip) {
    const int64_t x = call.x, y = call.y, right = x + call.w - 1, bottom = y + call.h - 1;
    if (call.w > 1) {
        FillRow(s, clip, y, x, right - 1, call.colour);
        FillRow(s, clip, bottom, x, right - 1, call.colour);
    }
    FillColumn(s, clip, x, y, bottom, call.colour);
    FillColumn(s, clip, right, y, bottom, call.colour);
}

void Draw(Surface& s, const BevelCall& call, const Clip& clip) {
    const int64_t x0 = call.x, y0 = call.y, right = x0 + call.w - 1, bottom = y0 + call.h - 1;
    const int64_t depth = call.depth;
    if (call.w > 1) {
        for (int64_t r = std::max(y0, clip.y0); r <= std::min(bottom, clip.y1 - 1); ++r) {
            FillRow(s, clip, r, x0, right - 1, call.face);
        }
    }
    // Each edge pixel ends with the colour of the last line drawn over it: lines go by depth k,
    // light before dark at equal k. Working per row (then column) of the clip bounds the work
    // whatever the thickness.
    auto ordered = [](EdgeLine a, EdgeLine b, auto&& draw) {
        const bool darkFirst = b.depth >= 0 && (a.depth < 0 || b.depth < a.depth);
        if (darkFirst) draw(b);
        if (a.depth >= 0) draw(a);
        if (!darkFirst && b.depth >= 0) draw(b);
    };
    auto line = [depth](int64_t k, uint16_t colour) {
        return EdgeLine{(k >= 0 && k < depth) ? k : -1, colour};
    };

    const int64_t rowLo = std::max(EdgeLo(y0, bottom, depth), clip.y0);
    const int64_t rowHi = std::min(EdgeHi(y0, bottom, depth), clip.y1 - 1);
    for (int64_t r = rowLo; r <= rowHi; ++r) {
        ordered(line(r - y0, call.light), line(bottom - r, call.dark),
                [&](EdgeLine e) { FillRow(s, clip, r, x0 + e.depth, right - 1 - e.depth, e.colour); });
    }
    const int64_t colLo = std::max(EdgeLo(x0, right, depth), clip.x0);
    const int64_t colHi = std::min(EdgeHi(x0, right, depth), clip.x1 - 1);
    for (int64_t c = colLo; c <= colHi; ++c) {
        ordered(line(c - x0, call.light), line(right - c, call.dark),
                [&](EdgeLine e) { FillColumn(s, clip, c, y0 + e.depth, bottom - e.depth, e.colour); });
    }
}

Clip Bounds(const BlitCall& call) {
    return Clip{call.l, call.t, call.l + call.w, call.t + call.h};
}

// Both columns and both rows are drawn whichever way round they lie.
Clip Bounds(const OutlineCall& call) {
    const int64_t right = int64_t{call.x} + call.w - 1, bottom = int64_t{call.y} + call.h - 1;
    return Clip{std::min<int64_t>(call.x, right), std::min<int64_t>(call.y, bottom),
                std::max<int64_t>(call.x, right) + 1, std::max<int64_t>(call.y, bottom) + 1};
}

// The face spans the box; edge lines may run beyond it when the depth exceeds its size.
Clip Bounds(const BevelCall& call) {
    const int64_t x0 = call.x, y0 = call.y, right = x0 + call.w - 1, bottom = y0 + call.h - 1;
    return Clip{std::min({x0, EdgeLo(x0, right, call.depth)}), std::min({y0, EdgeLo(y0, bottom, call.depth)}),
                std::max({right, EdgeHi(x0, right, call.depth)}) + 1,
                std::max({bottom, EdgeHi(y0, bottom, call.depth)}) + 1};
}
