#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "gfx/CDisplay.h"
#include "support/FakeBackend.h"

namespace {

constexpr int kW = 800;
constexpr int kH = 600;

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        display.CreateDirectDraw();
        ASSERT_EQ(display.Init(1, kW, kH, 16), 1);
        display.AllocSlots(4);
        // Slot 0: 16 x 15, every pixel a distinct non-zero value: 1 + column + 16 x row.
        ASSERT_EQ(display.CreateSlot(0, 16, 15), 1);
        Surface* s = Slot(0);
        for (int r = 0; r < 15; ++r) {
            for (int c = 0; c < 16; ++c) s->Row(r)[c] = static_cast<uint16_t>(1 + c + 16 * r);
        }
    }

    Surface* Slot(SlotIndex slot) {
        SlotDC dc;
        display.GetSlotDC(slot, &dc);
        Surface* s = dc.surface;
        display.ReleaseSlotDC(slot, &dc);
        return s;
    }

    uint16_t Px(int c, int r) const { return display.BackBuffer()->Row(r)[c]; }
    int CountNonZero() const {
        int n = 0;
        const Surface* s = display.BackBuffer();
        for (int i = 0; i < s->width * s->height; ++i) n += s->pixels[i] != 0;
        return n;
    }
    // Fills the back buffer with a marker so untouched pixels are recognisable.
    void Paint(uint16_t v) {
        Surface* s = const_cast<Surface*>(display.BackBuffer());
        std::fill(s->pixels.get(), s->pixels.get() + kW * kH, v);
    }

    FakeBackend backend;
    CDisplay display;
};

// A uniform slot of the given size and value.
void FillSlot(CDisplay& d, SlotIndex slot, int w, int h, uint16_t v) {
    ASSERT_EQ(d.CreateSlot(slot, w, h), 1);
    SlotDC dc;
    ASSERT_EQ(d.GetSlotDC(slot, &dc), 1);
    std::fill(dc.surface->pixels.get(), dc.surface->pixels.get() + w * h, v);
    d.ReleaseSlotDC(slot, &dc);
}

TEST(DisplayColour, ConvertsColorRefToFiveFiveFive) {
    EXPECT_EQ(CDisplay::ConvertColor(255), 0xF800);
    EXPECT_EQ(CDisplay::ConvertColor(65280), 0x07C0);
    EXPECT_EQ(CDisplay::ConvertColor(0xFF0000), 0x001F);
    EXPECT_EQ(CDisplay::ConvertColor((128 << 8) | 255), 0xF800 | (16 << 6));
    EXPECT_EQ(CDisplay::ConvertColor(0x07070707), 0);
}

TEST(DisplayLifecycle, InitModesAndFailures) {
    FakeBackend backend;
    CDisplay d;
    EXPECT_EQ(d.Init(1, kW, kH, 16), 0);  // no DirectDraw object yet
    d.CreateDirectDraw();
    EXPECT_TRUE(backend.messages.empty());
    EXPECT_EQ(d.Init(2, kW, kH, 16), 0);
    EXPECT_EQ(d.Mode(), -1);
    EXPECT_EQ(d.BackBuffer(), nullptr);
    EXPECT_EQ(d.Init(0, kW, kH, 16), 1);
    EXPECT_EQ(d.Mode(), 0);
    ASSERT_NE(d.BackBuffer(), nullptr);
    EXPECT_EQ(d.BackBuffer()->width, kW);
    EXPECT_EQ(d.BackBuffer()->height, kH);
    EXPECT_TRUE(backend.messages.empty());
}

TEST(DisplayLifecycle, RefusedModesReleaseEverything) {
    FakeBackend backend;
    backend.videoOk = false;
    CDisplay full;
    full.CreateDirectDraw();
    EXPECT_EQ(full.Init(1, kW, kH, 16), 0);
    EXPECT_TRUE(backend.messages.empty());  // the full-screen path shows nothing
    EXPECT_EQ(full.Mode(), -1);
    full.AllocSlots(3);
    EXPECT_EQ(full.CreateSlot(0, 4, 4), 0);           // the DirectDraw object went with the failure
    EXPECT_EQ(full.Blit(0, 0, 4, 4, 0, 0, 0, 4), 1);  // no mode: nothing drawn, result 1
    EXPECT_EQ(full.DrawRectOutline(0, 0, 4, 4, 255), 0);
    EXPECT_EQ(full.DrawBevelBox(0, 0, 4, 4, 1, 255, 255, 255), 0);

    CDisplay windowed;
    windowed.CreateDirectDraw();
    EXPECT_EQ(windowed.Init(0, kW, kH, 16), 0);
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0], "Winodowed Mode Initialization Failed");
    EXPECT_EQ(windowed.BackBuffer(), nullptr);
}

