// The score shop, the command keys, the timed message, rockets and sprays in real play: headless
// runs from input scripts on hand-made stages, checked frame by frame.
//
// Every run presses Space on the intro's frame 1: the "GAME START" banner runs frames 2 to 120 and
// play starts at frame 121. A new game sets the key delay to 20 and every banner frame counts it
// down, so the keys are read again from frame 21. Left Ctrl + S adds 1000 even during the banner.
// The centred paddle stands at x 362 (76 wide); a resting ball at (395, 559).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/scenario/ScenarioSupport.h"

namespace {

using namespace scenario;

void ExpectRefusal(const GameRun& run, uint32_t frame, int32_t score) {
    SCOPED_TRACE(frame);
    const GameSnapshot& s = run.At(frame);
    EXPECT_EQ(s.m_nScore, score);
    EXPECT_EQ(SoundsIn(s, frame), std::vector<int>{8});
    EXPECT_EQ(s.m_strMessage, "NOT ENOUGH SCORE");
    EXPECT_EQ(s.m_bMessage, 1);
    EXPECT_EQ(s.m_nItemKeyDelay, 20);
}

// Keys 7 and 3 held together from frame 130: the shop asks for 7 before 3, so the rocket is bought
// (1000 - 600 = 400) and 3 is not looked at: no split, no random draw. Twenty frames later the keys
// are read again: 7 is still first, its mode is on and 400 would not pay for it: refused.
TEST(ShopScenario, KeysSevenAndThreeTogetherBuyOnlyTheRocket) {
    TempDataDir data({StageWith({kKeeper})});
    const Script script =
        Script().SkipIntro().Ctrl(30, "S").Down(130, "7").Down(130, "3").Up(151, "7").Up(151, "3");
    const GameRun run = Play(data.Path(), 152, script);

    EXPECT_EQ(run.At(30).m_nScore, 1000);
    ExpectPurchase(run, 130, 400, "PRESS LEFT MOUSE BUTTON TO LAUNCH ROCKET");
    EXPECT_EQ(run.At(130).m_bRocketMode, 1);
    EXPECT_EQ(run.At(130).m_nBalls, 1);
    EXPECT_EQ(run.At(130).rng, run.At(129).rng);
    for (uint32_t f = 131; f < 150; ++f) EXPECT_TRUE(SoundsIn(run.At(f), f).empty()) << f;
    ExpectRefusal(run, 150, 400);
    EXPECT_EQ(run.At(150).m_nBalls, 1);
    EXPECT_EQ(BallsInPlay(run.At(150)), 1);
    EXPECT_EQ(run.At(150).rng, run.At(149).rng);
}

// Item 6 with the one ball resting: split after split while 32 or fewer are in play, 1 to 64 in six
// rounds. Round n copies ball j (j < n) into slot n + j with dx and dy each moved by +1 when its
// draw of rnd(2) is 0, else by -1, dx's draw first. Nothing else draws in that frame.
TEST(ShopScenario, FullBranchTakesOneBallToSixtyFour) {
    TempDataDir data({StageWith({kKeeper})});
    const GameRun run = Play(data.Path(), 131, Script().SkipIntro().Ctrl(30, "S").Tap(130, "6"));

    ExpectPurchase(run, 130, 500, "FULL BRANCH BALL");
    const GameSnapshot& s = run.At(130);
    EXPECT_EQ(s.m_nBalls, 64);
    EXPECT_EQ(BallsInPlay(s), 64);

    int32_t dx[64] = {0}, dy[64] = {7};
    Lcg lcg(run.At(129).rng);
    for (int n = 1; n <= 32; n *= 2) {
        for (int j = 0; j < n; ++j) {
            dx[n + j] = dx[j] + (lcg.Rnd(2) == 0 ? 1 : -1);
            dy[n + j] = dy[j] + (lcg.Rnd(2) == 0 ? 1 : -1);
        }
    }
    EXPECT_EQ(s.rng, lcg.State());
    for (int i = 0; i < 64; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(s.m_balls[i].dx, dx[i]);
        EXPECT_EQ(s.m_balls[i].dy, dy[i]);
        EXPECT_EQ(s.m_balls[i].x, 395);
        EXPECT_EQ(s.m_balls[i].y, 559);
        EXPECT_EQ(s.m_balls[i].trailY[6], 559);
        EXPECT_EQ(s.m_balls[i].launched, 0);
    }
    // All of them rest on the paddle, at the launch point, the next frame too.
    EXPECT_EQ(run.At(131).m_balls[63].x, 395);
    EXPECT_EQ(run.At(131).m_nBalls, 64);
}

// A score of exactly 1000 pays for item 0: the next stage starts with its banner, the score is 0,
// the purchase sound plays, and no message is set.
TEST(ShopScenario, ItemZeroAtExactlyAThousandStartsTheNextStage) {
    TempDataDir data({StageWith({kKeeper}), StageWith({{0, 0, 1}})});
    const GameRun run = Play(data.Path(), 250, Script().SkipIntro().Ctrl(30, "S").Tap(130, "0"));

    EXPECT_EQ(run.At(129).m_nScore, 1000);
    const GameSnapshot& s = run.At(130);
    EXPECT_EQ(s.m_nScore, 0);
    EXPECT_EQ(s.m_nStage, 2);
    EXPECT_EQ(s.m_bStageBanner, 1);
    EXPECT_EQ(s.m_cells[0], 19);
    EXPECT_EQ(s.m_bMessage, 0);
    EXPECT_EQ(s.m_strMessage, "");
    EXPECT_EQ(SoundsIn(s, 130), std::vector<int>{5});
    EXPECT_EQ(s.m_nItemKeyDelay, 20);
    EXPECT_EQ(s.m_balls[0].x, 395);  // the stage start reset paddle and ball
    EXPECT_EQ(s.s_nBannerOffset, -355);
    EXPECT_EQ(run.At(131).s_nBannerOffset, -352);
    EXPECT_EQ(run.At(248).m_bStageBanner, 1);
    EXPECT_EQ(run.At(249).m_bStageBanner, 0);  // 119 banner frames: 131 to 249
    EXPECT_EQ(SoundsIn(run.At(249), 249), std::vector<int>{4});
}

// During the banner the shop is shut but the command keys work, one per 20 frames:
//   22 T: ball 0's dx 0 -> 1;  42 Ctrl+M: mini-map on;  62 Ctrl+B: a twin of the resting ball;
//   82 key 9: nothing (the delay reaches 0 here and stays, no key acts);
//   83 Ctrl+S: 1000;  103 Ctrl+Page Up: nothing during a banner (the delay reaches 0 and stays);
//   104 Ctrl+A: the automatic paddle, which launches ball 0 in the next frame: it waits at
//   (100, 100) until the banner ends at frame 120, then steps by its (1, 7).
TEST(ShopScenario, CommandKeysWorkDuringTheBanner) {
    TempDataDir data({StageWith({kKeeper})});
    const Script script = Script()
                              .SkipIntro()
                              .Tap(22, "T")
                              .Ctrl(42, "M")
                              .Ctrl(62, "B")
                              .Tap(82, "9")
                              .Ctrl(83, "S")
                              .Ctrl(103, "PRIOR")
                              .Ctrl(104, "A");
    const GameRun run = Play(data.Path(), 121, script);

    EXPECT_EQ(run.At(20).m_nItemKeyDelay, 1);
    EXPECT_EQ(run.At(22).m_balls[0].dx, 1);
    EXPECT_EQ(run.At(22).m_nItemKeyDelay, 20);
    EXPECT_EQ(run.At(41).m_bMiniMap, 0);
    EXPECT_EQ(run.At(42).m_bMiniMap, 1);
    EXPECT_EQ(run.At(61).m_nBalls, 1);
    EXPECT_EQ(run.At(62).m_nBalls, 2);
    EXPECT_EQ(run.At(62).m_balls[1].x, 395);
    EXPECT_EQ(run.At(62).m_balls[1].launched, 0);

    const GameSnapshot& nine = run.At(82);
    EXPECT_EQ(nine.m_nLives, 5);
    EXPECT_EQ(nine.m_nScore, 0);
    EXPECT_EQ(nine.m_bMessage, 0);
    EXPECT_TRUE(SoundsIn(nine, 82).empty());
    EXPECT_EQ(nine.m_nItemKeyDelay, 0);
    EXPECT_EQ(run.At(83).m_nScore, 1000);
    EXPECT_EQ(run.At(83).m_nItemKeyDelay, 20);
    EXPECT_EQ(run.At(103).m_nStage, 1);
    EXPECT_EQ(run.At(103).m_bStageBanner, 1);
    EXPECT_EQ(run.At(103).m_nItemKeyDelay, 0);
    EXPECT_TRUE(SoundsIn(run.At(103), 103).empty());

    EXPECT_EQ(run.At(104).m_bAutoPaddle, 1);
    EXPECT_EQ(run.At(104).m_balls[0].launched, 0);
    // Frame 105: the paddle goes under ball 0 (x 395): 395 + rnd(6) - 3 - 76 / 2.
    Lcg lcg(run.At(104).rng);
    EXPECT_EQ(run.At(105).m_paddle.x, 395 + lcg.Rnd(6) - 3 - 38);
    EXPECT_EQ(run.At(105).m_balls[0].launched, 1);
    EXPECT_EQ(run.At(105).m_balls[0].x, 100);
    EXPECT_EQ(run.At(105).m_balls[0].y, 100);
    EXPECT_EQ(run.At(105).m_balls[1].launched, 0);
    EXPECT_EQ(run.At(119).m_balls[0].x, 100);
    EXPECT_EQ(run.At(119).m_balls[0].y, 100);
    EXPECT_EQ(run.At(120).m_bStageBanner, 0);
    EXPECT_EQ(run.At(120).m_balls[0].x, 101);
    EXPECT_EQ(run.At(120).m_balls[0].y, 107);
}

// A message set at frame f is first drawn at f + 1 (the message runs before the shop) and its flag
// is cleared in frame f + 102, the 102nd frame it is drawn. A second message set at 150 keeps the
// first one's count; a third one set after that has run out gets a fresh 102 frames.
TEST(ShopScenario, AMessageLastsOneHundredAndTwoFramesAndASecondKeepsTheCount) {
    TempDataDir data({StageWith({kKeeper})});
    const GameRun run =
        Play(data.Path(), 343, Script().SkipIntro().Ctrl(30, "S").Tap(130, "9").Tap(150, "1").Tap(240, "2"));

    ExpectPurchase(run, 130, 200, "ONE MORE VANTLER");
    EXPECT_EQ(run.At(130).m_nLives, 6);
    ExpectPurchase(run, 150, 100, "WIDE VANTLER");
    EXPECT_EQ(run.At(150).m_paddle.x, 362 - 30);
    for (uint32_t f = 130; f <= 231; ++f) EXPECT_EQ(run.At(f).m_bMessage, 1) << f;
    EXPECT_EQ(run.At(232).m_bMessage, 0);
    EXPECT_EQ(run.At(232).m_strMessage, "WIDE VANTLER");  // the text stays, unshown
    EXPECT_EQ(run.At(239).m_bMessage, 0);

    ExpectPurchase(run, 240, 0, "MURK VANTLERS");
    EXPECT_EQ(run.At(341).m_bMessage, 1);
    EXPECT_EQ(run.At(342).m_bMessage, 0);
}

// Rockets fly from the glued paddle: buying glue with the ball resting sets its toggle, so the
// click that fires the rocket also catches the ball again at once and it never leaves the paddle.
// A rocket stands at paddle x + (76 - 17) / 2 = x + 29 with its top at 560 - 38 = 522, and is
// moved 5 up in the frame it is fired: after frame fire + t its top is at 517 - 5t. Its top first
// lies in row r (y 55 + 15r to 69 + 15r) at t = 33 + 3 (19 - r): row 19 at t 33 (y 352), row 0 at
// t 90 (y 67). It leaves the screen (top + 38 <= 0) at t 111.
//   A: paddle 31, rocket x 60: its left corner gives column (60 - 100) / 40 = -1, which ends the
//      test before the right corner (77: column 0) is tried: column 0 is left whole.
//   B: paddle 654, rocket x 683: left corner column 14, right corner (700) column 15: only the
//      left corner clears; stopped by Left Ctrl + I after row 10 (t 60).
//   C: paddle 670, rocket x 699: the same, through rows 9 to 0.
class RocketColumns : public ::testing::Test {
protected:
    static constexpr uint32_t kFireA = 160, kFireB = 350, kFireC = 485;
    static constexpr int32_t kColumn14[20] = {4, 5, 0, 0, 0, 0, 0, 0, 0, 0,   // rows 0 to 9
                                              0, 0, 0, 3, 2, 1, 6, 6, 5, 4};  // rows 10 to 19

