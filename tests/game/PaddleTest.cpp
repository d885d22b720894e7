#include "game/GameFixture.h"

namespace {

using namespace playtest;

class PaddleTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        RestBallOnPaddle();
    }
    void Update(int32_t motion = 0) {
        backend.mouse.lX = motion;
        game->UpdatePaddle(game->m_paddle, game->m_rocket);
    }
    GameObject& Paddle() { return game->m_paddle; }
};

TEST_F(PaddleTest, ResetCentresTheNormalPaddle) {
    game->m_nPaddleFrame = 78;
    game->m_bWidePaddle = game->m_bMurkPaddles = 1;
    Paddle().x = 5;
    Paddle().sprite = 83;
    game->ResetPaddle();
    EXPECT_EQ(Paddle().x, 362);
    EXPECT_EQ(Paddle().y, 560);
    EXPECT_EQ(Paddle().sprite, 83);
    EXPECT_EQ(game->m_nPaddleFrame, 0);
    EXPECT_EQ(game->m_bWidePaddle + game->m_bMurkPaddles, 0);
    for (int i = 0; i < kTrail; ++i) EXPECT_EQ(Paddle().trailX[i], 362);
    EXPECT_EQ(Paddle().trailY[6], 560);
}

TEST_F(PaddleTest, MouseMovesThePaddleWithinTheScreen) {
    Update(25);
    EXPECT_EQ(Paddle().x, 387);
    Update(1000);
    EXPECT_EQ(Paddle().x, 721);
    Update(-1000);
    EXPECT_EQ(Paddle().x, 0);
    Update(INT32_MAX);
    EXPECT_EQ(Paddle().x, 721);
    Update(INT32_MIN);
    EXPECT_EQ(Paddle().x, 0);
}

TEST_F(PaddleTest, WidePaddleStopsAt661AndShowsItsRestFrame) {
    game->m_bWidePaddle = 1;
    Paddle().x = 700;
    Paddle().sprite = 3;
    Update();
    EXPECT_EQ(Paddle().x, 661);
    EXPECT_EQ(game->m_nPaddleFrame, 78);
    EXPECT_EQ(Paddle().sprite, 78);
    EXPECT_EQ(BackPixel(661 + 135, 569), SlotPixel(78));
}

TEST_F(PaddleTest, AutomaticModeFollowsBallZero) {
    game->m_bAutoPaddle = 1;
    game->m_balls[0].x = 10;
    Random expect = game->m_random;
    Update(300);
    expect.Draw();
    EXPECT_EQ(Paddle().x, 0);
    EXPECT_EQ(game->m_balls[0].launched, 1);
    EXPECT_EQ(game->m_random.State(), expect.State());

    game->m_balls[0].x = 400;
    game->m_balls[0].inPlay = 0;  // followed whether or not it is in play
    Update();
    EXPECT_EQ(Paddle().x, 400 + expect.Rnd(6) - 3 - 38);
}

TEST_F(PaddleTest, HitAnimationRunsNineFramesThenRests) {
    Paddle().sprite = 1;
    std::vector<int> frames;
    for (int i = 0; i < 11; ++i) {
        Update();
        frames.push_back(Paddle().sprite);
    }
    EXPECT_EQ(frames, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}));
    Paddle().sprite = 85;  // left over from a wide paddle: back to rest after one drawing
    Update();
    EXPECT_EQ(Paddle().sprite, 0);
}

TEST_F(PaddleTest, TrailKeepsTheLastSevenPositions) {
    for (int step = 1; step <= 8; ++step) Update(10);
    EXPECT_EQ(Paddle().x, 442);
    for (int i = 0; i < kTrail; ++i) EXPECT_EQ(Paddle().trailX[i], 442 - 10 * i) << i;
}

TEST_F(PaddleTest, MurkPaddlesDrawTheTrailWithTheRestFrame) {
    game->m_bMurkPaddles = 1;
    for (int i = 0; i < kTrail; ++i) Paddle().trailX[i] = 20 + 50 * i;
    Paddle().sprite = 4;
    Update();
    for (int i = 0; i < kTrail; ++i) EXPECT_EQ(BackPixel(20 + 50 * i, 560), SlotPixel(0)) << i;
    EXPECT_EQ(BackPixel(362 + 75, 569), SlotPixel(4));
}

TEST_F(PaddleTest, RocketLaunchesFromThePaddleOnePerFlight) {
    game->m_bRocketMode = 1;
    backend.Button(true);
    Update(-62);
    const GameObject& rocket = game->m_rocket;
    EXPECT_EQ(rocket.sprite, 64);
    EXPECT_EQ(rocket.x, 300 + (76 - 17) / 2);
    EXPECT_EQ(rocket.y, 560 - 38);
    EXPECT_EQ(rocket.dx, 0);
    EXPECT_EQ(rocket.dy, -5);
    EXPECT_EQ(rocket.trailX[6], 329);
    EXPECT_EQ(rocket.trailY[6], 522);
    EXPECT_EQ(Sounds(), std::vector<int>{7});
    Update(50);
    EXPECT_EQ(game->m_rocket.x, 329);
    EXPECT_TRUE(Sounds().empty());
    game->m_bRocketMode = 0;
    game->m_rocket.sprite = -1;
    Update();
    EXPECT_EQ(game->m_rocket.sprite, -1);
}

}  // namespace