TEST(DisplayLifecycle, CreationFailsWithoutAPlatform) {
    CDisplay d;
    d.CreateDirectDraw();
    EXPECT_EQ(d.Init(1, kW, kH, 16), 0);
}

TEST(DisplayLifecycle, ReleaseIsIdempotent) {
    FakeBackend backend;
    CDisplay d;
    d.CreateDirectDraw();
    ASSERT_EQ(d.Init(1, kW, kH, 16), 1);
    d.AllocSlots(89);
    ASSERT_EQ(d.CreateSlot(88, 8, 8), 1);
    d.Release();
    EXPECT_EQ(d.SlotCount(), 0);
    EXPECT_EQ(d.BackBuffer(), nullptr);
    EXPECT_EQ(d.GetSlotWidth(88), 0);
    d.Release();
    d.Flip();
    EXPECT_EQ(backend.presents, 0);
}

TEST_F(DisplayTest, SlotsCheckTheirRange) {
    EXPECT_EQ(display.CreateSlot(4, 8, 8), 0);
    EXPECT_EQ(display.CreateSlot(-1, 8, 8), 0);
    EXPECT_EQ(display.CreateSlot(1, 0, 8), 0);
    EXPECT_EQ(display.GetSlotWidth(0), 16);
    EXPECT_EQ(display.GetSlotHeight(0), 15);
    EXPECT_EQ(display.GetSlotWidth(1), 0);  // never created
    EXPECT_EQ(display.GetSlotHeight(4), 0);
    EXPECT_EQ(display.GetSlotWidth(-1), 0);
    SlotDC dc;
    EXPECT_EQ(display.GetSlotDC(1, &dc), 0);
    EXPECT_EQ(dc.surface, nullptr);
    EXPECT_EQ(display.GetSlotDC(0, &dc), 1);
    ASSERT_NE(dc.surface, nullptr);
    EXPECT_EQ(dc.surface->width, 16);
    EXPECT_EQ(display.ReleaseSlotDC(0, &dc), 1);
    EXPECT_EQ(display.ReleaseSlotDC(9, &dc), 0);
}

TEST_F(DisplayTest, EveryAnchorPlacesTheSprite) {
    // An 11 x 7 sprite: odd sizes show the halves truncate (w/2 = 5, h/2 = 3).
    FillSlot(display, 1, 11, 7, 0x1234);
    struct Case {
        int anchor, left, top;
    };
    const int x = 100, y = 200;
    const Case cases[] = {{0, 100, 197}, {1, 89, 197},  {2, 95, 200}, {3, 95, 193}, {4, 100, 200},
                          {5, 89, 200},  {6, 100, 193}, {7, 89, 193}, {8, 95, 197}};
    for (const Case& c : cases) {
        Paint(0);
        EXPECT_EQ(display.Blit(x, y, 11, 7, 1, 0, 0, c.anchor), 1) << c.anchor;
        EXPECT_EQ(CountNonZero(), 77) << c.anchor;
        EXPECT_EQ(Px(c.left, c.top), 0x1234) << c.anchor;
        EXPECT_EQ(Px(c.left + 10, c.top + 6), 0x1234) << c.anchor;
        EXPECT_EQ(Px(c.left - 1, c.top), 0) << c.anchor;
        EXPECT_EQ(Px(c.left, c.top - 1), 0) << c.anchor;
    }
}

TEST_F(DisplayTest, BadAnchorOrSlotDrawsNothing) {
    EXPECT_EQ(display.Blit(10, 10, 16, 15, 0, 0, 0, 9), 0);
    EXPECT_EQ(display.Blit(10, 10, 16, 15, 0, 0, 0, -1), 0);
    EXPECT_EQ(display.Blit(10, 10, 16, 15, 4, 0, 0, 4), 0);
    EXPECT_EQ(display.Blit(10, 10, 16, 15, -1, 0, 0, 4), 0);
    EXPECT_EQ(display.Blit(10, 10, 16, 15, 2, 0, 0, 4), 0);  // slot never created
    EXPECT_EQ(CountNonZero(), 0);
}

