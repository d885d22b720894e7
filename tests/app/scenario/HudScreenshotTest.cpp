// The read-outs as the player sees them: headless runs that end with --screenshot, the BMP read
// back and checked at known pixels. The runs use our own plain pictures for the read-outs (each
// digit, letter, the item bar and the life bar one flat colour) and a black background, so that
// every pixel of the HUD tells what was drawn there; the rest of the sprites are the game's own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/scenario/ScenarioSupport.h"

namespace {

using namespace scenario;

constexpr uint16_t kBar = 0x3020;
constexpr uint16_t kLife = 0x4010;
constexpr uint16_t kMark = 0x07C0;  // 0x00FF00 through the rectangle colour rule: green 62 of 63

uint16_t Digit(int d) {
    return static_cast<uint16_t>(0x1000 + d);
}
uint16_t Letter(char c) {
    return static_cast<uint16_t>(0x2000 + (c - 'A'));
}

uint16_t DigitSheet(int x, int) {
    return Digit(x / 16);
}
uint16_t LetterSheet(int x, int) {
    return static_cast<uint16_t>(0x2000 + x / 16);
}
uint16_t Black(int, int) {
    return 0;
}
uint16_t BarColour(int, int) {
    return kBar;
}
uint16_t LifeColour(int, int) {
    return kLife;
}

// The outline colour after n item-bar draws (one per frame from the first banner frame): green
// runs 5, 10, ... 250, 245, ... 5 and again, every 98 draws; red 255, blue 0.
uint16_t Pulse(uint32_t draws) {
    const uint32_t m = (draws - 1) % 98;
    const uint32_t green = m < 50 ? 5 * (m + 1) : 5 * (99 - m);
    return static_cast<uint16_t>(0xF800 | (green >> 3) << 6);
}

class HudScreenshot : public ::testing::Test {
protected:
    // Runs frames frames (the last one is the screenshot) and reads the picture back.
    void Shoot(const std::vector<Placed>& stage, uint32_t frames, const Script& script) {
        CustomDataDir data({StageWith(stage)}, {{"BG.bmp", SpriteBmp(8, 8, Black)},
                                                {"Number.bmp", SpriteBmp(160, 15, DigitSheet)},
                                                {"Alphabet.bmp", SpriteBmp(416, 15, LetterSheet)},
                                                {"ItemBar.bmp", SpriteBmp(8, 8, BarColour)},
                                                {"Life.bmp", SpriteBmp(8, 8, LifeColour)}});
        TempDir out;
        run = Play(data.Path(), frames, script, {"--screenshot", (out / "shot.bmp").string()});
        shot = std::make_unique<Screenshot>(out / "shot.bmp");
        ASSERT_TRUE(shot->Valid());
        pulse = Pulse(frames - 1);
    }

    uint16_t At(int x, int y) const { return shot->At(x, y); }

    // A 16 x 15 glyph cell at (x, y): both its corners in the colour, the pixel under it not.
    void ExpectCell(int x, int y, uint16_t colour) {
        SCOPED_TRACE(testing::Message() << "cell at " << x << "," << y);
        EXPECT_EQ(At(x, y), colour);
        EXPECT_EQ(At(x + 15, y + 14), colour);
        EXPECT_NE(At(x, y + 15), colour);
    }

    // The score right-aligned: its last digit covers x 774 to 789, nothing is drawn at 790.
    void ExpectScore(const std::string& digits) {
        const int n = static_cast<int>(digits.size());
        for (int i = 0; i < n; ++i) ExpectCell(790 - 16 * (n - i), 10, Digit(digits[i] - '0'));
        EXPECT_EQ(At(790, 10), 0);
        EXPECT_EQ(At(790, 24), 0);
        EXPECT_EQ(At(790 - 16 * n - 1, 10), 0);
    }

    void ExpectLabels() {
        const std::string stage = "STAGE", score = "SCORE";
        for (int i = 0; i < 5; ++i) {
            ExpectCell(10 + 16 * i, 10, Letter(stage[i]));
            ExpectCell(630 + 16 * i, 10, Letter(score[i]));
        }
        ExpectCell(128, 10, Digit(1));  // stage 1, right end at 144
        for (int x : {9, 90, 127, 144, 629, 710}) EXPECT_EQ(At(x, 10), 0) << x;
    }

    // Item bar cells from x 320, 16 apart; an outline is 15 x 14 from (x, 10).
    void ExpectOutlines(int cells) {
        for (int k = 0; k < 10; ++k) {
            SCOPED_TRACE(k);
            const int x = 320 + 16 * k;
            const uint16_t edge = k < cells ? pulse : kBar;
            EXPECT_EQ(At(x, 10), edge);
            EXPECT_EQ(At(x + 14, 10), edge);
            EXPECT_EQ(At(x, 23), edge);
            EXPECT_EQ(At(x + 14, 23), edge);
            EXPECT_EQ(At(x + 7, 16), kBar);
            EXPECT_EQ(At(x + 15, 16), kBar);
            EXPECT_EQ(At(x + 7, 24), kBar);
        }
    }

