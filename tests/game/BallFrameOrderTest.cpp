// The order of events inside one ball frame: blocks are hit in the fixed order of the ball's
// corners (so sounds and the last spray follow it), and a frame that takes a life goes on to
// launch and move the fresh ball.
#include "game/GameFixture.h"

namespace {

using namespace playtest;

class BallFrameOrderTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        RestBallOnPaddle();
        ClearField();
    }
};

// A ball at (295, 135) has its corners TL (295, 124), TR (306, 124), BL (295, 135), BR (306, 135)
// in four different cells: (4, 4), (5, 4), (4, 5), (5, 5). They are hit TL's, TR's, BL's, BR's.
TEST_F(BallFrameOrderTest, FourCellsAreHitInCornerOrder) {
    Cell(4, 4).sprite = 22;  // gold: metal, no score
    Cell(5, 4).sprite = 19;  // red
    Cell(4, 5).sprite = 23;  // silver: metal, cracks
    Cell(5, 5).sprite = 21;  // blue
    game->StepBall(Fly(0, 294, 134, 1, 1));
    EXPECT_EQ(Sounds(), (std::vector<int>{3, 1, 3, 1}));
    EXPECT_EQ(game->m_particles.sprite, 75);  // BR's spray replaced the others
    EXPECT_EQ(game->m_nScore, 30);
    EXPECT_EQ(Cell(4, 4).sprite, 22);
    EXPECT_EQ(Cell(4, 5).sprite, 24);
}

// At (305, 135) TL (305, 124) and TR (316, 124) share column 5: the cells are TL's (5, 4), then
// BL's (5, 5).
TEST_F(BallFrameOrderTest, OneColumnIsHitTopThenBottom) {
    Cell(5, 4).sprite = 22;
    Cell(5, 5).sprite = 19;
    game->StepBall(Fly(0, 304, 134, 1, 1));
    EXPECT_EQ(Sounds(), (std::vector<int>{3, 1}));
    EXPECT_EQ(game->m_particles.sprite, 73);
    EXPECT_EQ(game->m_nScore, 10);
}

// The frame that takes the life still launches (button held) and steps the new ball: it falls
// from (395, 559) to (395, 566) onto the centred paddle and leaves at (+1, -7).
TEST_F(BallFrameOrderTest, LifeLossFrameLaunchesTheNewBallAtOnce) {
    game->m_bStageBanner = 0;
    game->m_nLives = 3;
    game->m_nBalls = 0;
    game->m_balls[0].inPlay = 0;
    game->m_paddle.x = 40;
    backend.Button(true);
    game->m_mouse.ReadState();
    game->UpdateBalls();
    EXPECT_EQ(game->m_nLives, 2);
    EXPECT_EQ(Sounds(), (std::vector<int>{6, 0}));
    const Ball& b = game->m_balls[0];
    EXPECT_EQ(b.launched, 1);
    EXPECT_EQ(b.x, 395);
    EXPECT_EQ(b.y, 566);
    EXPECT_EQ(b.dx, 1);
    EXPECT_EQ(b.dy, -7);
    EXPECT_EQ(b.trailY[0], 566);  // and draws it
}

}  // namespace
