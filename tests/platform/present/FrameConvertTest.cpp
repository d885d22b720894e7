// The computed conversion of a frame must give exactly what the colour table holds, for every
// pixel value, at every scale and row length; tables that are not a plain channel layout keep
// being looked up.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/present/FrameScaler.h"

using namespace plat;

namespace {

Rgb565Table TableOf(const Rgb565Table::MapRgb& map) {
    Rgb565Table t;
    t.Build(map);
    return t;
}

// Every one of the 65536 pixel values, as a picture w pixels wide, converted at the given scale and
// compared pixel by pixel with the table.
void ExpectEveryValueMatchesTheTable(const Rgb565Table& t, int w, int scale) {
    const int h = (65536 + w - 1) / w;
    std::vector<uint16_t> src(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint16_t>(i * 40503u);  // all values, mixed
    const int outW = w * scale, outH = h * scale;
    std::vector<uint32_t> dst(static_cast<size_t>(outW) * outH, 0xDEADBEEF);
    const Placement p = PlaceInteger(outW, outH, w, h);
    ASSERT_EQ(p.scale, scale);
    ConvertScaled(src.data(), w, p, t, reinterpret_cast<uint8_t*>(dst.data()), outW * 4);
    int wrong = 0;
    for (int y = 0; y < outH; ++y) {
        for (int x = 0; x < outW; ++x) {
            const uint16_t pixel = src[static_cast<size_t>(y / scale) * w + x / scale];
            wrong += dst[static_cast<size_t>(y) * outW + x] != t[pixel];
        }
    }
    EXPECT_EQ(wrong, 0) << "width " << w << ", scale " << scale;
}

}  // namespace

TEST(FrameConvert, CommonWindowFormatsAreComputedFromTheirChannelPlaces) {
    const Rgb565Table xrgb = TableOf([](uint8_t r, uint8_t g, uint8_t b) { return r << 16 | g << 8 | b; });
    const Rgb565Table argb =
        TableOf([](uint8_t r, uint8_t g, uint8_t b) { return 0xFF000000u | r << 16 | g << 8 | b; });
    const Rgb565Table abgr =
        TableOf([](uint8_t r, uint8_t g, uint8_t b) { return 0xFF000000u | b << 16 | g << 8 | r; });
    const Rgb565Table rgbx =
        TableOf([](uint8_t r, uint8_t g, uint8_t b) { return r << 24 | g << 16 | b << 8; });
    ASSERT_NE(xrgb.ChannelLayout(), nullptr);
    EXPECT_EQ(xrgb.ChannelLayout()->redShift, 16);
    EXPECT_EQ(xrgb.ChannelLayout()->greenShift, 8);
    EXPECT_EQ(xrgb.ChannelLayout()->blueShift, 0);
    EXPECT_EQ(xrgb.ChannelLayout()->fixedBits, 0u);
    ASSERT_NE(argb.ChannelLayout(), nullptr);
    EXPECT_EQ(argb.ChannelLayout()->fixedBits, 0xFF000000u);
    ASSERT_NE(abgr.ChannelLayout(), nullptr);
    EXPECT_EQ(abgr.ChannelLayout()->redShift, 0);
    EXPECT_EQ(abgr.ChannelLayout()->blueShift, 16);
    ASSERT_NE(rgbx.ChannelLayout(), nullptr);
    EXPECT_EQ(rgbx.ChannelLayout()->redShift, 24);
}

TEST(FrameConvert, ComputedPixelsEqualTheTableAtEveryScaleAndRowLength) {
    const Rgb565Table argb =
        TableOf([](uint8_t r, uint8_t g, uint8_t b) { return 0xFF000000u | r << 16 | g << 8 | b; });
    const Rgb565Table xbgr = TableOf([](uint8_t r, uint8_t g, uint8_t b) { return b << 16 | g << 8 | r; });
    const Rgb565Table rgbx =
        TableOf([](uint8_t r, uint8_t g, uint8_t b) { return r << 24 | g << 16 | b << 8; });
    for (const Rgb565Table* t : {&argb, &xbgr, &rgbx}) {
        ASSERT_NE(t->ChannelLayout(), nullptr);
        for (const int w : {800, 803, 5}) {  // whole groups of eight, a remainder, only a remainder
            for (const int scale : {1, 2, 3}) ExpectEveryValueMatchesTheTable(*t, w, scale);
        }
    }
}

TEST(FrameConvert, TablesThatAreNotPlainChannelPlacesAreLookedUp) {
    // Squared channels (a gamma curve), and a format that keeps only the top bits of each channel.
    const Rgb565Table curved = TableOf([](uint8_t r, uint8_t g, uint8_t b) {
        return uint32_t{r} * r / 255 << 16 | uint32_t{g} * g / 255 << 8 | uint32_t{b} * b / 255;
    });
    const Rgb565Table narrow = TableOf([](uint8_t r, uint8_t g, uint8_t b) {
        return static_cast<uint32_t>((r >> 6) << 4 | (g >> 6) << 2 | b >> 6);
    });
    EXPECT_EQ(curved.ChannelLayout(), nullptr);
    EXPECT_EQ(narrow.ChannelLayout(), nullptr);
    ExpectEveryValueMatchesTheTable(curved, 803, 1);
    ExpectEveryValueMatchesTheTable(narrow, 803, 2);
}