    // Green marks of two rows (y 7 and 8), 11 wide, over the cells of active items.
    void ExpectMarks(const std::vector<int>& on) {
        for (int offset : {2, 18, 50, 66, 98, 114}) {
            SCOPED_TRACE(offset);
            const bool lit = std::find(on.begin(), on.end(), offset) != on.end();
            const int x = 320 + offset;
            for (int px = x; px < x + 11; ++px) {
                EXPECT_EQ(At(px, 7), lit ? kMark : 0) << px;
                EXPECT_EQ(At(px, 8), lit ? kMark : 0) << px;
            }
            EXPECT_EQ(At(x - 1, 7), 0);
            EXPECT_EQ(At(x + 11, 8), 0);
            EXPECT_EQ(At(x, 6), 0);
            EXPECT_EQ(At(x, 9), 0);
        }
    }

    // One 30 x 4 bar per spare life from (10, 586), 32 apart.
    void ExpectLifeBars(int bars) {
        for (int i = 0; i < bars; ++i) {
            SCOPED_TRACE(i);
            const int x = 10 + 32 * i;
            EXPECT_EQ(At(x, 586), kLife);
            EXPECT_EQ(At(x + 29, 589), kLife);
            EXPECT_EQ(At(x + 30, 586), 0);
            EXPECT_EQ(At(x, 585), 0);
            EXPECT_EQ(At(x, 590), 0);
        }
        EXPECT_EQ(At(10 + 32 * bars, 586), 0);
    }

    GameRun run;
    std::unique_ptr<Screenshot> shot;
    uint16_t pulse = 0;
};

// 1000 (Ctrl+S) - 300 (glue) - 600 (rocket) - 100 (wide) = 0; the rocket, fired from the wide
// paddle at 332 (x 332 + 59 = 391, column 7 under both corners), clears the nine blocks of column 7
// in rows 0 to 8: 90 points. Frame 330: rocket and spray long gone, message over (set at 170).
TEST_F(HudScreenshot, NinetyPointsOutlineNoCell) {
    std::vector<Placed> stage{kKeeper};
    for (int row = 0; row <= 8; ++row) stage.push_back({7, row, 0});
    Shoot(stage, 330,
          Script().SkipIntro().Ctrl(30, "S").Tap(130, "4").Tap(150, "7").Tap(170, "1").Click(190));
    ASSERT_EQ(run.At(330).m_nScore, 90);
    ASSERT_EQ(run.At(330).m_rocket.sprite, -1);
    ASSERT_EQ(run.At(330).m_bMessage, 0);

    ExpectScore("90");
    ExpectLabels();
    ExpectOutlines(0);
    ExpectMarks({2, 50, 98});  // wide, glue, rocket
    ExpectLifeBars(4);
}

// 1000 - 800 (a life: 6) - 100 (wide) = 100: the first two cells outlined. The message bought at
// frame 150 shows from 151: "WIDE VANTLER", 12 glyphs from x (800 - 12 * 16) / 2 = 304, y 292.
TEST_F(HudScreenshot, AHundredPointsOutlineTheFirstTwoCells) {
    Shoot({kKeeper}, 160, Script().SkipIntro().Ctrl(30, "S").Tap(130, "9").Tap(150, "1"));
    ASSERT_EQ(run.At(160).m_nScore, 100);

    ExpectScore("100");
    ExpectLabels();
    ExpectOutlines(2);
    ExpectMarks({2});
    ExpectLifeBars(5);
    const std::string text = "WIDE VANTLER";
    for (int i = 0; i < 12; ++i) {
        if (text[i] == ' ') {
            EXPECT_EQ(At(304 + 16 * i, 292), 0);
            EXPECT_EQ(At(304 + 16 * i + 15, 306), 0);
        } else {
            ExpectCell(304 + 16 * i, 292, Letter(text[i]));
        }
    }
}

// 3000 - 100 (wide) - 100 (murk) - 300 (glue) - 400 (pierce) - 600 (rocket) - 500 (full branch)
// = 1000: all ten cells outlined; Left Ctrl + A in the last frame adds the automatic paddle's mark.
TEST_F(HudScreenshot, AThousandPointsOutlineEveryCellAndEveryModeIsMarked) {
    const Script script = Script()
                              .SkipIntro()
                              .Ctrl(30, "S")
                              .Ctrl(50, "S")
                              .Ctrl(70, "S")
                              .Tap(130, "1")
                              .Tap(150, "2")
                              .Tap(170, "4")
                              .Tap(190, "5")
                              .Tap(210, "7")
                              .Tap(230, "6")
                              .Ctrl(250, "A");
    Shoot({kKeeper}, 250, script);
    ASSERT_EQ(run.At(250).m_nScore, 1000);
    ASSERT_EQ(run.At(250).m_bAutoPaddle, 1);

    ExpectScore("1000");
    ExpectLabels();
    ExpectOutlines(10);
    ExpectMarks({2, 18, 50, 66, 98, 114});
    ExpectLifeBars(4);
}

}  // namespace
