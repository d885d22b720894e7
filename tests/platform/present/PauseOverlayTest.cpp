#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/present/PauseOverlay.h"

using plat::DrawPausedOverlay;

namespace {

constexpr int kWidth = 800, kHeight = 600;
// At 800 wide each block of the label is 8 pixels; the six 5-block letters with one empty
// column between them are 280 wide and 56 high, centred at (260, 272); the plate reaches two
// blocks further on every side.
constexpr int kBlock = 8, kTextX = 260, kTextY = 272, kAdvance = 48;

uint16_t At(const std::vector<uint16_t>& px, int x, int y) {
    return px[y * kWidth + x];
}

// The top-left pixel of block (col, row) of letter i.
uint16_t Block(const std::vector<uint16_t>& px, int letter, int col, int row) {
    return At(px, kTextX + letter * kAdvance + col * kBlock, kTextY + row * kBlock);
}

}  // namespace

TEST(PauseOverlay, HalvesEveryChannelAwayFromTheLabel) {
    std::vector<uint16_t> px(kWidth * kHeight, 0xFFFF);
    px[0] = 0xF800;
    px[1] = 0x0821;  // the lowest step of each channel halves to nothing
    px[2] = 0x07E0;
    DrawPausedOverlay(px.data(), kWidth, kHeight);
    EXPECT_EQ(At(px, 0, 0), 0x7800);
    EXPECT_EQ(At(px, 1, 0), 0x0000);
    EXPECT_EQ(At(px, 2, 0), 0x03E0);
    EXPECT_EQ(At(px, 799, 599), 0x7BEF);                         // 31, 63, 31 -> 15, 31, 15
    EXPECT_EQ(At(px, kTextX - 2 * kBlock - 1, kTextY), 0x7BEF);  // just left of the plate
}

TEST(PauseOverlay, SpellsPausedInWhiteOnABlackPlate) {
    std::vector<uint16_t> px(kWidth * kHeight, 0xFFFF);
    DrawPausedOverlay(px.data(), kWidth, kHeight);
    EXPECT_EQ(At(px, kTextX - 2 * kBlock, kTextY - 2 * kBlock), 0x0000);  // plate corner
    EXPECT_EQ(At(px, kTextX + 279 + 2 * kBlock, kTextY + 55 + 2 * kBlock), 0x0000);
    // P: a full top bar of four blocks, the fifth empty; the stem down to the last row.
    for (int c = 0; c < 4; ++c) EXPECT_EQ(Block(px, 0, c, 0), 0xFFFF) << c;
    EXPECT_EQ(Block(px, 0, 4, 0), 0x0000);
    EXPECT_EQ(Block(px, 0, 0, 6), 0xFFFF);
    EXPECT_EQ(Block(px, 0, 4, 6), 0x0000);
    // A: a rounded top, a full crossbar on row 3.
    EXPECT_EQ(Block(px, 1, 0, 0), 0x0000);
    EXPECT_EQ(Block(px, 1, 1, 0), 0xFFFF);
    for (int c = 0; c < 5; ++c) EXPECT_EQ(Block(px, 1, c, 3), 0xFFFF) << c;
    // U, S, E, D: a hollow bottom, a middle bar, a full top, a closed right side.
    EXPECT_EQ(Block(px, 2, 0, 6), 0x0000);
    EXPECT_EQ(Block(px, 2, 2, 6), 0xFFFF);
    EXPECT_EQ(Block(px, 3, 2, 3), 0xFFFF);
    EXPECT_EQ(Block(px, 3, 0, 3), 0x0000);
    for (int c = 0; c < 5; ++c) EXPECT_EQ(Block(px, 4, c, 0), 0xFFFF) << c;
    EXPECT_EQ(Block(px, 5, 4, 3), 0xFFFF);
    EXPECT_EQ(Block(px, 5, 4, 0), 0x0000);
    // The empty column between two letters, and a block's far pixel.
    EXPECT_EQ(At(px, kTextX + 5 * kBlock, kTextY), 0x0000);
    EXPECT_EQ(At(px, kTextX + kBlock - 1, kTextY + kBlock - 1), 0xFFFF);
}

TEST(PauseOverlay, ClipsTheLabelToATinyPicture) {
    // At 39 x 10 the label is one pixel a block and its plate covers the whole picture.
    std::vector<uint16_t> px(39 * 10, 0x1234);
    DrawPausedOverlay(px.data(), 39, 10);
    EXPECT_TRUE(std::all_of(px.begin(), px.end(), [](uint16_t p) { return p == 0 || p == 0xFFFF; }));
    EXPECT_EQ(std::count(px.begin(), px.end(), 0xFFFF),
              15 + 18 + 15 + 15 + 18 + 18);  // blocks of P A U S E D
}
