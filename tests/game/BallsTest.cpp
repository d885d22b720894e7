#include <cstdlib>

#include "game/GameFixture.h"

namespace {

using namespace playtest;

class BallsTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        RestBallOnPaddle();
        ClearField();
    }
    // The button goes down and one frame moves the paddle, then the balls.
    void PressAndStep() {
        backend.Button(true);
        game->UpdatePaddle(game->m_paddle, game->m_rocket);
        game->UpdateBalls();
    }
    // Skips the draws a block hit makes for its particle spray.
    static void SkipSpray(Random& r) {
        for (int i = 0; i < 4 * kParticles; ++i) r.Draw();
    }
};

TEST_F(BallsTest, ResetPutsOneBallOnThePaddle) {
    game->m_bGlueMode = game->m_bPierceMode = game->m_bRocketMode = 1;
    game->m_bAutoPaddle = 1;
    game->m_rocket.sprite = 64;
    game->m_balls[5].inPlay = 1;
    game->m_paddle.x = 0;
    game->ResetBalls();
    EXPECT_EQ(game->m_nBalls, 1);
    for (int i = 0; i < kMaxBalls; ++i) {
        const Ball& b = game->m_balls[i];
        EXPECT_EQ(b.inPlay, i == 0 ? 1 : 0);
        EXPECT_EQ(b.x, -2);  // 0 + 76 * 38 / 800 - 5
        EXPECT_EQ(b.y, 559);
        EXPECT_EQ(b.trailX[6], -2);
        EXPECT_EQ(b.dx, 0);
        EXPECT_EQ(b.dy, 7);
        EXPECT_EQ(b.launched, 0);
    }
    EXPECT_EQ(game->m_bGlueMode + game->m_bPierceMode + game->m_bRocketMode + game->m_bAutoPaddle, 0);
    EXPECT_EQ(game->m_rocket.sprite, -1);
}

TEST_F(BallsTest, LaunchFromTheCentredPaddle) {
    game->m_bStageBanner = 0;
    PressAndStep();
    const Ball& b = game->m_balls[0];
    EXPECT_EQ(b.x, 395);
    EXPECT_EQ(b.y, 566);
    EXPECT_EQ(b.dy, -7);
    EXPECT_EQ(b.dx, 1);  // h = 38: zone 4
    EXPECT_EQ(b.glueToggle, 1);
    EXPECT_EQ(b.launched, 1);
    EXPECT_EQ(game->m_paddle.sprite, 1);
    EXPECT_EQ(Sounds(), std::vector<int>{0});
    EXPECT_EQ(game->m_balls[9].launched, 1);  // every slot is launched
}

TEST_F(BallsTest, LaunchFromTheLeftEdgeMeetsTheWallInTheSameStep) {
    game->m_paddle.x = 0;
    game->ResetBalls();
    game->m_bStageBanner = 0;
    const uint32_t before = game->m_random.State();
    PressAndStep();
    const Ball& b = game->m_balls[0];
    EXPECT_EQ(b.x, 0);
    EXPECT_EQ(b.y, 566);
    EXPECT_EQ(b.dx, 8);
    EXPECT_EQ(b.dy, -7);
    EXPECT_EQ(Sounds(), (std::vector<int>{0, 2}));
    EXPECT_EQ(game->m_random.State(), before);
}

TEST_F(BallsTest, NoLaunchDuringTheBannerAndLaunchedBallsWait) {
    game->m_bStageBanner = 1;
    PressAndStep();
    EXPECT_EQ(game->m_balls[0].launched, 0);
    EXPECT_EQ(game->m_balls[0].y, 559);
    game->m_balls[0].launched = 1;
    game->UpdateBalls();
    EXPECT_EQ(game->m_balls[0].x, 100);
    EXPECT_EQ(game->m_balls[0].y, 100);
}