TEST_F(DisplayTest, CopiesOneToOneFromTheSourceWindow) {
    EXPECT_EQ(display.Blit(50, 60, 4, 3, 0, 5, 2, 4), 1);
    EXPECT_EQ(CountNonZero(), 12);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_EQ(Px(50 + c, 60 + r), 1 + (5 + c) + 16 * (2 + r));
    }
}

TEST_F(DisplayTest, ColourKeyZeroLeavesTheTarget) {
    Surface* s = Slot(0);
    s->Row(0)[0] = 0;
    s->Row(1)[3] = 0;
    Paint(0x7777);
    display.Blit(0, 0, 16, 15, 0, 0, 0, 4);
    EXPECT_EQ(Px(0, 0), 0x7777);
    EXPECT_EQ(Px(3, 1), 0x7777);
    EXPECT_EQ(Px(1, 0), 2);
    EXPECT_EQ(Px(15, 14), 16 * 15);
    EXPECT_EQ(Px(16, 0), 0x7777);
    // The same in the last few pixels of a row that is not a multiple of eight wide.
    s->Row(2)[12] = 0;
    Paint(0x7777);
    display.Blit(0, 0, 13, 15, 0, 0, 0, 4);
    EXPECT_EQ(Px(12, 2), 0x7777);
    EXPECT_EQ(Px(11, 2), 1 + 11 + 32);
    EXPECT_EQ(Px(12, 3), 1 + 12 + 48);
    EXPECT_EQ(Px(13, 3), 0x7777);
}

TEST_F(DisplayTest, LeftEdgeClipsAndMovesTheSource) {
    EXPECT_EQ(display.Blit(-5, 10, 16, 15, 0, 0, 0, 4), 1);
    EXPECT_EQ(CountNonZero(), 11 * 15);
    for (int c = 0; c <= 10; ++c) EXPECT_EQ(Px(c, 10), 1 + 5 + c);
    EXPECT_EQ(Px(10, 24), 1 + 15 + 16 * 14);
    EXPECT_EQ(Px(11, 10), 0);
}

TEST_F(DisplayTest, TopAndBottomRightEdgesClip) {
    EXPECT_EQ(display.Blit(10, -3, 16, 15, 0, 0, 0, 4), 1);
    EXPECT_EQ(Px(10, 0), 1 + 16 * 3);
    EXPECT_EQ(CountNonZero(), 16 * 12);
    Paint(0);
    EXPECT_EQ(display.Blit(kW - 4, kH - 2, 16, 15, 0, 0, 0, 4), 1);
    EXPECT_EQ(CountNonZero(), 4 * 2);
    EXPECT_EQ(Px(kW - 1, kH - 1), 1 + 3 + 16);
}

TEST_F(DisplayTest, RejectionAndEmptyClips) {
    EXPECT_EQ(display.Blit(kW, 0, 16, 15, 0, 0, 0, 4), 1);  // L = 800: accepted, clipped to nothing
    EXPECT_EQ(display.Blit(kW + 1, 0, 16, 15, 0, 0, 0, 4), 0);
    EXPECT_EQ(display.Blit(0, kH, 16, 15, 0, 0, 0, 4), 1);
    EXPECT_EQ(display.Blit(0, kH + 1, 16, 15, 0, 0, 0, 4), 0);
    EXPECT_EQ(display.Blit(-16, 0, 16, 15, 0, 0, 0, 4), 1);  // L + w = 0
    EXPECT_EQ(display.Blit(-17, 0, 16, 15, 0, 0, 0, 4), 0);  // L + w = -1
    EXPECT_EQ(display.Blit(0, -15, 16, 15, 0, 0, 0, 4), 1);
    EXPECT_EQ(display.Blit(0, -16, 16, 15, 0, 0, 0, 4), 0);
    EXPECT_EQ(display.Blit(10, 10, 0, 15, 0, 0, 0, 4), 1);
    EXPECT_EQ(CountNonZero(), 0);
}

