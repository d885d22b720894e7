// Balls, paddle and stages in real play: headless runs from input scripts on hand-made stages,
// checked frame by frame against positions and counts worked out from the rules.
//
// Every run presses Space on the intro's frame 1, so the "GAME START" banner runs frames 2 to 120
// and play starts at frame 121. The centred paddle stands at x 362, y 560 (76 x 10), and a resting
// ball at x = 362 + 76 * (362 + 38) / 800 - 5 = 395, y = 559 (the ball is 11 x 11).
//
// Launched from the centred paddle at frame 121 the ball moves to (395, 566), meets the paddle with
// h = 395 + 5 - 362 = 38 (zone 4: dx 0 + 1) and leaves at (+1, -7): after frame 121 + k it is at
// (395 + k, 566 - 7k). Its top corners first reach the field's last row (y 340 to 354) at k = 29:
// frame 150, ball at (424, 363), top corners (424, 352) and (435, 352), both in cell (8, 19)
// (x 420 to 459); its bottom corners are in row 20, off the grid: contact mask 3 (TL + TR).
#include <gtest/gtest.h>

#include "app/scenario/ScenarioSupport.h"

namespace {

using namespace scenario;

constexpr int32_t kPlain = 0, kGold = 4, kSilver = 5;

// Row 19 all gold: balls rising from the paddle bounce off it and come back down.
std::vector<Placed> GoldFloor() {
    std::vector<Placed> cells{kKeeper};
    for (int column = 0; column < 15; ++column) cells.push_back({column, 19, kGold});
    return cells;
}

// The paddle pulled to the left edge during the banner, then the button at frame 121.
TEST(PlayScenario, LaunchFromTheLeftEdgeMeetsTheWallInTheSameStep) {
    TempDataDir data({StageWith({kKeeper})});
    const GameRun run = Play(data.Path(), 123, Script().SkipIntro().Mouse(10, -1000).Click(121));

    EXPECT_EQ(run.At(9).m_paddle.x, 362);
    EXPECT_EQ(run.At(10).m_paddle.x, 0);  // the paddle moves during the banner
    // At rest: x = 0 + 76 * (0 + 38) / 800 - 5 = 3 - 5 = -2.
    EXPECT_EQ(run.At(120).m_balls[0].x, -2);
    EXPECT_EQ(run.At(120).m_balls[0].y, 559);
    EXPECT_EQ(run.At(120).m_balls[0].launched, 0);

    // Moved to (-2, 566), inside the paddle; h = -2 + 5 - 0 = 3 < 9: zone 0, dx -8; then x < 0:
    // x 0 and dx 8. Paddle sound, then wall sound; nothing in the field, so no random draw.
    const Ball& launched = run.At(121).m_balls[0];
    EXPECT_EQ(launched.x, 0);
    EXPECT_EQ(launched.y, 566);
    EXPECT_EQ(launched.dx, 8);
    EXPECT_EQ(launched.dy, -7);
    EXPECT_EQ(launched.glueToggle, 1);
    EXPECT_EQ(launched.launched, 1);
    EXPECT_EQ(SoundsIn(run.At(121), 121), (std::vector<int>{0, 2}));
    EXPECT_EQ(run.At(121).rng, run.At(120).rng);
    EXPECT_EQ(run.At(121).m_paddle.sprite, 1);  // the hit animation starts

    EXPECT_EQ(run.At(122).m_balls[0].x, 8);
    EXPECT_EQ(run.At(122).m_balls[0].y, 559);
    EXPECT_TRUE(SoundsIn(run.At(122), 122).empty());
    EXPECT_EQ(run.At(122).m_paddle.sprite, 2);
    EXPECT_EQ(run.At(123).m_balls[0].x, 16);
    EXPECT_EQ(run.At(123).m_balls[0].y, 552);
}

// The silver block in cell (8, 19) cracks at frame 150 (10 points, metal sound) and sends the ball
// down at (+1, +7): (424 + j, 363 + 7j), back in the paddle's band at j = 29, frame 179, x 453.
// The paddle, moved to 436, meets it with h = 453 + 5 - 436 = 22: zone 2, dx 1 - 2 = -1; the ball
// climbs back along (453 - k, 566 - 7k) into the same cell at k = 29, frame 208, and breaks it.
TEST(PlayScenario, SilverCracksThenBreaksForTwentyPoints) {
    TempDataDir data({StageWith({kKeeper, {8, 19, kSilver}})});
    const GameRun run = Play(data.Path(), 209, Script().SkipIntro().Click(121).Mouse(160, 74));
    const int silver = CellIndex(8, 19);

    EXPECT_EQ(run.At(149).m_cells[silver], 23);
    EXPECT_EQ(run.At(149).m_balls[0].y, 370);
    const GameSnapshot& cracked = run.At(150);
    EXPECT_EQ(cracked.m_cells[silver], 24);
    EXPECT_EQ(cracked.m_nScore, 10);
    EXPECT_EQ(SoundsIn(cracked, 150), std::vector<int>{3});
    EXPECT_EQ(cracked.m_balls[0].x, 424);
    EXPECT_EQ(cracked.m_balls[0].y, 363);
    EXPECT_EQ(cracked.m_balls[0].dx, 1);
    EXPECT_EQ(cracked.m_balls[0].dy, 7);
    EXPECT_EQ(cracked.m_particles.sprite, 72);
    EXPECT_EQ(cracked.m_particles.framesLeft, 19);  // started and moved once in the same frame

    EXPECT_EQ(run.At(160).m_paddle.x, 436);
    EXPECT_EQ(run.At(178).m_balls[0].y, 559);
    const GameSnapshot& back = run.At(179);
    EXPECT_EQ(back.m_balls[0].x, 453);
    EXPECT_EQ(back.m_balls[0].y, 566);
    EXPECT_EQ(back.m_balls[0].dx, -1);
    EXPECT_EQ(back.m_balls[0].dy, -7);
    EXPECT_EQ(SoundsIn(back, 179), std::vector<int>{0});

    EXPECT_EQ(run.At(207).m_cells[silver], 24);
    EXPECT_EQ(run.At(207).m_nScore, 10);
    const GameSnapshot& broken = run.At(208);
    EXPECT_EQ(broken.m_cells[silver], -1);
    EXPECT_EQ(broken.m_nScore, 20);
    EXPECT_EQ(SoundsIn(broken, 208), std::vector<int>{1});
    EXPECT_EQ(broken.m_balls[0].x, 424);
    EXPECT_EQ(broken.m_balls[0].dy, 7);
    EXPECT_EQ(broken.m_nStage, 1);  // the keeper block is left: no stage clear
    EXPECT_EQ(broken.m_bStageBanner, 0);
}

// Left Ctrl + P during the banner switches pierce mode on for free. The ball then goes straight
// through the column of cells (8, 19) gold, (8, 18) gold and (8, 17) plain: its top-left corner
// (395 + k, 555 - 7k) after frame 121 + k is in row 19 at k = 29 (y 352), row 18 at k = 31
// (y 338) and row 17 at k = 33 (y 324); the golds go for nothing, the plain block for 10.
TEST(PlayScenario, PierceGoesThroughGoldWithoutBouncing) {
    TempDataDir data({StageWith({kKeeper, {8, 19, kGold}, {8, 18, kGold}, {8, 17, kPlain}})});
    const GameRun run = Play(data.Path(), 156, Script().SkipIntro().Ctrl(30, "P").Click(121));

    EXPECT_EQ(run.At(29).m_bPierceMode, 0);
    EXPECT_EQ(run.At(30).m_bPierceMode, 1);
    EXPECT_EQ(run.At(30).m_nItemKeyDelay, 20);

    const struct {
        uint32_t frame;
        int cell;
        int32_t score;
        int8_t spray;
    } hits[] = {
        {150, CellIndex(8, 19), 0, 76}, {152, CellIndex(8, 18), 0, 76}, {154, CellIndex(8, 17), 10, 72}};
    for (const auto& hit : hits) {
        SCOPED_TRACE(hit.frame);
        EXPECT_NE(run.At(hit.frame - 1).m_cells[hit.cell], -1);
        const GameSnapshot& s = run.At(hit.frame);
        EXPECT_EQ(s.m_cells[hit.cell], -1);
        EXPECT_EQ(s.m_nScore, hit.score);
        EXPECT_EQ(SoundsIn(s, hit.frame), std::vector<int>{1});
        EXPECT_EQ(s.m_particles.sprite, hit.spray);
        EXPECT_EQ(s.m_balls[0].dx, 1);
        EXPECT_EQ(s.m_balls[0].dy, -7);
    }
    for (uint32_t f : {151u, 153u, 155u}) EXPECT_TRUE(SoundsIn(run.At(f), f).empty()) << f;
    EXPECT_EQ(run.At(156).m_balls[0].x, 395 + 35);
    EXPECT_EQ(run.At(156).m_balls[0].y, 566 - 7 * 35);
}

// Glue is bought at frame 130 with the ball resting: glueOffset 395 - 362 = 33 and glueToggle 1.
// Every paddle contact then flips the toggle, and a contact that finds it at 1 catches the ball:
//   140 click: contact 1 catches it at once (the launch fails), toggle 0;
//   150 click: contact 2 lets it go at (+1, -7), toggle 1; the gold floor returns it at frame 179
//              (as in the launch above) and it comes down along (424 + j, 363 + 7j);
//   208: contact 3 at (453, 566) over the paddle moved to 418 catches it, offset 35, toggle 0;
//   230 click with the paddle at 318 (ball at 353): contact 4, h = 40, zone 4, dx 1, toggle 1;
//        up along (353 + k, 566 - 7k) to cell (7, 19) at k = 29, frame 259, (382, 363);
//        down along (382 + j, 363 + 7j) to (411, 566) at frame 288;
//   288: contact 5 over the paddle moved to 376 catches it, offset 35, toggle 0.
TEST(PlayScenario, GlueCatchesEveryOtherContact) {
    TempDataDir data({StageWith(GoldFloor())});
    const Script script = Script()
                              .SkipIntro()
                              .Ctrl(30, "S")
                              .Tap(130, "4")
                              .Click(140)
                              .Click(150)
                              .Mouse(160, 56)
                              .Mouse(220, -100)
                              .Click(230)
                              .Mouse(270, 58);
    const GameRun run = Play(data.Path(), 290, script);

    const GameSnapshot& bought = run.At(130);
    EXPECT_EQ(bought.m_bGlueMode, 1);
    EXPECT_EQ(bought.m_nScore, 700);
    EXPECT_EQ(bought.m_balls[0].glueOffset, 33);
    EXPECT_EQ(bought.m_balls[0].glueToggle, 1);

    struct Contact {
        uint32_t frame;
        int32_t x, y, dx, dy;
        int32_t launched;
        int8_t toggle;
        int32_t offset;
    };
    const Contact contacts[] = {
        {140, 395, 559, 0, 7, 0, 0, 33},   // caught: GlueBall forgets the velocity
        {150, 395, 566, 1, -7, 1, 1, 33},  // h = 395 + 5 - 362 = 38: zone 4
        {208, 453, 559, 0, 7, 0, 0, 35},   // caught at 453 - 418
        {230, 353, 566, 1, -7, 1, 1, 35},  // h = 353 + 5 - 318 = 40: zone 4
        {288, 411, 559, 0, 7, 0, 0, 35},   // caught at 411 - 376
    };
    for (const Contact& c : contacts) {
        SCOPED_TRACE(c.frame);
        const Ball& b = run.At(c.frame).m_balls[0];
        EXPECT_EQ(b.x, c.x);
        EXPECT_EQ(b.y, c.y);
        EXPECT_EQ(b.dx, c.dx);
        EXPECT_EQ(b.dy, c.dy);
        EXPECT_EQ(b.launched, c.launched);
        EXPECT_EQ(b.glueToggle, c.toggle);
        EXPECT_EQ(b.glueOffset, c.offset);
        EXPECT_EQ(SoundsIn(run.At(c.frame), c.frame), std::vector<int>{0});
    }
    // A caught ball rides on the paddle at its offset until the button launches it.
    EXPECT_EQ(run.At(145).m_balls[0].x, 395);
    EXPECT_EQ(run.At(145).m_balls[0].launched, 0);
    EXPECT_EQ(run.At(207).m_balls[0].y, 559);  // one step short of the paddle: not yet caught
    EXPECT_EQ(run.At(207).m_balls[0].launched, 1);
    EXPECT_EQ(run.At(220).m_paddle.x, 318);
    EXPECT_EQ(run.At(220).m_balls[0].x, 318 + 35);
    EXPECT_EQ(SoundsIn(run.At(179), 179), std::vector<int>{3});  // gold: metal, bounce, still there
    EXPECT_EQ(run.At(179).m_cells[CellIndex(8, 19)], 22);
    EXPECT_EQ(SoundsIn(run.At(259), 259), std::vector<int>{3});
    EXPECT_EQ(run.At(259).m_balls[0].x, 382);
    EXPECT_EQ(run.At(259).m_balls[0].dy, 7);
    EXPECT_EQ(run.At(290).m_bGlueMode, 1);
}

// Left Ctrl + B doubles the balls while 32 or fewer are in play. Five presses in the banner make
// 32 resting twins; launched at 121 they rise at their own speeds (none reaches the field before
// frame 130), and the sixth press at 130 gives 64: ball j's twin in slot 32 + j, at its place, its
// dx and dy each moved by +1 when its draw of rnd(2) is 0, else by -1. The balls then spread over
// the gold floor and the paddle (moved 8 left at 150), and are lost one after another; from frame
// 185 to 192 exactly 33 are in play, and the press at 186 splits nothing.
TEST(PlayScenario, BranchingDoublesUpToSixtyFourAndRefusesAtThirtyThree) {
    TempDataDir data({StageWith(GoldFloor())});
    const Script script = Script()
                              .SkipIntro()
                              .Ctrl(22, "B")
                              .Ctrl(42, "B")
                              .Ctrl(62, "B")
                              .Ctrl(82, "B")
                              .Ctrl(102, "B")
                              .Click(121)
                              .Ctrl(130, "B")
                              .Mouse(150, -8)
                              .Ctrl(186, "B");
    const GameRun run = Play(data.Path(), 187, script);

    const uint32_t presses[] = {22, 42, 62, 82, 102, 130};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(run.At(presses[i] - 1).m_nBalls, 1 << i) << presses[i];
        EXPECT_EQ(run.At(presses[i]).m_nBalls, 2 << i) << presses[i];
        EXPECT_EQ(BallsInPlay(run.At(presses[i])), 2 << i) << presses[i];
        EXPECT_EQ(run.At(presses[i]).m_nItemKeyDelay, 20);
    }
    const GameSnapshot& before = run.At(129);
    const GameSnapshot& doubled = run.At(130);
    Lcg lcg(before.rng);
    for (int j = 0; j < 32; ++j) {
        SCOPED_TRACE(j);
        const Ball& ball = doubled.m_balls[j];
        const Ball& twin = doubled.m_balls[32 + j];
        EXPECT_EQ(twin.x, ball.x);
        EXPECT_EQ(twin.y, ball.y);
        EXPECT_EQ(twin.trailX[6], ball.x);
        EXPECT_EQ(twin.dx, ball.dx + (lcg.Rnd(2) == 0 ? 1 : -1));
        EXPECT_EQ(twin.dy, ball.dy + (lcg.Rnd(2) == 0 ? 1 : -1));
        EXPECT_EQ(twin.launched, 1);
        EXPECT_EQ(ball.x, before.m_balls[j].x + ball.dx);  // the ball itself only took its step
    }
    EXPECT_EQ(doubled.rng, lcg.State());

