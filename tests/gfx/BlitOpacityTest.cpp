// A slot without see-through pixels is copied without the colour-key test; these check that a slot
// painted again, or written to while it is out for painting, is never copied as opaque when it is
// not.
#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/CDisplay.h"
#include "support/FakeBackend.h"

namespace {

constexpr uint16_t kBack = 0x1234;  // what the back buffer holds before the blit
constexpr uint16_t kInk = 0x0F0F;

class BlitOpacity : public ::testing::Test {
protected:
    void SetUp() override {
        display.CreateDirectDraw();
        ASSERT_EQ(display.Init(1, 800, 600, 16), 1);
        display.AllocSlots(2);
        ASSERT_EQ(display.CreateSlot(0, 20, 3), 1);
        SlotDC dc;
        ASSERT_EQ(display.GetSlotDC(0, &dc), 1);
        std::fill(dc.surface->pixels.get(), dc.surface->pixels.get() + 60, kInk);  // opaque
        display.ReleaseSlotDC(0, &dc);
    }

    void FillBack() {
        Surface* s = const_cast<Surface*>(display.BackBuffer());
        std::fill(s->pixels.get(), s->pixels.get() + 800 * 600, kBack);
    }
    // Blits slot 0 to (100, 50) over a filled back buffer.
    void BlitSlot() {
        FillBack();
        ASSERT_EQ(display.Blit(100, 50, 20, 3, 0, 0, 0, 4), 1);
    }
    uint16_t Px(int c, int r) const { return display.BackBuffer()->Row(r)[c]; }

    FakeBackend backend;
    CDisplay display;
};

}  // namespace

TEST_F(BlitOpacity, AnOpaqueSlotCoversItsRectangleAndNothingElse) {
    BlitSlot();
    for (int r = 49; r <= 53; ++r) {
        for (int c = 99; c <= 120; ++c) {
            const bool inside = r >= 50 && r < 53 && c >= 100 && c < 120;
            EXPECT_EQ(Px(c, r), inside ? kInk : kBack) << c << "," << r;
        }
    }
}

TEST_F(BlitOpacity, ASlotPaintedAgainWithHolesShowsThemAtItsNextBlit) {
    BlitSlot();  // seen opaque
    SlotDC dc;
    ASSERT_EQ(display.GetSlotDC(0, &dc), 1);
    dc.surface->Row(1)[7] = 0;
    dc.surface->Row(2)[19] = 0;
    display.ReleaseSlotDC(0, &dc);
    BlitSlot();
    EXPECT_EQ(Px(107, 51), kBack);
    EXPECT_EQ(Px(119, 52), kBack);
    EXPECT_EQ(Px(106, 51), kInk);
}

TEST_F(BlitOpacity, ASlotStillOutForPaintingIsAlwaysCopiedWithItsKey) {
    SlotDC dc;
    ASSERT_EQ(display.GetSlotDC(0, &dc), 1);
    BlitSlot();
    dc.surface->Row(0)[3] = 0;  // painted between two blits, before the slot is given back
    BlitSlot();
    EXPECT_EQ(Px(103, 50), kBack);
    EXPECT_EQ(Px(104, 50), kInk);
    display.ReleaseSlotDC(0, &dc);
}

TEST_F(BlitOpacity, ASlotMadeAgainStartsSeeThrough) {
    BlitSlot();                                  // seen opaque
    ASSERT_EQ(display.CreateSlot(0, 20, 3), 1);  // a new, empty surface: all colour key
    BlitSlot();
    EXPECT_EQ(Px(100, 50), kBack);
    EXPECT_EQ(Px(119, 52), kBack);
}
