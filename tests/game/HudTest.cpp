#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "ItemsFixture.h"

namespace {

constexpr uint16_t kBar = 0x0101;  // the item bar's own pixels
constexpr uint16_t kGreen = 0x07C0;

class HudTest : public ShopFixture {
protected:
    void SetUp() override {
        ShopFixture::SetUp();
        Paint(62, kBar);
    }

    // The glyph of slot at the 16 x 15 cell from (x, y): both corners show it, the pixels beside do not.
    void ExpectGlyph(int32_t x, int32_t y, SlotIndex slot) {
        SCOPED_TRACE(testing::Message() << "glyph " << slot << " at " << x << "," << y);
        EXPECT_EQ(Pixel(x, y), SlotColour(slot));
        EXPECT_EQ(Pixel(x + 15, y + 14), SlotColour(slot));
    }

    void ExpectEmpty(int32_t x, int32_t y, int32_t w, int32_t h) {
        for (int32_t py = y; py < y + h; ++py) {
            for (int32_t px = x; px < x + w; ++px) {
                ASSERT_EQ(Pixel(px, py), 0) << px << "," << py;
            }
        }
    }

    static uint16_t Pulse(int32_t green) { return static_cast<uint16_t>(0xF800 | ((green >> 3) << 6)); }

    // The outline of cell offset on the bar at x 320: its border in colour, its inside still the bar.
    void ExpectOutline(int32_t offset, uint16_t colour) {
        SCOPED_TRACE(testing::Message() << "outline at offset " << offset);
        const int32_t x = 320 + offset;
        EXPECT_EQ(Pixel(x, 10), colour);
        EXPECT_EQ(Pixel(x + 14, 10), colour);
        EXPECT_EQ(Pixel(x, 23), colour);
        EXPECT_EQ(Pixel(x + 14, 23), colour);
        EXPECT_EQ(Pixel(x + 7, 23), colour);
        EXPECT_EQ(Pixel(x + 7, 16), kBar);
        EXPECT_EQ(Pixel(x + 15, 16), kBar);
        EXPECT_EQ(Pixel(x + 7, 24), kBar);
    }