    ASSERT_EQ(run.At(185).m_nBalls, 33);
    const GameSnapshot& refused = run.At(186);
    EXPECT_EQ(refused.m_nBalls, 33);
    EXPECT_EQ(BallsInPlay(refused), 33);
    EXPECT_EQ(refused.m_nItemKeyDelay, 20);  // the command acted, and did nothing
    EXPECT_EQ(run.At(187).m_nBalls, 33);
}

// Map.dat with these stage records and a header stage count of its own.
std::string MapWithCount(int32_t count, const std::vector<StageCodes>& stages) {
    std::string bytes = MakeMapDat(stages);
    for (int i = 0; i < 4; ++i)
        bytes[8 + i] = static_cast<char>((static_cast<uint32_t>(count) >> (8 * i)) & 0xFF);
    return bytes;
}

// Left Ctrl + Page Up held from frame 121: the first skip acts at once; each later one in the frame
// its stage's banner ends (119 banner frames later), so the stage starts are at 121, 240 and 359.
// The three records mark their stage with a red, green or blue block in cell (0, 0).
TEST(PlayScenario, StageSkipsWrapByTheStageCount) {
    const std::vector<StageCodes> stages = {StageWith({{0, 0, 1}}), StageWith({{0, 0, 2}}),
                                            StageWith({{0, 0, 3}})};
    const uint32_t frames[4] = {120, 121, 240, 359};
    const struct {
        int32_t count;
        int checks;         // of the frames above; stage counts 1 and 0 need only the first skips
        int32_t stages[4];  // after each of those frames
    } cases[] = {{3, 4, {1, 2, 3, 1}}, {1, 3, {1, 1, 1}}, {0, 3, {1, 1, 1}}};
    const Script script = Script().SkipIntro().Down(121, "LCONTROL").Down(121, "PRIOR");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        TempDataDir data(stages);
        data.Write("Map.dat", MapWithCount(c.count, stages));
        const uint32_t last = frames[c.checks - 1];
        const GameRun run = Play(data.Path(), last + 1, script);
        for (int i = 0; i < c.checks; ++i) {
            const GameSnapshot& s = run.At(frames[i]);
            EXPECT_EQ(s.m_nStage, c.stages[i]) << frames[i];
            EXPECT_EQ(s.m_cells[0], 18 + c.stages[i]) << frames[i];
            EXPECT_EQ(s.m_nStageCount, c.count);
            EXPECT_EQ(s.m_bStageBanner, i == 0 ? 0 : 1) << frames[i];
            EXPECT_EQ(s.s_nBannerOffset, -355) << frames[i];
            if (i >= 2) {
                EXPECT_EQ(SoundsIn(s, frames[i]), std::vector<int>{4}) << frames[i];  // the last banner's end
            }
        }
        EXPECT_EQ(run.At(239).m_bStageBanner, 1);
        EXPECT_EQ(run.At(239).m_nStage, c.stages[1]);
        EXPECT_EQ(run.At(239).s_nBannerOffset, -1);
        EXPECT_EQ(run.At(last + 1).s_nBannerOffset, -352);
    }
}

}  // namespace
