#include "gfx/CDisplay.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/Platform.h"

namespace {

// The largest surface side the display hands out; anything larger is a failed surface creation.
constexpr int32_t kMaxSurfaceSide = 8192;

std::unique_ptr<Surface> CreateSurface(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return nullptr;
    return std::make_unique<Surface>(width, height);
}

// Eight pixels at a time (GCC and clang vector extensions: SSE2 or NEON, or plain code elsewhere).
using Pixels8 = uint16_t __attribute__((vector_size(16)));

// Sets columns c0 .. c1 of row r, keeping to the surface.
void FillRow(Surface& s, int64_t r, int64_t c0, int64_t c1, uint16_t p) {
    if (r < 0 || r >= s.height) return;
    c0 = std::max<int64_t>(c0, 0);
    c1 = std::min<int64_t>(c1, s.width - 1);
    if (c0 > c1) return;
    uint16_t* d = s.Row(static_cast<int32_t>(r)) + c0;
    const int64_t n = c1 - c0 + 1;
    const Pixels8 eight = Pixels8{} + p;
    int64_t i = 0;
    for (; i + 8 <= n; i += 8) std::memcpy(d + i, &eight, sizeof eight);
    for (; i < n; ++i) d[i] = p;
}

// Sets rows r0 .. r1 of column c, keeping to the surface.
void FillColumn(Surface& s, int64_t c, int64_t r0, int64_t r1, uint16_t p) {
    if (c < 0 || c >= s.width) return;
    r0 = std::max<int64_t>(r0, 0);
    r1 = std::min<int64_t>(r1, s.height - 1);
    for (int64_t r = r0; r <= r1; ++r) s.Row(static_cast<int32_t>(r))[c] = p;
}

// One bevel edge line: the lines drawn at depth k run from lo + k to hi - k along the edge.
struct EdgeLine {
    int64_t depth;  // k, or -1 when no line of this colour passes here
    uint16_t colour;
};

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

void CopyKeyed(const Surface& src, int64_t sx, int64_t sy, Surface& dst, int64_t l, int64_t t, int64_t w,
               int64_t h, bool opaque) {
    for (int64_t row = 0; row < h; ++row) {
        const uint16_t* s = src.Row(static_cast<int32_t>(sy + row)) + sx;
        uint16_t* d = dst.Row(static_cast<int32_t>(t + row)) + l;
        if (opaque) {
            std::memcpy(d, s, static_cast<size_t>(w) * sizeof *d);
        } else {
            CopyRowKeyed(s, d, w);
        }
    }
}

}  // namespace

Surface::Surface(int32_t w, int32_t h)
    : width(w), height(h), pixels(new uint16_t[static_cast<size_t>(w) * h]()) {}

void CDisplay::CreateDirectDraw() {
    // The video service exists once a platform backend is installed.
    m_directDraw = plat::GetBackend() != nullptr;
    if (!m_directDraw) plat::MessageBox("DxDraw Object Creation Failed");
}

int CDisplay::Init(DisplayMode mode, int32_t width, int32_t height, int32_t bpp) {
    if (!m_directDraw) return 0;
    m_screen = ScreenRect{0, 0, width, height};
    m_bpp = bpp;
    if (mode == 1) {
        if (!plat::VideoSetMode(width, height, true) || !(m_backBuffer = CreateSurface(width, height))) {
            Release();
            return 0;
        }
        m_mode = 1;
        return 1;
    }
    if (mode == 0) {
        if (!plat::VideoSetMode(width, height, false)) {
            plat::MessageBox("Winodowed Mode Initialization Failed");
            Release();
            return 0;
        }
        if (!(m_backBuffer = CreateSurface(width, height))) {
            Release();
            return 0;
        }
        m_mode = 0;
        return 1;
    }
    return 0;
}

void CDisplay::AllocSlots(int32_t count) {
    m_slots.reset();
    m_slotCount = 0;
    if (count <= 0) return;
    m_slots.reset(new (std::nothrow) std::unique_ptr<Surface>[static_cast<size_t>(count)]);
    m_keying.reset(new (std::nothrow) Keying[static_cast<size_t>(count)]);
    if (m_slots && m_keying) {
        m_slotCount = count;
        std::fill(m_keying.get(), m_keying.get() + count, Keying::Unknown);
    } else {
        m_slots.reset();
        m_keying.reset();
    }
}

