#include <gtest/gtest.h>

#include <vector>

#include "platform/FrameScaler.h"

using namespace plat;

namespace {

uint32_t Xrgb(uint8_t r, uint8_t g, uint8_t b) {
    return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

Rgb565Table XrgbTable() {
    Rgb565Table t;
    t.Build(Xrgb);
    return t;
}

}  // namespace

TEST(Rgb565Table, WidensEachChannelSoFullStaysFull) {
    const Rgb565Table t = XrgbTable();
    EXPECT_EQ(t[0x0000], 0x000000u);
    EXPECT_EQ(t[0xFFFF], 0xFFFFFFu);
    EXPECT_EQ(t[0xF800], 0xFF0000u);
    EXPECT_EQ(t[0x07E0], 0x00FF00u);
    EXPECT_EQ(t[0x001F], 0x0000FFu);
    // Half values: red 16 -> 128 | 4, green 32 -> 128 | 2, blue 16 -> 132.
    EXPECT_EQ(t[0x8410], Xrgb(132, 130, 132));
    // Lowest step of each: 1 -> 8 | 0 (red, blue), 1 -> 4 | 0 (green).
    EXPECT_EQ(t[0x0821], Xrgb(8, 4, 8));
}

TEST(PlaceInteger, LargestWholeScaleCentred) {
    const struct {
        int outW, outH, scale;
        Rect dst;
    } cases[] = {
        {1024, 768, 1, {112, 84, 800, 600}},     {1920, 1080, 1, {560, 240, 800, 600}},
        {2560, 1440, 2, {480, 120, 1600, 1200}}, {3840, 2160, 3, {720, 180, 2400, 1800}},
        {1600, 1200, 2, {0, 0, 1600, 1200}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.outW << " x " << c.outH);
        const Placement p = PlaceInteger(c.outW, c.outH, 800, 600);
        EXPECT_EQ(p.scale, c.scale);
        EXPECT_EQ(p.dst, c.dst);
        EXPECT_EQ(p.srcX, 0);  // the whole picture fits
        EXPECT_EQ(p.srcW, 800);
        EXPECT_EQ(p.srcH, 600);
    }
}

TEST(PlaceInteger, TooSmallAnOutputShowsTheMiddleAtScaleOne) {
    const Placement p = PlaceInteger(640, 700, 800, 600);
    EXPECT_EQ(p.scale, 1);
    EXPECT_EQ(p.srcX, 80);
    EXPECT_EQ(p.srcW, 640);
    EXPECT_EQ(p.srcY, 0);
    EXPECT_EQ(p.srcH, 600);
    EXPECT_EQ(p.dst, (Rect{0, 50, 640, 600}));
}

TEST(AspectFit, KeepsFourByThree) {
    EXPECT_EQ(AspectFit(1920, 1080, 800, 600), (Rect{240, 0, 1440, 1080}));
    EXPECT_EQ(AspectFit(1000, 1000, 800, 600), (Rect{0, 125, 1000, 750}));
    EXPECT_EQ(AspectFit(1024, 700, 800, 600), (Rect{45, 0, 933, 700}));  // 700 * 4 / 3 = 933.3
    EXPECT_EQ(AspectFit(800, 600, 800, 600), (Rect{0, 0, 800, 600}));
}

TEST(ConvertScaled, EachPixelBecomesAScaleSquareAndNothingElseIsWritten) {
    // A 3 x 2 picture doubled into an 8 x 6 image at (1, 1); the pitch has a spare pixel.
    const uint16_t src[6] = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8410};
    const Rgb565Table t = XrgbTable();
    constexpr int kW = 9, kH = 6;
    constexpr uint32_t kUntouched = 0xDEADBEEF;
    std::vector<uint32_t> dst(kW * kH, kUntouched);
    Placement p;
    p.scale = 2;
    p.dst = Rect{1, 1, 6, 4};
    p.srcW = 3;
    p.srcH = 2;
    ConvertScaled(src, 3, p, t, reinterpret_cast<uint8_t*>(dst.data()), kW * 4);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const bool inside = x >= 1 && x < 7 && y >= 1 && y < 5;
            const uint32_t expected = inside ? t[src[(y - 1) / 2 * 3 + (x - 1) / 2]] : kUntouched;
            EXPECT_EQ(dst[y * kW + x], expected) << x << "," << y;
        }
    }
}

TEST(ConvertScaled, ShowsTheChosenWindowOfTheSource) {
    // The middle 2 x 1 of a 4 x 3 picture, at scale 1.
    std::vector<uint16_t> src(12);
    for (int i = 0; i < 12; ++i) src[i] = static_cast<uint16_t>(i + 1);
    Rgb565Table t;
    t.Build([](uint8_t r, uint8_t g, uint8_t b) { return Xrgb(r, g, b); });
    std::vector<uint32_t> dst(2, 0);
    Placement p;
    p.dst = Rect{0, 0, 2, 1};
    p.srcX = 1;
    p.srcY = 1;
    p.srcW = 2;
    p.srcH = 1;
    ConvertScaled(src.data(), 4, p, t, reinterpret_cast<uint8_t*>(dst.data()), 8);
    EXPECT_EQ(dst[0], t[6]);  // row 1, column 1
    EXPECT_EQ(dst[1], t[7]);
}

TEST(RowsOf, NarrowsAPlacementToTheGivenSourceRows) {
    const Placement whole = PlaceInteger(2560, 1440, 800, 600);  // scale 2 at (480, 120)
    Placement p = RowsOf(whole, 10, 13);
    EXPECT_EQ(p.srcY, 10);
    EXPECT_EQ(p.srcH, 3);
    EXPECT_EQ(p.dst, (Rect{480, 140, 1600, 6}));
    EXPECT_EQ(p.scale, 2);
    p = RowsOf(whole, 590, 700);  // clipped to the picture
    EXPECT_EQ(p.srcY, 590);
    EXPECT_EQ(p.srcH, 10);
    EXPECT_EQ(p.dst, (Rect{480, 1300, 1600, 20}));
    p = RowsOf(whole, 5, 5);
    EXPECT_EQ(p.srcH, 0);
    EXPECT_EQ(p.dst.h, 0);
}

TEST(RowsOf, KeepsToTheRowsAPlacementShows) {
    const Placement middle = PlaceInteger(800, 400, 800, 600);  // source rows 100 to 499 at y 0
    const Placement p = RowsOf(middle, 50, 120);
    EXPECT_EQ(p.srcY, 100);
    EXPECT_EQ(p.srcH, 20);
    EXPECT_EQ(p.dst, (Rect{0, 0, 800, 20}));
}

TEST(ChangedRows, SpansTheFirstToTheLastDifferingRow) {
    std::vector<uint16_t> a(4 * 6, 7), b = a;
    EXPECT_EQ(ChangedRows(a.data(), b.data(), 4, 6).begin, ChangedRows(a.data(), b.data(), 4, 6).end);
    b[1 * 4 + 3] = 8;
    b[4 * 4 + 0] = 9;
    const RowSpan span = ChangedRows(a.data(), b.data(), 4, 6);
    EXPECT_EQ(span.begin, 1);
    EXPECT_EQ(span.end, 5);
    b = a;
    b[5 * 4 + 2] = 1;
    EXPECT_EQ(ChangedRows(a.data(), b.data(), 4, 6).begin, 5);
    EXPECT_EQ(ChangedRows(a.data(), b.data(), 4, 6).end, 6);
}
