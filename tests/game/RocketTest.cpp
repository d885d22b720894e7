#include <gtest/gtest.h>

#include <vector>

#include "ItemsFixture.h"

namespace {

class RocketTest : public ShopFixture {
protected:
    void SetUp() override {
        ShopFixture::SetUp();
        for (int row = 0; row < kRows; ++row) {
            for (int column = 0; column < kColumns; ++column) {
                GameObject& cell = Cell(row, column);
                cell.x = CellLeft(column);
                cell.y = CellTop(row);
                cell.sprite = -1;
            }
        }
        game.m_bRocketMode = 1;
        game.m_particles.framesLeft = 0;
    }

    GameObject& Cell(int row, int column) { return game.m_cells[row * kColumns + column]; }

    // A rocket in flight whose top edge will be at y after its next step.
    void Fly(int32_t x, int32_t y) {
        GameObject& r = game.m_rocket;
        r.x = x;
        r.y = y + 5;
        r.dx = 0;
        r.dy = -5;
        r.sprite = 64;
        for (int n = 0; n < kTrail; ++n) {
            r.trailX[n] = x;
            r.trailY[n] = y + 5;
        }
    }

    int Step() { return game.UpdateRocket(game.m_rocket); }

    int Blocks() const {
        int n = 0;
        for (const GameObject& cell : game.m_cells) n += cell.sprite != -1 ? 1 : 0;
        return n;
    }
};

TEST_F(RocketTest, DoesNothingWithRocketModeOff) {
    game.m_bRocketMode = 0;
    Fly(300, 400);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(game.m_rocket.y, 405);
    EXPECT_TRUE(ScreenIsBlack());
}

TEST_F(RocketTest, DoesNothingWhenNoRocketFlies) {
    Fly(300, 400);
    game.m_rocket.sprite = -1;
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(game.m_rocket.y, 405);
    EXPECT_TRUE(ScreenIsBlack());
}

TEST_F(RocketTest, ClimbsFivePixelsAndIsDrawnAtItsNewPlace) {
    Fly(300, 400);
    game.m_rocket.trailX[0] = 500;  // keep the flames off the rocket
    for (int n = 1; n < kTrail; ++n) game.m_rocket.trailX[n] = 600;
    EXPECT_EQ(Step(), 0);  // its top is far below the field
    EXPECT_EQ(game.m_rocket.y, 400);
    EXPECT_EQ(game.m_rocket.sprite, 64);
    EXPECT_EQ(Pixel(300, 400), SlotColour(64));
    EXPECT_EQ(Pixel(316, 437), SlotColour(64));
    EXPECT_EQ(Pixel(317, 400), 0);
    EXPECT_EQ(Pixel(300, 399), 0);
    EXPECT_EQ(Pixel(300, 438), 0);
}

TEST_F(RocketTest, TheExhaustMovesDownBehindTheRocket) {
    Fly(300, 200);
    GameObject& r = game.m_rocket;
    for (int n = 0; n < kTrail; ++n) {
        r.trailX[n] = 20 * n;  // flames side by side, apart from the rocket
        r.trailY[n] = 500 + n;
    }
    Random expected = game.m_random;
    Step();
    for (int n = 0; n < kTrail; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(Pixel(20 * n, 500 + n), SlotColour(65 + n));  // drawn where it was
        EXPECT_EQ(Pixel(20 * n + 12, 500 + n + 12), SlotColour(65 + n));
    }
    for (int n = 1; n < kTrail; ++n) {
        EXPECT_EQ(r.trailX[n], 20 * (n - 1));
        EXPECT_EQ(r.trailY[n], 500 + (n - 1) + 5);
    }
    EXPECT_EQ(r.trailX[0], 300 + 1 + expected.Rnd(3));
    EXPECT_EQ(r.trailY[0], 200 + 38 - 4);
    EXPECT_EQ(game.m_random.State(), expected.State());
}

TEST_F(RocketTest, AnOlderFlameIsDrawnUnderANewerOne) {
    Fly(300, 200);
    for (int n = 0; n < kTrail; ++n) {
        game.m_rocket.trailX[n] = 100;
        game.m_rocket.trailY[n] = 500;
    }
    Step();
    EXPECT_EQ(Pixel(100, 500), SlotColour(65));
}

TEST_F(RocketTest, LeavingTheTopFreesTheLaunchAndDrawsNothing) {
    Fly(300, -38);
    const uint32_t state = game.m_random.State();
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(game.m_rocket.sprite, -1);
    EXPECT_EQ(game.m_rocket.y, -38);
    EXPECT_EQ(game.m_random.State(), state);
    EXPECT_TRUE(ScreenIsBlack());
}

TEST_F(RocketTest, ALastRowOnScreenKeepsItFlying) {
    Fly(300, -37);
    Step();
    EXPECT_EQ(game.m_rocket.sprite, 64);
    EXPECT_EQ(Pixel(300, 0), SlotColour(64));
}

TEST_F(RocketTest, ClearsAnyBlockForTenPointsAndKeepsClimbing) {
    for (int8_t kind = 18; kind <= 24; ++kind) {
        SCOPED_TRACE(kind);
        Cell(10, 5).sprite = kind;
        game.m_nScore = 40;
        Fly(301, 55 + 15 * 10 + 3);  // both corners in column 5
        EXPECT_EQ(Step(), 1);
        EXPECT_EQ(Cell(10, 5).sprite, -1);
        EXPECT_EQ(game.m_nScore, 50);
        EXPECT_EQ(Sounds(), std::vector<int>{1});
        EXPECT_EQ(game.m_rocket.sprite, 64);
    }
}

TEST_F(RocketTest, TheSprayTakesTheColourOfTheBlockAndStartsAtTheRocket) {
    const int8_t frames[] = {72, 73, 74, 75, 76, 72, 72};
    for (int8_t kind = 18; kind <= 24; ++kind) {
        SCOPED_TRACE(kind);
        Cell(3, 2).sprite = kind;
        game.m_particles.framesLeft = 0;
        Fly(181, 55 + 45);
        Step();
        EXPECT_EQ(game.m_particles.sprite, frames[kind - 18]);
        EXPECT_EQ(game.m_particles.framesLeft, 20);
        for (int i = 0; i < kParticles; ++i) {
            EXPECT_GE(game.m_particles.x[i], 181 - 2);
            EXPECT_LE(game.m_particles.x[i], 181 + 2);
            EXPECT_GE(game.m_particles.y[i], 100 - 2);
            EXPECT_LE(game.m_particles.y[i], 100 + 2);
        }
    }
}

TEST_F(RocketTest, GoldAndSilverGoAtOnceInOneFrame) {
    Cell(7, 5).sprite = 22;
    Cell(7, 6).sprite = 23;
    game.m_nScore = 0;
    Fly(330, 55 + 15 * 7);  // left corner in column 5, right corner (347) in column 6
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(Cell(7, 5).sprite, -1);
    EXPECT_EQ(Cell(7, 6).sprite, -1);
    EXPECT_EQ(game.m_nScore, 20);
    EXPECT_EQ(Sounds(), (std::vector<int>{1, 1}));
    EXPECT_EQ(game.m_particles.sprite, 72);  // the silver block's spray replaced the gold one's
}

TEST_F(RocketTest, OnlyTheBlocksUnderTheTwoCornersGo) {
    for (int column = 0; column < kColumns; ++column) Cell(7, column).sprite = 18;
    Cell(6, 5).sprite = 18;
    Cell(8, 5).sprite = 18;
    Fly(330, 55 + 15 * 7 + 14);
    Step();
    EXPECT_EQ(Blocks(), kColumns + 2 - 2);
    EXPECT_EQ(Cell(7, 5).sprite, -1);
    EXPECT_EQ(Cell(7, 6).sprite, -1);
}

TEST_F(RocketTest, FromXSixtyDownNothingIsTestedEvenOverColumnZero) {
    Cell(0, 0).sprite = 18;
    Fly(60, 55);  // right corner at 77: column 0, but the left corner ends the test
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(Cell(0, 0).sprite, 18);
    EXPECT_TRUE(Sounds().empty());

    Fly(61, 55);  // left corner 39 pixels left of the field: still column 0
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(Cell(0, 0).sprite, -1);
}

TEST_F(RocketTest, FromXSixEightyThreeOnlyTheLeftCornerClears) {
    for (int32_t x = 683; x <= 699; ++x) {
        SCOPED_TRACE(x);
        Cell(4, 14).sprite = 19;
        game.m_nScore = 0;
        Fly(x, 55 + 60);
        EXPECT_EQ(Step(), 0);
        EXPECT_EQ(Cell(4, 14).sprite, -1);
        EXPECT_EQ(game.m_nScore, 10);
        EXPECT_EQ(Sounds(), std::vector<int>{1});
    }
}

TEST_F(RocketTest, AtSixEightyTwoBothCornersAreOverTheLastColumn) {
    Cell(4, 14).sprite = 19;
    Fly(682, 55 + 60);
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(Cell(4, 14).sprite, -1);
    EXPECT_EQ(Sounds(), std::vector<int>{1});
}

TEST_F(RocketTest, FromXSevenHundredNothingIsCleared) {
    Cell(4, 14).sprite = 19;
    for (int32_t x : {700, 720, 780}) {
        Fly(x, 55 + 60);
        EXPECT_EQ(Step(), 0);
    }
    EXPECT_EQ(Cell(4, 14).sprite, 19);
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(RocketTest, RowZeroIsClearedFromYFortyOneToSixtyNine) {
    Cell(0, 5).sprite = 18;
    Fly(310, 40);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(Cell(0, 5).sprite, 18);
    for (int32_t y : {41, 69}) {
        Cell(0, 5).sprite = 18;
        Fly(310, y);
        EXPECT_EQ(Step(), 1);
        EXPECT_EQ(Cell(0, 5).sprite, -1);
    }
    Cell(0, 5).sprite = 18;
    Fly(310, 70);
    Step();
    EXPECT_EQ(Cell(0, 5).sprite, 18);
}

TEST_F(RocketTest, BelowTheFieldNothingIsTestedUntilTheTopPassesY355) {
    Cell(19, 5).sprite = 18;
    Fly(310, 355);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(Cell(19, 5).sprite, 18);
    Fly(310, 354);
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(Cell(19, 5).sprite, -1);
}

TEST_F(RocketTest, RocketPointsStopAtTheLargestScore) {
    Cell(0, 5).sprite = 18;
    game.m_nScore = INT32_MAX - 3;
    Fly(310, 55);
    Step();
    EXPECT_EQ(game.m_nScore, INT32_MAX);
}

class SprayTest : public ShopFixture {
protected:
    void Place(int32_t framesLeft, int8_t sprite) {
        ParticleSpray& s = game.m_particles;
        s.gravity = 1;
        s.framesLeft = framesLeft;
        s.sprite = sprite;
        for (int i = 0; i < kParticles; ++i) {
            s.x[i] = 10 + 30 * i;
            s.y[i] = 300;
            s.dx[i] = i % 7 - 3;
            s.dy[i] = -3 - i % 8;
        }
    }
};

TEST_F(SprayTest, AdvanceMovesEveryParticleUnderGravity) {
    Place(20, 73);
    EXPECT_EQ(game.AdvanceSpray(game.m_particles), 1);
    const ParticleSpray& s = game.m_particles;
    EXPECT_EQ(s.framesLeft, 19);
    EXPECT_EQ(s.x[0], 7);
    EXPECT_EQ(s.y[0], 297);
    EXPECT_EQ(s.dy[0], -2);
    EXPECT_EQ(s.x[19], 580 + 2);
    EXPECT_EQ(s.y[19], 300 - 6);
    EXPECT_EQ(s.dy[19], -5);
    game.AdvanceSpray(game.m_particles);
    EXPECT_EQ(s.y[0], 295);
    EXPECT_EQ(s.dy[0], -1);
}

TEST_F(SprayTest, AdvanceNeverTakesTheLifeBelowZero) {
    Place(0, 72);
    game.AdvanceSpray(game.m_particles);
    EXPECT_EQ(game.m_particles.framesLeft, 0);
    EXPECT_EQ(game.m_particles.x[1], 38);
}

TEST_F(SprayTest, DrawShowsEveryParticleInTheSprayFrame) {
    Place(5, 74);
    EXPECT_EQ(game.DrawSpray(game.m_particles), 1);
    for (int i = 0; i < kParticles; ++i) {
        EXPECT_EQ(Pixel(10 + 30 * i, 300), SlotColour(74));
        EXPECT_EQ(Pixel(15 + 30 * i, 305), SlotColour(74));
        EXPECT_EQ(Pixel(16 + 30 * i, 300), 0);
        EXPECT_EQ(Pixel(10 + 30 * i, 306), 0);
    }
}

TEST_F(SprayTest, ASprayAtRestIsStillDrawnButAFinishedOneIsNot) {
    Place(0, 72);
    EXPECT_EQ(game.DrawSpray(game.m_particles), 1);
    EXPECT_EQ(Pixel(10, 300), SlotColour(72));
    game.m_display.Flip();
    Place(-1, 72);
    EXPECT_EQ(game.DrawSpray(game.m_particles), 0);
    EXPECT_TRUE(ScreenIsBlack());
}

TEST_F(SprayTest, AStartedSprayLivesTwentyFrames) {
    game.StartSpray(400, 300, 75, game.m_particles);
    int frames = 0;
    while (game.m_particles.framesLeft > 0) {
        game.AdvanceSpray(game.m_particles);
        game.DrawSpray(game.m_particles);
        ++frames;
    }
    EXPECT_EQ(frames, 20);
}

TEST_F(SprayTest, ANewSprayReplacesTheOldOneCompletely) {
    Place(12, 73);
    game.StartSpray(400, 100, 76, game.m_particles);
    game.AdvanceSpray(game.m_particles);
    game.DrawSpray(game.m_particles);
    for (int i = 0; i < kParticles; ++i) {
        EXPECT_EQ(Pixel(10 + 30 * i + 2, 302), 0);  // where the old particles would be
    }
    const ParticleSpray& s = game.m_particles;
    EXPECT_EQ(s.framesLeft, 19);
    EXPECT_EQ(s.sprite, 76);
    for (int i = 0; i < kParticles; ++i) {
        EXPECT_EQ(Pixel(s.x[i], s.y[i]), SlotColour(76));
    }
}

}  // namespace