    static std::vector<Placed> Stage() {
        std::vector<Placed> cells;
        for (int row = 0; row < 20; ++row) {
            cells.push_back({0, row, 0});
            cells.push_back({14, row, kColumn14[row]});
        }
        return cells;
    }

    static Script Moves() {
        return Script()
            .SkipIntro()
            .Ctrl(30, "S")     // 1000
            .Mouse(100, -331)  // paddle 31
            .Tap(130, "4")     // glue: 700
            .Tap(150, "7")     // rocket: 100
            .Click(kFireA)
            .Ctrl(280, "I")  // ball reset: glue and rocket off
            .Mouse(290, 623)
            .Ctrl(300, "S")  // 1100
            .Tap(320, "4")   // 800
            .Tap(340, "7")   // 200
            .Click(kFireB)
            .Ctrl(kFireB + 61, "I")
            .Mouse(420, 16)
            .Ctrl(435, "S")  // 200 + 100 from rocket B + 1000
            .Tap(455, "4")   // 1000
            .Tap(475, "7")   // 400
            .Click(kFireC);
    }

    static uint32_t RowFrame(uint32_t fire, int row) { return fire + 33 + 3 * (19 - row); }
    static int8_t SprayOf(int32_t code) {
        const int8_t sprays[] = {72, 73, 74, 75, 76, 72, 72};
        return sprays[code];
    }

