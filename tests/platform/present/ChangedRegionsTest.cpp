// The changed regions of a frame: every changed pixel inside one, whole tiles, few rectangles,
// and the whole picture when most of it changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/present/ChangedRegions.h"

using plat::Rect;
using plat::ShownFrame;

namespace {

constexpr int kW = 800, kH = 600;

struct RegionCase {
    const char* name;
    std::vector<Rect> changes;  // rectangles of pixels made different
    std::vector<Rect> regions;  // what Update gives
};

const RegionCase kCases[] = {
    {"nothing", {}, {}},
    {"one pixel", {{5, 300, 1, 1}}, {{0, 288, 32, 16}}},
    {"two balls far apart", {{100, 100, 11, 11}, {700, 500, 11, 11}}, {{96, 96, 32, 16}, {672, 496, 64, 16}}},
    {"a column of tiles merges downwards", {{40, 0, 20, 64}}, {{32, 0, 32, 64}}},
    {"the right edge", {{790, 590, 10, 10}}, {{768, 576, 32, 24}}},
    {"most of the picture", {{0, 0, 800, 400}}, {{0, 0, 800, 600}}},
};

std::vector<uint16_t> Changed(const std::vector<uint16_t>& base, const std::vector<Rect>& changes) {
    std::vector<uint16_t> next = base;
    for (const Rect& r : changes) {
        for (int y = r.y; y < r.y + r.h; ++y) {
            for (int x = r.x; x < r.x + r.w; ++x) next[y * kW + x] ^= 0x1234;
        }
    }
    return next;
}

}  // namespace

TEST(ShownFrame, ChangedTilesBecomeFewRectanglesAndTheKeptPictureFollows) {
    std::vector<uint16_t> base(kW * kH);
    for (size_t i = 0; i < base.size(); ++i) base[i] = static_cast<uint16_t>(i * 7);
    for (const RegionCase& c : kCases) {
        SCOPED_TRACE(c.name);
        ShownFrame shown;
        shown.Reset(kW, kH);
        shown.Assign(base.data());
        const std::vector<uint16_t> next = Changed(base, c.changes);
        EXPECT_EQ(shown.Update(next.data()), c.regions);
        EXPECT_TRUE(std::equal(next.begin(), next.end(), shown.Pixels()));
        EXPECT_TRUE(shown.Update(next.data()).empty());  // shown already
    }
}

TEST(ShownFrame, ToldWhereThePictureChangedItTakesJustThatAndMostOfItWhole) {
    std::vector<uint16_t> base(kW * kH, 1);
    const std::vector<uint16_t> next = Changed(base, {{5, 300, 1, 1}});
    const std::vector<Rect> near{{0, 288, 64, 32}}, most{{0, 0, 800, 320}};
    ShownFrame shown;
    shown.Reset(kW, kH);
    shown.Assign(base.data());
    EXPECT_EQ(shown.Update(next.data(), &near), near);
    EXPECT_TRUE(std::equal(next.begin(), next.end(), shown.Pixels()));
    shown.Assign(base.data());
    EXPECT_EQ(shown.Update(next.data(), &most), (std::vector<Rect>{{0, 0, kW, kH}}));
    EXPECT_TRUE(std::equal(next.begin(), next.end(), shown.Pixels()));
    // The told pictures were not copied: the next untold one cannot be compared, so goes whole.
    EXPECT_EQ(shown.Update(base.data()), (std::vector<Rect>{{0, 0, kW, kH}}));
    EXPECT_TRUE(std::equal(base.begin(), base.end(), shown.Pixels()));
}
