// The blit against its rules written as a plain loop over every pixel: anchor, rejection, screen
// clipping that moves the source, the source window kept inside the slot, and the colour key. Random
// placements over slots with and without see-through pixels, on the game's screen and on a small
// one where most sprites hang off some edge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gfx/CDisplay.h"
#include "support/FakeBackend.h"

namespace {

struct SlotPicture {
    bool made = false;
    int32_t w = 0, h = 0;
    std::vector<uint16_t> px;
    uint16_t At(int64_t c, int64_t r) const { return px[static_cast<size_t>(r * w + c)]; }
};

struct BlitArgs {
    int32_t x, y, w, h, slot, sx, sy, anchor;
};

class Lcg {
public:
    explicit Lcg(uint32_t seed) : m_s(seed) {}
    int32_t In(int32_t lo, int32_t hi) {
        m_s = m_s * 1664525u + 1013904223u;
        return lo + static_cast<int32_t>((m_s >> 8) % static_cast<uint32_t>(hi - lo + 1));
    }

private:
    uint32_t m_s;
};

// The blit step by step as the rules read, one pixel at a time.
int ReferenceBlit(std::vector<uint16_t>& screen, int64_t screenW, int64_t screenH,
                  const std::vector<SlotPicture>& slots, const BlitArgs& a) {
    if (a.slot < 0 || a.slot >= static_cast<int32_t>(slots.size()) || a.anchor < 0 || a.anchor > 8) return 0;
    int64_t w = a.w, h = a.h, sx = a.sx, sy = a.sy, l = a.x, t = a.y;
    switch (a.anchor) {
        case 0:
            t -= h / 2;
            break;
        case 1:
            l -= w;
            t -= h / 2;
            break;
        case 2:
            l -= w / 2;
            break;
        case 3:
            l -= w / 2;
            t -= h;
            break;
        case 4:
            break;
        case 5:
            l -= w;
            break;
        case 6:
            t -= h;
            break;
        case 7:
            l -= w;
            t -= h;
            break;
        case 8:
            l -= w / 2;
            t -= h / 2;
            break;
    }
    if (l + w < 0 || t + h < 0 || l > screenW || t > screenH) return 0;
    if (l < 0) w += l, sx -= l, l = 0;
    if (t < 0) h += t, sy -= t, t = 0;
    if (l + w > screenW) w = screenW - l;
    if (t + h > screenH) h = screenH - t;
    if (w <= 0 || h <= 0) return 1;
    const SlotPicture& src = slots[static_cast<size_t>(a.slot)];
    if (!src.made) return 0;
    for (int64_t r = 0; r < h; ++r) {
        for (int64_t c = 0; c < w; ++c) {
            const int64_t fc = sx + c, fr = sy + r;
            if (fc < 0 || fc >= src.w || fr < 0 || fr >= src.h) continue;  // nothing there to copy
            const uint16_t p = src.At(fc, fr);
            if (p != 0) screen[static_cast<size_t>((t + r) * screenW + l + c)] = p;
        }
    }
    return 1;
}

class BlitRules : public ::testing::TestWithParam<int> {
protected:
    // Slots: opaque of odd size, see-through holes, opaque exactly 8 wide, all see-through, never made,
    // opaque but for its very last pixel, a single pixel, and one wider than the small screen.
    void MakeSlots() {
        const int32_t sizes[][2] = {{16, 15}, {37, 9}, {8, 3}, {11, 11}, {0, 0}, {45, 20}, {1, 1}, {70, 5}};
        display.AllocSlots(static_cast<int32_t>(std::size(sizes)));
        Lcg rnd(7);
        for (size_t i = 0; i < std::size(sizes); ++i) {
            SlotPicture& s = slots.emplace_back();
            s.w = sizes[i][0];
            s.h = sizes[i][1];
            if (i == 4) continue;
            s.made = true;
            s.px.resize(static_cast<size_t>(s.w) * s.h);
            for (size_t p = 0; p < s.px.size(); ++p) {
                const bool hole = (i == 1 && rnd.In(0, 2) == 0) || i == 3 || (i == 5 && p + 1 == s.px.size());
                s.px[p] = hole ? 0 : static_cast<uint16_t>(rnd.In(1, 0xFFFF));
            }
            const auto slot = static_cast<SlotIndex>(i);
            ASSERT_EQ(display.CreateSlot(slot, s.w, s.h), 1);
            SlotDC dc;
            ASSERT_EQ(display.GetSlotDC(slot, &dc), 1);
            std::copy(s.px.begin(), s.px.end(), dc.surface->pixels.get());
            display.ReleaseSlotDC(slot, &dc);
        }
    }

    FakeBackend backend;
    CDisplay display;
    std::vector<SlotPicture> slots;
};

TEST_P(BlitRules, EveryPlacementGivesThePixelsOfThePlainLoop) {
    const int32_t screenW = GetParam() == 0 ? 800 : 45, screenH = GetParam() == 0 ? 600 : 31;
    const int cases = GetParam() == 0 ? 1500 : 6000;
    display.CreateDirectDraw();
    ASSERT_EQ(display.Init(1, screenW, screenH, 16), 1);
    MakeSlots();
    // A back buffer without any black, so a pixel the blit wrongly keeps or wrongly covers shows.
    std::vector<uint16_t> expected(static_cast<size_t>(screenW * screenH));
    for (size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<uint16_t>(0x8000 | (i * 7));
    Surface* back = const_cast<Surface*>(display.BackBuffer());
    std::copy(expected.begin(), expected.end(), back->pixels.get());

    Lcg rnd(static_cast<uint32_t>(1000 + GetParam()));
    const int32_t slotCount = static_cast<int32_t>(slots.size());
    for (int i = 0; i < cases; ++i) {
        BlitArgs a{};
        a.slot = rnd.In(-1, slotCount);
        const bool real = a.slot >= 0 && a.slot < slotCount;
        const int32_t sw = real ? slots[static_cast<size_t>(a.slot)].w : 10;
        const int32_t sh = real ? slots[static_cast<size_t>(a.slot)].h : 10;
        // Mostly the slot's own size from its origin, as the game asks; sometimes more, less or askew.
        a.w = rnd.In(0, 1) ? sw : rnd.In(-2, sw + 8);
        a.h = rnd.In(0, 1) ? sh : rnd.In(-2, sh + 5);
        a.sx = rnd.In(0, 2) ? 0 : rnd.In(-4, sw + 1);
        a.sy = rnd.In(0, 2) ? 0 : rnd.In(-4, sh + 1);
        // Near the left or top edge, near the right or bottom edge, or anywhere.
        const auto near = [&rnd](int32_t size, int32_t margin) {
            const int32_t where = rnd.In(0, 2);
            return where == 2 ? rnd.In(0, size) : (where ? size : 0) + rnd.In(-margin, margin);
        };
        a.x = near(screenW, 80);
        a.y = near(screenH, 30);
        a.anchor = rnd.In(-1, 9);
        const int want = ReferenceBlit(expected, screenW, screenH, slots, a);
        ASSERT_EQ(display.Blit(a.x, a.y, a.w, a.h, a.slot, a.sx, a.sy, a.anchor), want) << "case " << i;
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), back->pixels.get()))
            << "case " << i << ": (" << a.x << "," << a.y << ") " << a.w << "x" << a.h << " slot " << a.slot
            << " from (" << a.sx << "," << a.sy << ") anchor " << a.anchor;
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, BlitRules, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param == 0 ? "Game800x600" : "Small45x31"; });

}  // namespace