    void SetUp() override {
        TempDataDir data({StageWith(Stage())});
        run = Play(data.Path(), kFireC + 112, Moves());
    }

public:
    void ALeftCornerLeftOfTheFieldTestsNothing() const;
    void OnlyTheLeftCornerClearsFromX683To699() const;
    void EachHitStartsASprayThatReplacesTheLast() const;

protected:
    GameRun run;
};

void RocketColumns::ALeftCornerLeftOfTheFieldTestsNothing() const {
    const GameSnapshot& fired = run.At(kFireA);
    EXPECT_EQ(fired.m_paddle.x, 31);
    EXPECT_EQ(fired.m_rocket.sprite, 64);
    EXPECT_EQ(fired.m_rocket.x, 60);
    EXPECT_EQ(fired.m_rocket.y, 517);
    EXPECT_EQ(SoundsIn(fired, kFireA), (std::vector<int>{7, 0}));  // rocket, then the ball's contact
    EXPECT_EQ(fired.m_balls[0].launched, 0);                       // caught again at once
    EXPECT_EQ(fired.m_balls[0].glueToggle, 0);

    for (uint32_t f = kFireA; f < kFireA + 111; ++f) {
        EXPECT_EQ(run.At(f).m_rocket.y, 517 - 5 * static_cast<int32_t>(f - kFireA)) << f;
        EXPECT_EQ(run.At(f).m_nScore, 100) << f;
    }
    EXPECT_EQ(run.At(kFireA + 110).m_rocket.sprite, 64);
    EXPECT_EQ(run.At(kFireA + 111).m_rocket.sprite, -1);
    for (int row = 0; row < 20; ++row) EXPECT_EQ(run.At(kFireA + 111).m_cells[CellIndex(0, row)], 18) << row;
}

void RocketColumns::OnlyTheLeftCornerClearsFromX683To699() const {
    EXPECT_EQ(run.At(kFireB).m_rocket.x, 683);
    EXPECT_EQ(run.At(kFireC).m_rocket.x, 699);
    int32_t score = 200;
    for (int row = 19; row >= 0; --row) {
        SCOPED_TRACE(row);
        const uint32_t fire = row >= 10 ? kFireB : kFireC;
        if (row == 9) score = 400;  // after Ctrl+S, glue and rocket
        const uint32_t f = RowFrame(fire, row);
        const int cell = CellIndex(14, row);
        EXPECT_EQ(run.At(f - 1).m_cells[cell], 18 + kColumn14[row]);
        EXPECT_EQ(run.At(f).m_cells[cell], -1);
        EXPECT_EQ(run.At(f).m_rocket.y, 352 - 5 * 3 * (19 - row));
        score += 10;  // every kind, gold and silver included, goes at once for 10
        EXPECT_EQ(run.At(f).m_nScore, score);
        EXPECT_EQ(SoundsIn(run.At(f), f), std::vector<int>{1});
        EXPECT_EQ(run.At(f).m_particles.sprite, SprayOf(kColumn14[row]));
        EXPECT_EQ(run.At(f).m_particles.framesLeft, 20);  // started after this frame's spray step
    }
    // Left Ctrl + I one frame after row 10 ends the flight; rows 9 to 0 wait for rocket C.
    EXPECT_EQ(run.At(kFireB + 61).m_rocket.sprite, -1);
    EXPECT_EQ(run.At(kFireB + 61).m_bRocketMode, 0);
    EXPECT_EQ(run.At(kFireB + 61).m_cells[CellIndex(14, 9)], 18 + kColumn14[9]);
    EXPECT_EQ(run.At(kFireC + 111).m_rocket.sprite, -1);
    EXPECT_EQ(run.At(kFireC + 111).m_nScore, 500);
}

// A new spray replaces the one still flying: row 19's spray has 18 frames left when row 18 starts
// its own, 20 frames at the rocket's top-left corner. Each is drawn from the generator right after
// the rocket's new flame (one draw): four draws per particle.
void RocketColumns::EachHitStartsASprayThatReplacesTheLast() const {
    for (int row : {19, 18}) {
        SCOPED_TRACE(row);
        const uint32_t f = RowFrame(kFireB, row);
        const int32_t top = 352 - 15 * (19 - row);
        Lcg lcg(run.At(f - 1).rng);
        lcg.Skip(1);
        const ParticleSpray& p = run.At(f).m_particles;
        for (int i = 0; i < 20; ++i) {
            EXPECT_EQ(p.x[i], 683 + lcg.Rnd(5) - 2) << i;
            EXPECT_EQ(p.y[i], top + lcg.Rnd(5) - 2) << i;
            EXPECT_EQ(p.dx[i], lcg.Rnd(7) - 3) << i;
            EXPECT_EQ(p.dy[i], -3 - lcg.Rnd(8)) << i;
        }
        EXPECT_EQ(p.gravity, 1);
        EXPECT_EQ(run.At(f).rng, lcg.State());
    }
    const uint32_t row19 = RowFrame(kFireB, 19);
    EXPECT_EQ(run.At(row19 + 1).m_particles.framesLeft, 19);
    EXPECT_EQ(run.At(row19 + 2).m_particles.framesLeft, 18);
    // Moved once: x + dx, y + dy, then dy + 1.
    const ParticleSpray& started = run.At(row19).m_particles;
    const ParticleSpray& moved = run.At(row19 + 1).m_particles;
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(moved.x[i], started.x[i] + started.dx[i]);
        EXPECT_EQ(moved.y[i], started.y[i] + started.dy[i]);
        EXPECT_EQ(moved.dy[i], started.dy[i] + 1);
    }
    EXPECT_EQ(run.At(row19 + 3).m_particles.framesLeft, 20);
}

// One test, for the game is played once and checked three ways (each test runs in a process of
// its own).
TEST_F(RocketColumns, OnlyCornersOverTheFieldClearAndEachHitSpraysAnew) {
    ASSERT_EQ(run.result.perFrame.size(), kFireC + 112);
    {
        SCOPED_TRACE("rocket A");
        ALeftCornerLeftOfTheFieldTestsNothing();
    }
    {
        SCOPED_TRACE("rockets B and C");
        OnlyTheLeftCornerClearsFromX683To699();
    }
    {
        SCOPED_TRACE("sprays");
        EachHitStartsASprayThatReplacesTheLast();
    }
}

}  // namespace