TEST_F(DisplayTest, SourceWindowStaysInsideTheSlot) {
    // Asking for more than the slot holds copies only what is there.
    EXPECT_EQ(display.Blit(100, 100, 40, 40, 0, 10, 12, 4), 1);
    EXPECT_EQ(CountNonZero(), 6 * 3);
    EXPECT_EQ(Px(100, 100), 1 + 10 + 16 * 12);
    EXPECT_EQ(Px(105, 102), 1 + 15 + 16 * 14);
    Paint(0);
    // A negative source origin moves the destination with it.
    EXPECT_EQ(display.Blit(100, 100, 16, 15, 0, -3, -2, 4), 1);
    EXPECT_EQ(CountNonZero(), 13 * 13);
    EXPECT_EQ(Px(103, 102), 1);
    EXPECT_EQ(Px(102, 102), 0);
    Paint(0);
    EXPECT_EQ(display.Blit(100, 100, 16, 15, 0, 16, 0, 4), 1);
    EXPECT_EQ(display.Blit(100, 100, 16, 15, 0, INT32_MIN, INT32_MAX, 4), 1);
    EXPECT_EQ(CountNonZero(), 0);
}

TEST_F(DisplayTest, ExtremeArgumentsAreSafe) {
    EXPECT_EQ(display.Blit(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 0, 0, 0, 8), 0);
    EXPECT_EQ(display.Blit(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0, 0, 0, 4), 0);  // L + w = -1
    EXPECT_EQ(display.Blit(-100, -100, INT32_MAX, INT32_MAX, 0, INT32_MAX, 0, 4), 1);
    EXPECT_EQ(display.Blit(0, 0, INT32_MAX, INT32_MAX, 0, 0, 0, 4), 1);
    EXPECT_EQ(CountNonZero(), 16 * 15);
    Paint(0);
    EXPECT_EQ(display.Blit(INT32_MIN, 0, INT32_MIN, 15, 0, 0, 0, 1), 0);
    EXPECT_EQ(display.DrawRectOutline(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 255), 1);
    EXPECT_EQ(display.DrawBevelBox(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, 1, 2, 3), 1);
    EXPECT_EQ(display.DrawBevelBox(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MIN, 1, 2, 3), 1);
}

TEST_F(DisplayTest, RectOutlineDrawsTheBorder) {
    EXPECT_EQ(display.DrawRectOutline(10, 20, 5, 4, 255), 1);
    EXPECT_EQ(CountNonZero(), 14);
    for (int c = 10; c <= 14; ++c) {
        EXPECT_EQ(Px(c, 20), 0xF800);
        EXPECT_EQ(Px(c, 23), 0xF800);
    }
    EXPECT_EQ(Px(10, 21), 0xF800);
    EXPECT_EQ(Px(14, 22), 0xF800);
    EXPECT_EQ(Px(11, 21), 0);
}

TEST_F(DisplayTest, RectOutlineThinShapes) {
    display.DrawRectOutline(10, 20, 1, 4, 65280);  // w = 1: one column
    EXPECT_EQ(CountNonZero(), 4);
    for (int r = 20; r < 24; ++r) EXPECT_EQ(Px(10, r), 0x07C0);
    Paint(0);
    display.DrawRectOutline(10, 20, 6, 1, 255);  // h = 1: the two rows coincide
    EXPECT_EQ(CountNonZero(), 6);
    for (int c = 10; c < 16; ++c) EXPECT_EQ(Px(c, 20), 0xF800);
    Paint(0);
    display.DrawRectOutline(10, 20, 16, 2, 255);  // h = 2: every pixel
    EXPECT_EQ(CountNonZero(), 32);
}

TEST_F(DisplayTest, RectOutlineClipsToTheScreen) {
    Paint(0x1111);
    display.DrawRectOutline(-2, -3, 6, 5, 255);
    // Right column x = 3 rows 0..1, bottom row y = 1 columns 0..2 (the right column covers x = 3).
    EXPECT_EQ(Px(3, 0), 0xF800);
    EXPECT_EQ(Px(3, 1), 0xF800);
    EXPECT_EQ(Px(0, 1), 0xF800);
    EXPECT_EQ(Px(2, 1), 0xF800);
    EXPECT_EQ(Px(0, 0), 0x1111);
    EXPECT_EQ(Px(4, 0), 0x1111);
    EXPECT_EQ(Px(3, 2), 0x1111);
    display.DrawRectOutline(kW - 2, kH - 2, 5, 5, 255);
    EXPECT_EQ(Px(kW - 2, kH - 2), 0xF800);
    EXPECT_EQ(Px(kW - 1, kH - 2), 0xF800);
    EXPECT_EQ(Px(kW - 1, kH - 1), 0x1111);
}