    void ExpectNoOutline(int32_t offset) {
        SCOPED_TRACE(testing::Message() << "no outline at offset " << offset);
        const int32_t x = 320 + offset;
        EXPECT_EQ(Pixel(x, 10), kBar);
        EXPECT_EQ(Pixel(x + 14, 23), kBar);
    }
};

TEST_F(HudTest, DrawStringPutsOneGlyphPerCellAndLeavesBlanksEmpty) {
    EXPECT_EQ(game.DrawString(100, 200, "AB Z"), 1);
    ExpectGlyph(100, 200, 36);
    ExpectGlyph(116, 200, 37);
    ExpectEmpty(132, 200, 16, 15);
    ExpectGlyph(148, 200, 61);
    ExpectEmpty(164, 200, 16, 15);
    ExpectEmpty(100, 199, 64, 1);
    ExpectEmpty(100, 215, 64, 1);
}

TEST_F(HudTest, GameOverDrawsEightGlyphsOverNineCells) {
    game.DrawString(328, 282, "GAME OVER");
    const std::string text = "GAME OVER";
    for (int i = 0; i < 9; ++i) {
        if (text[i] == ' ') {
            ExpectEmpty(328 + 16 * i, 282, 16, 15);
        } else {
            ExpectGlyph(328 + 16 * i, 282, text[i] - 'A' + 36);
        }
    }
}

TEST_F(HudTest, DrawStringSkipsCharactersOutsideTheFont) {
    game.DrawString(0, 0, "A-b1~Z");
    ExpectGlyph(0, 0, 36);
    ExpectEmpty(16, 0, 64, 15);
    ExpectGlyph(80, 0, 61);
}

TEST_F(HudTest, DrawHudShowsTheLabelsAndTheNumbersRightAligned) {
    game.m_nScore = 12345;
    game.m_nStage = 1;
    EXPECT_EQ(game.DrawHud(), 1);
    const std::string stage = "STAGE", score = "SCORE";
    for (int i = 0; i < 5; ++i) {
        ExpectGlyph(10 + 16 * i, 10, stage[i] - 'A' + 36);
        ExpectGlyph(630 + 16 * i, 10, score[i] - 'A' + 36);
    }
    for (int i = 0; i < 5; ++i) ExpectGlyph(710 + 16 * i, 10, 27 + i);  // digits 1 to 5
    ExpectEmpty(790, 0, 10, 40);
    ExpectGlyph(128, 10, 27);
    ExpectEmpty(90, 10, 38, 15);
    ExpectEmpty(144, 10, 16, 15);
}

TEST_F(HudTest, ASixDigitScoreRunsOverTheLabel) {
    game.m_nScore = 123456;
    game.m_nStage = 10;
    game.DrawHud();
    ExpectGlyph(694, 10, 27);
    ExpectGlyph(774, 10, 32);
    ExpectGlyph(112, 10, 27);  // stage 10 at 112 to 143
    ExpectGlyph(128, 10, 26);
}

TEST_F(HudTest, AZeroScoreIsOneDigitAtTheRightEnd) {
    game.m_nScore = 0;
    game.m_nStage = 3;
    game.DrawHud();
    ExpectGlyph(774, 10, 26);
    ExpectEmpty(710, 10, 64, 15);
}

TEST_F(HudTest, AMinusSignKeepsItsCellButHasNoGlyph) {
    game.m_nScore = -5;
    game.DrawHud();
    ExpectGlyph(774, 10, 31);
    ExpectEmpty(758, 10, 16, 15);
}

TEST_F(HudTest, TheItemBarIsCentredAtTheTopOnTheFirstCall) {
    game.m_nScore = 0;
    EXPECT_EQ(game.DrawItemBar(), 1);
    EXPECT_EQ(game.m_nItemBarX, 320);
    EXPECT_EQ(Pixel(320, 10), kBar);
    EXPECT_EQ(Pixel(479, 32), kBar);
    EXPECT_EQ(Pixel(319, 10), 0);
    EXPECT_EQ(Pixel(480, 10), 0);
    EXPECT_EQ(Pixel(320, 33), 0);
    EXPECT_EQ(Pixel(320, 9), 0);
}

TEST_F(HudTest, TheItemBarKeepsThePlaceItWasGiven) {
    game.m_nItemBarX = 100;
    game.m_bItemBarPlaced = true;
    game.DrawItemBar();
    EXPECT_EQ(game.m_nItemBarX, 100);
    EXPECT_EQ(Pixel(100, 10), kBar);
    EXPECT_EQ(Pixel(260, 10), 0);
}

TEST_F(HudTest, ThePulseSwingsBetweenFiveAndTwoFifty) {
    std::vector<int32_t> values;
    for (int i = 0; i < 101; ++i) {
        game.DrawItemBar();
        values.push_back(game.m_nPulseValue);
    }
    EXPECT_EQ(values[0], 5);
    EXPECT_EQ(values[1], 10);
    EXPECT_EQ(values[49], 250);
    EXPECT_EQ(values[50], 245);
    EXPECT_EQ(values[97], 10);
    EXPECT_EQ(values[98], 5);
    EXPECT_EQ(values[99], 10);
    EXPECT_EQ(values[100], 15);
}

TEST_F(HudTest, NinetyNinePointsOutlineNothing) {
    game.m_nScore = 99;
    game.DrawItemBar();
    for (int32_t offset = 0; offset < 160; offset += 16) ExpectNoOutline(offset);
}

TEST_F(HudTest, AHundredPointsOutlineTheFirstTwoCells) {
    game.m_nScore = 100;
    game.m_nPulseValue = 120;  // the next call shows green 125
    game.DrawItemBar();
    ExpectOutline(0, Pulse(125));
    ExpectOutline(16, Pulse(125));
    for (int32_t offset = 32; offset < 160; offset += 16) ExpectNoOutline(offset);
}

TEST_F(HudTest, AThousandPointsOutlineEveryCell) {
    game.m_nScore = 1000;
    game.m_nPulseValue = 245;
    game.DrawItemBar();
    for (int32_t offset = 0; offset < 160; offset += 16) ExpectOutline(offset, Pulse(250));
    EXPECT_EQ(Pulse(250), 0xFFC0);
}

TEST_F(HudTest, EachPriceOutlinesItsOwnCell) {
    const int32_t prices[] = {100, 100, 200, 300, 400, 500, 600, 700, 800, 1000};
    game.m_nScore = 650;
    game.DrawItemBar();
    for (int cell = 0; cell < 10; ++cell) {
        if (prices[cell] <= 650) {
            ExpectOutline(16 * cell, Pulse(5));
        } else {
            ExpectNoOutline(16 * cell);
        }
    }
}

TEST_F(HudTest, ActiveItemsGetAGreenMarkAboveTheirCells) {
    game.m_bWidePaddle = 1;
    game.m_bGlueMode = 1;
    game.m_bRocketMode = 1;
    game.m_bAutoPaddle = 1;
    game.DrawItemBar();
    for (int32_t offset : {2, 50, 98, 114}) {
        SCOPED_TRACE(offset);
        for (int32_t x = 320 + offset; x < 320 + offset + 11; ++x) {
            EXPECT_EQ(Pixel(x, 7), kGreen);
            EXPECT_EQ(Pixel(x, 8), kGreen);
        }
        EXPECT_EQ(Pixel(320 + offset - 1, 7), 0);
        EXPECT_EQ(Pixel(320 + offset + 11, 8), 0);
        EXPECT_EQ(Pixel(320 + offset, 6), 0);
        EXPECT_EQ(Pixel(320 + offset, 9), 0);
    }
    EXPECT_EQ(Pixel(320 + 18, 7), 0);  // murk paddles off
    EXPECT_EQ(Pixel(320 + 66, 7), 0);  // pierce off
}

TEST_F(HudTest, MurkAndPierceMarksSitOverCellsOneAndFour) {
    game.m_bMurkPaddles = 1;
    game.m_bPierceMode = 1;
    game.DrawItemBar();
    EXPECT_EQ(Pixel(338, 7), kGreen);
    EXPECT_EQ(Pixel(348, 8), kGreen);
    EXPECT_EQ(Pixel(386, 7), kGreen);
    EXPECT_EQ(Pixel(396, 8), kGreen);
    EXPECT_EQ(Pixel(322, 7), 0);
}

TEST_F(HudTest, SpareLivesAreBarsAtTheBottomLeft) {
    game.m_nLives = 4;
    EXPECT_EQ(game.DrawLives(), 1);
    for (int32_t x : {10, 42, 74}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(Pixel(x, 586), SlotColour(63));
        EXPECT_EQ(Pixel(x + 29, 589), SlotColour(63));
        EXPECT_EQ(Pixel(x + 30, 586), 0);
        EXPECT_EQ(Pixel(x, 585), 0);
        EXPECT_EQ(Pixel(x, 590), 0);
    }
    EXPECT_EQ(Pixel(106, 586), 0);
}

TEST_F(HudTest, OneLifeOrNoneShowsNoBar) {
    for (int8_t lives : std::initializer_list<int8_t>{1, 0, -1}) {
        game.m_nLives = lives;
        game.DrawLives();
    }
    EXPECT_TRUE(ScreenIsBlack());
}

TEST_F(HudTest, AMessageIsCentredAndShownForOneHundredAndTwoFrames) {
    game.m_strMessage = "NOT ENOUGH SCORE";
    game.m_bMessage = 1;
    int frames = 0;
    while (game.m_bMessage == 1) {
        game.m_display.Flip();
        EXPECT_EQ(game.DrawTimedMessage(100), 1);
        ++frames;
        ASSERT_LE(frames, 200);
    }
    EXPECT_EQ(frames, 102);
    EXPECT_EQ(game.m_nMessageFrames, 0);
    ExpectGlyph(272, 292, 'N' - 'A' + 36);  // drawn on the frame that ends it too
    ExpectGlyph(272 + 15 * 16, 292, 'E' - 'A' + 36);
}

TEST_F(HudTest, ANewMessageGetsOnlyTheFramesThatRemain) {
    game.m_nScore = 300;
    game.m_nItemKeyDelay = -1;
    backend.Press(DIK_4);
    game.ItemKeys();
    int frames = 0;
    for (; frames < 50; ++frames) game.DrawTimedMessage(100);
    game.m_nScore = 0;
    game.m_bGlueMode = 0;
    game.m_nItemKeyDelay = -1;
    game.ItemKeys();  // refused: a new text on the running count
    ASSERT_EQ(game.m_strMessage, "NOT ENOUGH SCORE");
    while (game.m_bMessage == 1) {
        game.DrawTimedMessage(100);
        ++frames;
        ASSERT_LE(frames, 200);
    }
    EXPECT_EQ(frames, 102);
}

TEST_F(HudTest, AnEmptyMessageDrawsNothingButCountsTheFrame) {
    game.m_bMessage = 1;
    EXPECT_EQ(game.DrawTimedMessage(100), 0);
    EXPECT_EQ(game.m_nMessageFrames, 1);
    EXPECT_EQ(game.m_bMessage, 1);
    EXPECT_TRUE(ScreenIsBlack());
}

}  // namespace