Surface* CDisplay::SlotSurface(SlotIndex slot) const {
    if (slot < 0 || slot >= m_slotCount) return nullptr;
    return m_slots[slot].get();
}

int CDisplay::CreateSlot(SlotIndex slot, int32_t width, int32_t height) {
    if (slot < 0 || slot >= m_slotCount || !m_directDraw) return 0;
    m_slots[slot] = CreateSurface(width, height);
    m_keying[slot] = Keying::Unknown;
    return m_slots[slot] ? 1 : 0;
}

int CDisplay::GetSlotDC(SlotIndex slot, SlotDC* dc) {
    Surface* surface = SlotSurface(slot);
    if (!surface || !dc) return 0;
    dc->surface = surface;
    m_keying[slot] = Keying::Painting;
    return 1;
}

int CDisplay::ReleaseSlotDC(SlotIndex slot, SlotDC* dc) {
    if (!SlotSurface(slot) || !dc) return 0;
    dc->surface = nullptr;
    m_keying[slot] = Keying::Unknown;
    return 1;
}

bool CDisplay::IsOpaque(SlotIndex slot, const Surface& surface) {
    Keying& keying = m_keying[slot];
    if (keying == Keying::Unknown) {
        const uint16_t* begin = surface.pixels.get();
        const uint16_t* end = begin + static_cast<size_t>(surface.width) * surface.height;
        keying = std::find(begin, end, uint16_t{0}) != end ? Keying::Keyed : Keying::Opaque;
    }
    return keying == Keying::Opaque;
}

int32_t CDisplay::GetSlotWidth(SlotIndex slot) const {
    const Surface* surface = SlotSurface(slot);
    return surface ? surface->width : 0;
}

int32_t CDisplay::GetSlotHeight(SlotIndex slot) const {
    const Surface* surface = SlotSurface(slot);
    return surface ? surface->height : 0;
}

int CDisplay::Blit(int32_t x, int32_t y, int32_t w, int32_t h, SlotIndex slot, int32_t sx, int32_t sy,
                   int32_t anchor) {
    if (slot < 0 || slot >= m_slotCount || anchor < 0 || anchor > 8) return 0;

    // 64-bit throughout: extreme arguments must not overflow.
    int64_t cw = w, ch = h, csx = sx, csy = sy;
    const int64_t hx = cw / 2, hy = ch / 2;
    static constexpr int8_t kLeft[9] = {0, 2, 1, 1, 0, 2, 0, 2, 1};  // 0: x, 1: x - w/2, 2: x - w
    static constexpr int8_t kTop[9] = {1, 1, 0, 2, 0, 0, 2, 2, 1};   // 0: y, 1: y - h/2, 2: y - h
    const int64_t leftShift[3] = {0, hx, cw}, topShift[3] = {0, hy, ch};
    int64_t l = x - leftShift[kLeft[anchor]];
    int64_t t = y - topShift[kTop[anchor]];

    const int64_t screenW = m_screen.right, screenH = m_screen.bottom;
    if (l + cw < 0 || t + ch < 0 || l > screenW || t > screenH) return 0;
    if (l < 0) {
        cw += l;
        csx -= l;
        l = 0;
    }
    if (t < 0) {
        ch += t;
        csy -= t;
        t = 0;
    }
    if (l + cw > screenW) cw = screenW - l;
    if (t + ch > screenH) ch = screenH - t;
    if (cw <= 0 || ch <= 0 || !m_backBuffer) return 1;

    const Surface* src = m_slots[slot].get();
    if (!src) return 0;
    // Keep the source window inside the slot, moving the destination with it.
    if (csx < 0) {
        cw += csx;
        l -= csx;
        csx = 0;
    }
    if (csy < 0) {
        ch += csy;
        t -= csy;
        csy = 0;
    }
    cw = std::min<int64_t>(cw, src->width - csx);
    ch = std::min<int64_t>(ch, src->height - csy);
    if (cw > 0 && ch > 0) CopyKeyed(*src, csx, csy, *m_backBuffer, l, t, cw, ch, IsOpaque(slot, *src));
    return 1;
}

