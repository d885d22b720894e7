#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/present/FrameScaler.h"

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

// One output pixel drawn by FitScaler, worked out from its definition: the share of each source
// pixel under it, blended channel by channel.
uint32_t ExpectedFitPixel(const std::vector<uint16_t>& pic, int picW, int picH, const Rect& fit, int ox,
                          int oy, const Rgb565Table& t) {
    auto axis = [](int o, int picLen, int outLen, int* first, uint32_t* share) {
        const int64_t start = int64_t{o} * picLen, edge = (start / outLen + 1) * outLen;
        *first = static_cast<int>(start / outLen);
        const bool straddles = outLen >= picLen && edge < start + picLen && *first + 1 < picLen;
        *share = straddles ? static_cast<uint32_t>((edge - start) * 256 / picLen) : 256;
    };
    int sx, sy;
    uint32_t wx, wy;
    axis(ox, picW, fit.w, &sx, &wx);
    axis(oy, picH, fit.h, &sy, &wy);
    auto at = [&](int x, int y) {
        return t[pic[static_cast<size_t>(std::min(y, picH - 1)) * picW + std::min(x, picW - 1)]];
    };
    auto mix = [](uint32_t a, uint32_t b, uint32_t w) {
        uint32_t r = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            r |= ((((a >> shift) & 0xFF) * w + ((b >> shift) & 0xFF) * (256 - w)) >> 8) << shift;
        }
        return r;
    };
    return mix(mix(at(sx, sy), at(sx + 1, sy), wx), mix(at(sx, sy + 1), at(sx + 1, sy + 1), wx), wy);
}

std::vector<uint16_t> NoisePicture(int w, int h) {
    std::vector<uint16_t> pic(static_cast<size_t>(w) * h);
    uint32_t seed = 12345;
    for (uint16_t& p : pic) {
        seed = seed * 1103515245 + 12345;
        p = static_cast<uint16_t>(seed >> 16);
    }
    return pic;
}

TEST(FitScaler, EveryOutputPixelIsItsSourcePixelsBlendedByTheirShare) {
    const Rgb565Table t = XrgbTable();
    const int picW = 40, picH = 30;
    const std::vector<uint16_t> pic = NoisePicture(picW, picH);
    // Whole-number scales, fractions above one (1.8, 1.28, 2.4, barely 1.1) and a reduction.
    for (const Rect fit : {Rect{3, 2, 80, 60}, Rect{5, 0, 72, 54}, Rect{0, 1, 51, 38}, Rect{2, 2, 96, 72},
                           Rect{0, 0, 44, 33}, Rect{1, 1, 32, 24}}) {
        SCOPED_TRACE(::testing::Message() << fit.w << " x " << fit.h);
        const int outW = fit.x + fit.w + 3, outH = fit.y + fit.h + 3;
        std::vector<uint32_t> out(static_cast<size_t>(outW) * outH, 0xDEADBEEF);
        FitScaler scaler;
        scaler.Configure(picW, picH, fit);
        scaler.Draw(pic.data(), Rect{0, 0, picW, picH}, t, reinterpret_cast<uint8_t*>(out.data()), outW * 4);
        int wrong = 0;
        for (int y = 0; y < outH; ++y) {
            for (int x = 0; x < outW; ++x) {
                const bool inside = x >= fit.x && x < fit.x + fit.w && y >= fit.y && y < fit.y + fit.h;
                const uint32_t want =
                    inside ? ExpectedFitPixel(pic, picW, picH, fit, x - fit.x, y - fit.y, t) : 0xDEADBEEF;
                wrong += out[static_cast<size_t>(y) * outW + x] != want;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(FitScaler, ARegionRedrawsExactlyTheOutputItAffects) {
    const Rgb565Table t = XrgbTable();
    const int picW = 40, picH = 30;
    std::vector<uint16_t> pic = NoisePicture(picW, picH);
    for (const Rect fit : {Rect{0, 0, 72, 54}, Rect{0, 0, 80, 60}}) {
        SCOPED_TRACE(fit.w);
        FitScaler scaler;
        scaler.Configure(picW, picH, fit);
        std::vector<uint32_t> out(static_cast<size_t>(fit.w) * fit.h), whole = out;
        scaler.Draw(pic.data(), Rect{0, 0, picW, picH}, t, reinterpret_cast<uint8_t*>(out.data()), fit.w * 4);
        const Rect region{8, 20, 5, 3};
        for (int y = region.y; y < region.y + region.h; ++y) {
            for (int x = region.x; x < region.x + region.w; ++x) pic[y * picW + x] ^= 0xFFFF;
        }
        const Rect affected = scaler.OutputOf(region);
        std::vector<uint32_t> before = out;
        scaler.Draw(pic.data(), region, t, reinterpret_cast<uint8_t*>(out.data()), fit.w * 4);
        scaler.Draw(pic.data(), Rect{0, 0, picW, picH}, t, reinterpret_cast<uint8_t*>(whole.data()),
                    fit.w * 4);
        EXPECT_EQ(out, whole);  // the region alone gives what the whole picture gives
        for (int y = 0; y < fit.h; ++y) {
            for (int x = 0; x < fit.w; ++x) {
                const bool in = x >= affected.x && x < affected.x + affected.w && y >= affected.y &&
                                y < affected.y + affected.h;
                if (!in) {
                    EXPECT_EQ(before[y * fit.w + x], out[y * fit.w + x]) << x << "," << y;
                }
            }
        }
        pic = NoisePicture(picW, picH);
    }
}