TEST_F(DisplayTest, BevelBoxWithAllRedIsSolid) {
    display.DrawBevelBox(100, 200, 40, 15, 10, 255, 255, 255);
    EXPECT_EQ(CountNonZero(), 40 * 15);
    for (int r = 200; r < 215; ++r) {
        for (int c = 100; c < 140; ++c) ASSERT_EQ(Px(c, r), 0xF800) << c << "," << r;
    }
}

TEST_F(DisplayTest, BevelBoxEdgesAndCorners) {
    // 6 x 5 at (10, 20), thickness 2: lt light, fc face, dk dark, worked out line by line.
    const uint16_t lt = CDisplay::ConvertColor(0xFFFFFF), fc = CDisplay::ConvertColor(0x808080),
                   dk = CDisplay::ConvertColor(0x000080);
    display.DrawBevelBox(10, 20, 6, 5, 2, 0xFFFFFF, 0x808080, 0x000080);
    // Verticals go over horizontals, so the top-right and bottom-left corners step diagonally.
    const uint16_t expected[5][6] = {
        {lt, lt, lt, lt, lt, dk}, {lt, lt, lt, lt, dk, dk}, {lt, lt, fc, fc, dk, dk},
        {lt, lt, dk, dk, dk, dk}, {lt, dk, dk, dk, dk, dk},
    };
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 6; ++c) EXPECT_EQ(Px(10 + c, 20 + r), expected[r][c]) << c << "," << r;
    }
    EXPECT_EQ(CountNonZero(), 30);
}

TEST_F(DisplayTest, BevelBoxThickerThanHalfInterleavesByDepth) {
    // Lines go by depth, light before dark at equal depth: a row is light at depth k and dark at
    // depth 14 - k, and the deeper line is drawn last.
    const uint16_t lt = 0xF800, dk = 0x001F;
    display.DrawBevelBox(100, 200, 40, 15, 10, 255, 65280, 0xFF0000);
    const uint16_t column120[15] = {lt, lt, lt, lt, lt, dk, dk, dk, lt, lt, dk, dk, dk, dk, dk};
    for (int r = 0; r < 15; ++r) EXPECT_EQ(Px(120, 200 + r), column120[r]) << r;
    Paint(0);
    display.DrawBevelBox(100, 200, 11, 30, 10, 255, 65280, 0xFF0000);
    const uint16_t row215[11] = {lt, dk, dk, dk, dk, dk, lt, lt, lt, lt, dk};
    for (int c = 0; c < 11; ++c) EXPECT_EQ(Px(100 + c, 215), row215[c]) << c;
}

TEST_F(DisplayTest, BevelBoxFaceShowsInsideThickEdges) {
    // 8 x 6, thickness 1: the face fills the inside.
    const uint16_t lt = 0xF800, fc = 0x07C0, dk = 0x001F;
    display.DrawBevelBox(0, 0, 8, 6, 1, 255, 65280, 0xFF0000);
    for (int c = 0; c < 7; ++c) EXPECT_EQ(Px(c, 0), lt) << c;
    EXPECT_EQ(Px(7, 0), dk);
    for (int r = 1; r < 6; ++r) EXPECT_EQ(Px(0, r), lt) << r;
    for (int c = 1; c < 8; ++c) EXPECT_EQ(Px(c, 5), dk) << c;
    for (int r = 1; r < 5; ++r) {
        for (int c = 1; c < 7; ++c) EXPECT_EQ(Px(c, r), fc) << c << "," << r;
    }
}