int CDisplay::DrawRectOutline(int32_t x, int32_t y, int32_t w, int32_t h, ColorRef colour) {
    if (!m_backBuffer) return 0;
    Surface& s = *m_backBuffer;
    const uint16_t p = ConvertColor(colour);
    const int64_t right = int64_t{x} + w - 1, bottom = int64_t{y} + h - 1;
    if (w > 1) {
        FillRow(s, y, x, right - 1, p);
        FillRow(s, bottom, x, right - 1, p);
    }
    FillColumn(s, x, y, bottom, p);
    FillColumn(s, right, y, bottom, p);
    return 1;
}

int CDisplay::DrawBevelBox(int32_t x, int32_t y, int32_t w, int32_t h, int32_t t, ColorRef light,
                           ColorRef face, ColorRef dark) {
    if (!m_backBuffer) return 0;
    Surface& s = *m_backBuffer;
    const uint16_t pl = ConvertColor(light), pf = ConvertColor(face), pd = ConvertColor(dark);
    const int64_t x0 = x, y0 = y, right = x0 + w - 1, bottom = y0 + h - 1, depth = t;

    if (w > 1) {
        for (int64_t r = std::max<int64_t>(y0, 0); r <= std::min<int64_t>(bottom, s.height - 1); ++r) {
            FillRow(s, r, x0, right - 1, pf);
        }
    }
    // Each edge pixel ends with the colour of the last line drawn over it: lines go by depth k,
    // light before dark at equal k. Working per screen row (then column) bounds the work to the
    // screen whatever the thickness.
    auto ordered = [](EdgeLine a, EdgeLine b, auto&& draw) {
        const bool darkFirst = b.depth >= 0 && (a.depth < 0 || b.depth < a.depth);
        if (darkFirst) draw(b);
        if (a.depth >= 0) draw(a);
        if (!darkFirst && b.depth >= 0) draw(b);
    };
    auto line = [depth](int64_t k, uint16_t colour) {
        return EdgeLine{(k >= 0 && k < depth) ? k : -1, colour};
    };

    const int64_t rowLo = std::max<int64_t>(std::min(y0, bottom - depth + 1), 0);
    const int64_t rowHi = std::min<int64_t>(std::max(y0 + depth - 1, bottom), s.height - 1);
    for (int64_t r = rowLo; r <= rowHi; ++r) {
        ordered(line(r - y0, pl), line(bottom - r, pd),
                [&](EdgeLine e) { FillRow(s, r, x0 + e.depth, right - 1 - e.depth, e.colour); });
    }
    const int64_t colLo = std::max<int64_t>(std::min(x0, right - depth + 1), 0);
    const int64_t colHi = std::min<int64_t>(std::max(x0 + depth - 1, right), s.width - 1);
    for (int64_t c = colLo; c <= colHi; ++c) {
        ordered(line(c - x0, pl), line(right - c, pd),
                [&](EdgeLine e) { FillColumn(s, c, y0 + e.depth, bottom - e.depth, e.colour); });
    }
    return 1;
}

void CDisplay::Flip() {
    if (!m_backBuffer) return;
    Surface& s = *m_backBuffer;
    plat::VideoPresent(s.pixels.get(), s.width, s.height);
    std::fill(s.pixels.get(), s.pixels.get() + static_cast<size_t>(s.width) * s.height, uint16_t{0});
}

void CDisplay::Release() {
    m_backBuffer.reset();
    m_slots.reset();
    m_keying.reset();
    m_slotCount = 0;
    if (m_directDraw) plat::VideoRelease();
    m_directDraw = false;
}

uint16_t CDisplay::ConvertColor(ColorRef c) {
    const uint32_t r = c & 255, g = (c >> 8) & 255, b = (c >> 16) & 255;
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 3) << 6) | (b >> 3));
}
