#include "gfx/CDisplay.h"

#include <algorithm>
#include <new>

#include "platform/Platform.h"

namespace {

// The largest surface side the display hands out; anything larger is a failed surface creation.
constexpr int32_t kMaxSurfaceSide = 8192;

std::unique_ptr<Surface> CreateSurface(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return nullptr;
    return std::make_unique<Surface>(width, height);
}

}  // namespace

Surface::Surface(int32_t w, int32_t h)
    : width(w), height(h), pixels(new uint16_t[static_cast<size_t>(w) * h]()) {}

void CDisplay::CreateDirectDraw() {
    // The video service exists once a platform backend is installed.
    m_directDraw = plat::HasBackend();
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
        StartDrawing();
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
        StartDrawing();
        return 1;
    }
    return 0;
}

void CDisplay::StartDrawing() {
    m_drawList.Reset(m_backBuffer->width, m_backBuffer->height);
    m_deferAll = !plat::VideoWholeFrames();
    m_deferring = m_deferAll;
}

const Surface* CDisplay::BackBuffer() const {
    DrawPendingNow();
    return m_backBuffer.get();
}

// Whatever looks at or changes what the calls draw with needs them drawn first; the frame goes on
// drawing at once and is presented whole.
void CDisplay::DrawPendingNow() const {
    if (m_deferring && m_backBuffer) m_drawList.DrawAll(*m_backBuffer);
    m_deferring = false;
}

// With nothing pending (between frames, where stages load their pictures) the back buffer keeps
// the frame the window was given, which it may show again.
void CDisplay::SlotsChanging() {
    if (!m_drawList.Empty()) DrawPendingNow();
    m_drawList.ForgetShown();
}

void CDisplay::AllocSlots(int32_t count) {
    SlotsChanging();
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
    SlotsChanging();
    m_slots[slot] = CreateSurface(width, height);
    m_keying[slot] = Keying::Unknown;
    return m_slots[slot] ? 1 : 0;
}

int CDisplay::GetSlotDC(SlotIndex slot, SlotDC* dc) {
    Surface* surface = SlotSurface(slot);
    if (!surface || !dc) return 0;
    SlotsChanging();
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
    if (cw > 0 && ch > 0) {
        const BlitCall call{src, csx, csy, l, t, cw, ch, IsOpaque(slot, *src)};
        if (m_deferring) {
            m_drawList.Add(call, slot);
        } else {
            Draw(*m_backBuffer, call, ScreenClip());
        }
    }
    return 1;
}

int CDisplay::DrawRectOutline(int32_t x, int32_t y, int32_t w, int32_t h, ColorRef colour) {
    if (!m_backBuffer) return 0;
    Issue(OutlineCall{x, y, w, h, ConvertColor(colour)});
    return 1;
}

int CDisplay::DrawBevelBox(int32_t x, int32_t y, int32_t w, int32_t h, int32_t t, ColorRef light,
                           ColorRef face, ColorRef dark) {
    if (!m_backBuffer) return 0;
    Issue(BevelCall{x, y, w, h, t, ConvertColor(light), ConvertColor(face), ConvertColor(dark)});
    return 1;
}

template <typename Call>
void CDisplay::Issue(const Call& call) {
    if (m_deferring) {
        m_drawList.Add(call);
    } else {
        Draw(*m_backBuffer, call, ScreenClip());
    }
}

Clip CDisplay::ScreenClip() const {
    return Clip{0, 0, m_backBuffer->width, m_backBuffer->height};
}

// A deferred frame leaves the back buffer holding it, which the next frame's unchanged tiles keep:
// to the calls the back buffer is as black as after a clear.
void CDisplay::Flip() {
    if (!m_backBuffer) return;
    Surface& s = *m_backBuffer;
    if (m_deferring) {
        plat::VideoPresentChanged(s.pixels.get(), s.width, s.height, m_drawList.Compose(s));
    } else {
        plat::VideoPresent(s.pixels.get(), s.width, s.height);
        std::fill(s.pixels.get(), s.pixels.get() + static_cast<size_t>(s.width) * s.height, uint16_t{0});
        m_drawList.ForgetShown();
    }
    m_deferring = m_deferAll;
}

void CDisplay::Release() {
    m_drawList.Reset(0, 0);
    m_deferring = false;
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