TEST_F(BallsTest, PaddleZonesSteerTheBall) {
    // h = x + 5 - 362 after the move; g = 9.
    struct Case {
        int32_t h, dx, expected;
    } cases[] = {{-6, 0, -8}, {8, -8, -8}, {9, -6, -9}, {17, 0, -3}, {18, 0, -2}, {27, 0, -1},
                 {36, 0, 1},  {44, 7, 8},  {45, 0, 2},  {54, 7, 10}, {63, 0, 8},  {81, 8, 8}};
    for (const Case& c : cases) {
        Ball& b = Fly(0, 362 + c.h - 5 - c.dx, 560 - 4, c.dx, 4);
        game->StepBall(b);
        EXPECT_EQ(b.dx, c.expected) << "h " << c.h << " dx " << c.dx;
        EXPECT_EQ(b.dy, -4);
    }
}

TEST_F(BallsTest, PaddleContactBoundsAreInclusive) {
    Ball& b = Fly(0, 362 + 76, 570, 0, 0);  // x = PX + W, y = PY + H
    game->StepBall(b);
    EXPECT_EQ(Sounds(), std::vector<int>{0});
    Fly(0, 362 - 11, 560 + 3, 0, -3);  // x + Wb = PX, y = PY; a rising ball stays rising
    game->StepBall(b);
    EXPECT_EQ(Sounds(), std::vector<int>{0});
    EXPECT_EQ(b.dy, -3);
    Fly(0, 362 - 12, 560, 0, 0);
    game->StepBall(b);
    Fly(0, 400, 571, 0, 0);
    game->StepBall(b);
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(BallsTest, WallsReflectAndNudgeAStillComponent) {
    Ball& b = Fly(0, 2, 300, -5, 3);
    game->StepBall(b);
    EXPECT_EQ(b.x, 0);
    EXPECT_EQ(b.dx, 5);
    Fly(0, 780, 300, 9, 3);  // x + Wb = 800 after the move
    game->StepBall(b);
    EXPECT_EQ(b.x, 789);
    EXPECT_EQ(b.dx, -9);
    EXPECT_EQ(Sounds(), (std::vector<int>{2, 2}));

    Random expect = game->m_random;
    Fly(0, 1, 300, -4, 0);
    game->StepBall(b);
    EXPECT_EQ(b.dy, expect.Rnd(3) - 1);
    Fly(0, 400, 14, 0, -4);  // top: y - Hb = -1
    game->StepBall(b);
    EXPECT_EQ(b.y, 11);
    EXPECT_EQ(b.dy, 4);
    EXPECT_EQ(b.dx, expect.Rnd(3) - 1);
    EXPECT_EQ(game->m_random.State(), expect.State());
}

TEST_F(BallsTest, BallLeavesAtTheBottom) {
    game->m_nBalls = 2;
    Ball& b = Fly(1, 100, 592, 0, 7);
    game->StepBall(b);
    EXPECT_EQ(b.inPlay, 1);  // y 599
    game->StepBall(b);
    EXPECT_EQ(b.inPlay, 0);
    EXPECT_EQ(b.y, 606);
    EXPECT_EQ(game->m_nBalls, 1);
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(BallsTest, LifeLostWhenNoBallIsLeft) {
    game->m_nLives = 3;
    game->m_nBalls = 0;
    game->m_bWidePaddle = 1;
    game->m_paddle.x = 10;
    game->UpdateBalls();
    EXPECT_EQ(game->m_nLives, 2);
    EXPECT_EQ(game->m_bGameOver, 0);
    EXPECT_EQ(game->m_nBalls, 1);
    EXPECT_EQ(game->m_bWidePaddle, 0);
    EXPECT_EQ(game->m_paddle.x, 362);
    EXPECT_EQ(Sounds(), std::vector<int>{6});
}

// The bounce table: four blocks around the grid point (300, 130); the ball's corners fall in the
// cells (4, 4), (5, 4), (4, 5), (5, 5), and a block in a corner's cell makes that corner count.
struct BounceRow {
    int corners;  // bits: 1 TL, 2 TR, 4 BL, 8 BR
    int m;
    int32_t (*dx)(int32_t dx, int32_t r);
    int32_t (*dy)(int32_t dy);
};
int32_t Same(int32_t v) {
    return v;
}
int32_t SameDx(int32_t dx, int32_t) {
    return dx;
}
int32_t Neg(int32_t v) {
    return -v;
}
int32_t NegDx(int32_t dx, int32_t) {
    return -dx;
}
int32_t Abs(int32_t v) {
    return std::abs(v);
}
int32_t NegAbs(int32_t v) {
    return -std::abs(v);
}
int32_t AbsNudged(int32_t dx, int32_t r) {
    return std::abs(dx + r);
}
int32_t NegAbsNudged(int32_t dx, int32_t r) {
    return -std::abs(dx + r);
}
int32_t NegNudged(int32_t dx, int32_t r) {
    return -(dx + r);
}
int32_t Nudged(int32_t dx, int32_t r) {
    return dx + r;
}

const BounceRow kBounceTable[] = {
    {0, 0, SameDx, Same},    {1, 1, AbsNudged, Abs},    {2, 2, NegAbsNudged, Abs},
    {3, 3, SameDx, Neg},     {4, 5, AbsNudged, NegAbs}, {5, 6, NegDx, Same},
    {6, 7, NegNudged, Neg},  {7, 8, NegNudged, Neg},    {8, 9, NegAbsNudged, NegAbs},
    {9, 10, NegNudged, Neg}, {10, 11, NegDx, Same},     {11, 12, NegNudged, Neg},
    {12, 14, SameDx, Neg},   {13, 15, NegNudged, Neg},  {14, 16, NegNudged, Neg},
    {15, 17, Nudged, Same},
};

TEST_F(BallsTest, BounceTable) {
    const int cellColumn[4] = {4, 5, 4, 5}, cellRow[4] = {4, 4, 5, 5};
    const int32_t velocities[][2] = {{-3, 4}, {2, -5}};
    for (const BounceRow& row : kBounceTable) {
        for (const auto& v : velocities) {
            for (uint32_t seed = 1; seed <= 6; ++seed) {
                ClearField();
                int hits = 0;
                for (int c = 0; c < 4; ++c) {
                    if (row.corners & (1 << c)) Cell(cellColumn[c], cellRow[c]).sprite = 18, ++hits;
                }
                game->m_random.SetState(seed);
                game->m_nScore = 0;
                Random expect = game->m_random;
                for (int i = 0; i < hits; ++i) SkipSpray(expect);
                const int32_t r = expect.Rnd(3) - 1;

                Ball& b = Fly(0, 295 - v[0], 135 - v[1], v[0], v[1]);
                game->StepBall(b);
                SCOPED_TRACE(::testing::Message() << "m " << row.m << " dx " << v[0] << " seed " << seed);
                EXPECT_EQ(b.dx, row.dx(v[0], r));
                EXPECT_EQ(b.dy, row.dy(v[1]));
                EXPECT_EQ(b.x, 295);  // no position correction
                EXPECT_EQ(b.y, 135);
                EXPECT_EQ(game->m_nScore, 10 * hits);
                EXPECT_EQ(game->m_random.State(), expect.State());
                for (int c = 0; c < 4; ++c) EXPECT_EQ(Cell(cellColumn[c], cellRow[c]).sprite, -1);
            }
        }
    }
}

TEST_F(BallsTest, StillComponentsAreNudgedBeforeTheBounce) {
    Cell(5, 5).sprite = 19;
    Random expect = game->m_random;
    SkipSpray(expect);
    const int32_t dy = expect.Rnd(3) - 1;
    const int32_t dx = expect.Rnd(3) - 1;
    const int32_t r = expect.Rnd(3) - 1;
    Ball& b = Fly(0, 310, 142, 0, 0);  // wholly inside the cell: m = 17
    game->StepBall(b);
    EXPECT_EQ(b.dy, dy);
    EXPECT_EQ(b.dx, dx + r);
    EXPECT_EQ(game->m_random.State(), expect.State());
    EXPECT_EQ(game->m_particles.sprite, 73);
}

TEST_F(BallsTest, RandomDrawsOnlyWhereTheStepGetsToTheBounce) {
    uint32_t state = game->m_random.State();
    Ball& b = Fly(0, 400, 400, 1, 1);  // below the field
    game->StepBall(b);
    EXPECT_EQ(game->m_random.State(), state);

    Fly(0, 400, 200, 1, 1);  // in the field, over empty cells: only r
    game->StepBall(b);
    Random expect;
    expect.SetState(state);
    expect.Draw();
    EXPECT_EQ(game->m_random.State(), expect.State());
}

TEST_F(BallsTest, CornersLeftOfAndAboveTheFieldUseColumnAndRowZero) {
    Cell(0, 2).sprite = 18;
    Ball& b = Fly(0, 95 - 2, 98, 2, 0);  // TL (95, 87) truncates to column 0; TR and BR in the block: m = 11
    game->StepBall(b);
    EXPECT_EQ(Cell(0, 2).sprite, -1);
    EXPECT_EQ(b.dx, -2);

    Cell(0, 0).sprite = 18;
    Fly(0, 110, 61 + 3, 0, -3);  // TL (110, 50) truncates to row 0; BL and BR in the block: m = 14
    game->StepBall(b);
    EXPECT_EQ(Cell(0, 0).sprite, -1);
    EXPECT_EQ(b.dy, 3);
}

TEST_F(BallsTest, CellsPastTheRightAndBottomEdgesAreSkipped) {
    Cell(14, 3).sprite = 18;
    Ball& b = Fly(0, 690 - 1, 112, 1, 0);  // TR at x 701: column 15 is not a cell; m = 6 (TL, BL)
    game->StepBall(b);
    EXPECT_EQ(Cell(14, 3).sprite, -1);
    EXPECT_EQ(b.dx, -1);

    Cell(3, 19).sprite = 18;
    Fly(0, 230, 358 - 2, 0, 2);  // BL at y 358: row 20 is not a cell; m = 3 (TL, TR)
    game->StepBall(b);
    EXPECT_EQ(Cell(3, 19).sprite, -1);
    EXPECT_EQ(b.dy, -2);
}

TEST_F(BallsTest, NeverLoadedCellsAreNotHit) {
    for (GameObject& cell : game->m_cells) cell = GameObject{};
    Random expect = game->m_random;
    expect.Draw();  // r only: no spray
    Ball& b = Fly(0, 309, 141, 1, 1);
    game->StepBall(b);
    EXPECT_EQ(b.dx, 1);
    EXPECT_EQ(game->m_nScore, 0);
    EXPECT_EQ(game->m_particles.framesLeft, 0);
    EXPECT_TRUE(Sounds().empty());
    EXPECT_EQ(BackPixel(0, 0), 0);
    EXPECT_EQ(game->m_random.State(), expect.State());
}

TEST_F(BallsTest, TopCornersInTwoBlocksHitBoth) {
    Cell(4, 4).sprite = 18;
    Cell(5, 4).sprite = 20;
    Ball& b = Fly(0, 295, 135 + 4, 1, -4);
    game->StepBall(b);
    EXPECT_EQ(Cell(4, 4).sprite, -1);
    EXPECT_EQ(Cell(5, 4).sprite, -1);
    EXPECT_EQ(b.dy, 4);
    EXPECT_EQ(b.dx, 1);
    EXPECT_EQ(game->m_nScore, 20);
    EXPECT_EQ(Sounds(), (std::vector<int>{1, 1}));
    EXPECT_EQ(game->m_particles.sprite, 74);  // the later hit's spray
}

TEST_F(BallsTest, SilverCracksThenBreaks) {
    Cell(5, 5).sprite = 23;
    Ball& b = Fly(0, 309, 141, 1, 1);
    game->StepBall(b);
    EXPECT_EQ(Cell(5, 5).sprite, 24);
    EXPECT_EQ(game->m_nScore, 10);
    EXPECT_EQ(game->m_particles.sprite, 72);
    b.dx = 1;
    game->StepBall(b);
    EXPECT_EQ(Cell(5, 5).sprite, -1);
    EXPECT_EQ(game->m_nScore, 20);
    EXPECT_EQ(Sounds(), (std::vector<int>{3, 1}));
}

TEST_F(BallsTest, GoldStaysAndScoresNothing) {
    Cell(5, 5).sprite = 22;
    Random expect = game->m_random;
    SkipSpray(expect);
    const int32_t r = expect.Rnd(3) - 1;
    Ball& b = Fly(0, 308, 141, 2, 1);
    game->StepBall(b);
    EXPECT_EQ(Cell(5, 5).sprite, 22);
    EXPECT_EQ(game->m_nScore, 0);
    EXPECT_EQ(Sounds(), std::vector<int>{3});
    EXPECT_EQ(game->m_particles.sprite, 76);
    EXPECT_EQ(b.dx, 2 + r);
    EXPECT_EQ(b.dy, 1);
}

TEST_F(BallsTest, PierceBreaksGoldWithoutBouncing) {
    game->m_bPierceMode = 1;
    Cell(5, 5).sprite = 22;
    Cell(5, 6).sprite = 21;
    Random expect = game->m_random;
    SkipSpray(expect);
    SkipSpray(expect);
    Ball& b = Fly(0, 310 - 3, 150 - 4, 3, 4);  // TL, TR in (5, 5); BL, BR in (5, 6)
    game->StepBall(b);
    EXPECT_EQ(Cell(5, 5).sprite, -1);
    EXPECT_EQ(Cell(5, 6).sprite, -1);
    EXPECT_EQ(game->m_nScore, 10);
    EXPECT_EQ(b.dx, 3);
    EXPECT_EQ(b.dy, 4);
    EXPECT_EQ(Sounds(), (std::vector<int>{1, 1}));
    EXPECT_EQ(game->m_random.State(), expect.State());
}

TEST_F(BallsTest, HitFlashesTheCellRed) {
    Cell(5, 5).sprite = 18;
    Ball& b = Fly(0, 309, 141, 1, 1);
    game->StepBall(b);
    EXPECT_EQ(BackPixel(300, 130), 0xF800);
    EXPECT_EQ(BackPixel(339, 144), 0xF800);
    EXPECT_NE(BackPixel(340, 144), 0xF800);
}

TEST_F(BallsTest, SecondBallFindsTheBlockGone) {
    game->m_bStageBanner = 0;
    game->m_nBalls = 2;
    Cell(5, 5).sprite = 18;
    Fly(0, 309, 141, 1, 1);
    Ball& second = Fly(1, 312, 143, -2, -1);
    game->UpdateBalls();
    EXPECT_EQ(game->m_nScore, 10);
    EXPECT_EQ(Sounds(), std::vector<int>{1});
    EXPECT_EQ(second.dx, -2);
    EXPECT_EQ(second.dy, -1);
    EXPECT_EQ(second.x, 310);
}

TEST_F(BallsTest, GlueCatchesAndTheToggleLetsTheLaunchGo) {
    game->m_bStageBanner = 0;
    game->m_bGlueMode = 1;
    Ball& b = Fly(0, 380, 553, 0, 7);
    b.glueToggle = 1;
    game->UpdateBalls();
    EXPECT_EQ(b.launched, 0);
    EXPECT_EQ(b.glueOffset, 18);
    EXPECT_EQ(b.x, 380);
    EXPECT_EQ(b.y, 559);
    EXPECT_EQ(b.dx, 0);
    EXPECT_EQ(b.dy, 7);
    EXPECT_EQ(b.glueToggle, 0);
    EXPECT_EQ(b.trailX[3], 380);

    game->m_paddle.x = 400;
    game->UpdateBalls();
    EXPECT_EQ(b.x, 418);
    EXPECT_EQ(b.y, 559);

    backend.Button(true);
    game->m_mouse.ReadState();
    game->UpdateBalls();
    EXPECT_EQ(b.launched, 1);
    EXPECT_EQ(b.y, 566);
    EXPECT_EQ(b.dy, -7);
    EXPECT_EQ(b.glueToggle, 1);
}

TEST_F(BallsTest, ToggleFlipsAtEveryContactWithoutGlue) {
    Ball& b = Fly(0, 395, 562, 0, 0);
    game->StepBall(b);
    EXPECT_EQ(b.glueToggle, 1);
    game->StepBall(b);  // still in the band: a second contact
    EXPECT_EQ(b.glueToggle, 0);
    EXPECT_EQ(Sounds(), (std::vector<int>{0, 0}));
}

TEST_F(BallsTest, MurkPaddlesSendTheBallBackOncePerPosition) {
    game->m_bMurkPaddles = 1;
    for (int i = 0; i < kTrail; ++i) game->m_paddle.trailX[i] = 600;
    game->m_paddle.trailX[1] = 100;
    game->m_paddle.trailX[5] = 110;
    game->m_paddle.trailX[6] = 100;  // too old to count
    Ball& b = Fly(0, 120, 558, 2, 4);
    game->StepBall(b);
    EXPECT_EQ(b.dy, -4);
    EXPECT_EQ(b.dx, 2);
    EXPECT_EQ(b.glueToggle, 0);
    EXPECT_EQ(game->m_paddle.sprite, 1);
    EXPECT_EQ(Sounds(), (std::vector<int>{0, 0}));

    game->m_bMurkPaddles = 0;
    Fly(0, 120, 558, 2, 4);
    game->StepBall(b);
    EXPECT_EQ(b.dy, 4);
}

TEST_F(BallsTest, DrawBallStacksTheTrailUnderTheBall) {
    Ball& b = game->m_balls[0];
    for (int i = 0; i < kTrail; ++i) b.trailX[i] = 100 + 20 * i, b.trailY[i] = 50;
    b.x = 300, b.y = 50;
    game->DrawBall(b);
    for (int i = 0; i < kTrail; ++i) EXPECT_EQ(BackPixel(100 + 20 * i, 39), SlotPixel(11 + i)) << i;
    EXPECT_EQ(BackPixel(300, 39), SlotPixel(10));
    EXPECT_NE(BackPixel(300, 50), SlotPixel(10));  // anchor 6: y is the bottom edge
    EXPECT_EQ(b.trailX[0], 300);
    EXPECT_EQ(b.trailX[1], 100);
    EXPECT_EQ(b.trailX[6], 200);
}

TEST_F(BallsTest, BranchDoublesWithNudgedCopies) {
    game->m_nBalls = 32;
    for (int i = 0; i < 32; ++i) Fly(i, 10 * i, 300 + i, i % 5 - 2, 3 - i % 7).glueOffset = i;
    Random expect = game->m_random;
    EXPECT_EQ(game->BranchBalls(), 1);
    EXPECT_EQ(game->m_nBalls, 64);
    for (int j = 0; j < 32; ++j) {
        const Ball& copy = game->m_balls[32 + j];
        EXPECT_EQ(copy.x, 10 * j);
        EXPECT_EQ(copy.y, 300 + j);
        EXPECT_EQ(copy.trailY[6], 300 + j);
        EXPECT_EQ(copy.dx, j % 5 - 2 + (expect.Rnd(2) == 0 ? 1 : -1));
        EXPECT_EQ(copy.dy, 3 - j % 7 + (expect.Rnd(2) == 0 ? 1 : -1));
        EXPECT_EQ(copy.inPlay, 1);
        EXPECT_EQ(copy.launched, 1);
        EXPECT_EQ(copy.glueOffset, j);
    }
    EXPECT_EQ(game->BranchBalls(), 0);
}

TEST_F(BallsTest, BranchRefusesAboveThirtyTwo) {
    game->m_nBalls = 33;
    for (int i = 0; i < 33; ++i) Fly(i, 100, 300, 1, 1);
    const uint32_t state = game->m_random.State();
    EXPECT_EQ(game->BranchBalls(), 0);
    EXPECT_EQ(game->m_nBalls, 33);
    EXPECT_EQ(game->m_balls[33].inPlay, 0);
    EXPECT_EQ(game->m_random.State(), state);
}

TEST_F(BallsTest, BranchCompactsFirst) {
    game->m_balls[0].inPlay = 0;
    game->m_nBalls = 2;
    Fly(3, 30, 300, 3, 3);
    Fly(7, 70, 300, 7, 7);
    game->BranchBalls();
    EXPECT_EQ(game->m_nBalls, 4);
    EXPECT_EQ(game->m_balls[0].x, 30);
    EXPECT_EQ(game->m_balls[1].x, 70);
    EXPECT_EQ(game->m_balls[2].x, 30);
    EXPECT_EQ(game->m_balls[3].x, 70);
    for (int i = 4; i < kMaxBalls; ++i) EXPECT_EQ(game->m_balls[i].inPlay, 0) << i;
}

TEST_F(BallsTest, BranchWithNoBallChangesNothing) {
    game->m_nBalls = 0;
    game->m_balls[0].inPlay = 0;
    const uint32_t state = game->m_random.State();
    EXPECT_EQ(game->BranchBalls(), 1);
    EXPECT_EQ(game->m_nBalls, 0);
    EXPECT_EQ(game->m_random.State(), state);
}

TEST_F(BallsTest, SpeedChangesKeepDirections) {
    game->ChangeBallSpeed(8);
    EXPECT_EQ(game->m_balls[0].dx, -8);
    EXPECT_EQ(game->m_balls[0].dy, 8);
    EXPECT_EQ(game->m_balls[1].dy, 7);  // not in play

    Ball& b = Fly(0, 100, 300, -3, 5);
    game->ChangeBallSpeed(8);
    EXPECT_EQ(b.dx, -8);
    EXPECT_EQ(b.dy, 8);
    game->ChangeBallSpeed(-8);
    EXPECT_EQ(b.dx, -1);
    EXPECT_EQ(b.dy, 2);
    b.dx = 0, b.dy = 0;
    game->ChangeBallSpeed(-8);
    EXPECT_EQ(b.dx, -1);
    EXPECT_EQ(b.dy, -2);
    b.dx = 4, b.dy = -5;
    game->ChangeBallSpeed(2);
    EXPECT_EQ(b.dx, 6);
    EXPECT_EQ(b.dy, -7);
}

TEST_F(BallsTest, SprayDrawsFourTimesPerParticle) {
    Random expect = game->m_random;
    game->StartSpray(320, 137, 75, game->m_particles);
    const ParticleSpray& s = game->m_particles;
    EXPECT_EQ(s.gravity, 1);
    EXPECT_EQ(s.framesLeft, 20);
    EXPECT_EQ(s.sprite, 75);
    for (int i = 0; i < kParticles; ++i) {
        EXPECT_EQ(s.x[i], 320 + expect.Rnd(5) - 2);
        EXPECT_EQ(s.y[i], 137 + expect.Rnd(5) - 2);
        EXPECT_EQ(s.dx[i], expect.Rnd(7) - 3);
        EXPECT_EQ(s.dy[i], -3 - expect.Rnd(8));
    }
    EXPECT_EQ(game->m_random.State(), expect.State());
}

}  // namespace