TEST_F(DisplayTest, BevelBoxClipsToTheScreen) {
    Paint(0x1111);
    display.DrawBevelBox(kW - 20, kH - 5, 40, 15, 10, 255, 255, 255);
    EXPECT_EQ(Px(kW - 20, kH - 5), 0xF800);
    EXPECT_EQ(Px(kW - 1, kH - 1), 0xF800);
    EXPECT_EQ(Px(kW - 21, kH - 1), 0x1111);
    display.DrawBevelBox(-30, -10, 40, 15, 10, 65280, 65280, 65280);
    EXPECT_EQ(Px(0, 0), 0x07C0);
    EXPECT_EQ(Px(9, 4), 0x07C0);
    EXPECT_EQ(Px(10, 0), 0x1111);
    EXPECT_EQ(Px(0, 5), 0x1111);
}

// The rectangle operations written as plain loops over every pixel, with a screen test per pixel.
struct ReferenceScreen {
    std::vector<uint16_t> px = std::vector<uint16_t>(kW * kH, 0);
    void Set(int64_t c, int64_t r, uint16_t p) {
        if (c >= 0 && c < kW && r >= 0 && r < kH) px[r * kW + c] = p;
    }
    void Outline(int64_t x, int64_t y, int64_t w, int64_t h, uint16_t p) {
        if (w > 1) {
            for (int64_t c = x; c <= x + w - 2; ++c) Set(c, y, p), Set(c, y + h - 1, p);
        }
        for (int64_t r = y; r <= y + h - 1; ++r) Set(x, r, p), Set(x + w - 1, r, p);
    }
    void Bevel(int64_t x, int64_t y, int64_t w, int64_t h, int64_t t, uint16_t l, uint16_t f, uint16_t d) {
        if (w > 1) {
            for (int64_t r = y; r <= y + h - 1; ++r) {
                for (int64_t c = x; c <= x + w - 2; ++c) Set(c, r, f);
            }
        }
        for (int64_t k = 0; k < t; ++k) {
            for (int64_t c = x + k; c <= x + w - 2 - k; ++c) Set(c, y + k, l), Set(c, y + h - 1 - k, d);
        }
        for (int64_t k = 0; k < t; ++k) {
            for (int64_t r = y + k; r <= y + h - 1 - k; ++r) Set(x + k, r, l), Set(x + w - 1 - k, r, d);
        }
    }
};

TEST_F(DisplayTest, RectanglesMatchThePlainLoopsEverywhere) {
    ReferenceScreen ref;
    uint32_t seed = 12345;
    auto next = [&seed](int lo, int hi) {
        seed = seed * 1103515245u + 12345u;
        return lo + static_cast<int>((seed >> 8) % static_cast<uint32_t>(hi - lo + 1));
    };
    for (int i = 0; i < 300; ++i) {
        const int x = next(-40, kW + 5), y = next(-40, kH + 5), w = next(-3, 50), h = next(-3, 50);
        const ColorRef c1 = static_cast<ColorRef>(next(1, 0xFFFFFF)), c2 = 0xFF00FF, c3 = 0x00FF00;
        if (i % 2 == 0) {
            display.DrawRectOutline(x, y, w, h, c1);
            ref.Outline(x, y, w, h, CDisplay::ConvertColor(c1));
        } else {
            const int t = next(-2, 30);
            display.DrawBevelBox(x, y, w, h, t, c1, c2, c3);
            ref.Bevel(x, y, w, h, t, CDisplay::ConvertColor(c1), CDisplay::ConvertColor(c2),
                      CDisplay::ConvertColor(c3));
        }
        ASSERT_TRUE(std::equal(ref.px.begin(), ref.px.end(), display.BackBuffer()->pixels.get()))
            << "case " << i << ": " << x << "," << y << " " << w << "x" << h;
    }
}

TEST_F(DisplayTest, FlipPresentsThenClears) {
    display.Blit(0, 0, 16, 15, 0, 0, 0, 4);
    display.Flip();
    ASSERT_EQ(backend.presents, 1);
    ASSERT_EQ(backend.presented.size(), static_cast<size_t>(kW * kH));
    EXPECT_EQ(backend.presented[0], 1);
    EXPECT_EQ(backend.presented[kW + 1], 1 + 1 + 16);
    EXPECT_EQ(CountNonZero(), 0);
    display.Flip();
    EXPECT_EQ(backend.presents, 2);
    EXPECT_EQ(backend.presented[0], 0);
}

}  // namespace
