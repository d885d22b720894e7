#include "game/GameFixture.h"
#include "input/DIK.h"

namespace {

using namespace playtest;

class TickTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        WriteFile("Map.dat", MapBytes(2, {Filled(0), Filled(1)}));
    }
    // Runs one due frame.
    int Frame() {
        backend.now += 15;
        return game->Tick();
    }
    WorkDir dir;
};

TEST_F(TickTest, NewGameSetsUpStageOne) {
    game->m_bIntro = 1;
    game->m_nScore = 500;
    game->m_nLives = 1;
    game->m_bGameOver = 1;
    game->m_bMiniMap = 1;
    game->m_bMessage = 1;
    game->m_strMessage = "GLUE MODE";
    game->NewGame();
    EXPECT_EQ(game->m_bGameOver, 0);
    EXPECT_EQ(game->m_nLives, 5);
    EXPECT_EQ(game->m_nStage, 1);
    EXPECT_EQ(game->m_nStageCount, 2);
    EXPECT_EQ(game->m_bStageBanner, 1);
    EXPECT_EQ(game->m_nScore, 0);
    EXPECT_EQ(game->m_bMessage, 0);
    EXPECT_EQ(game->m_strMessage, "");
    EXPECT_EQ(game->m_nItemKeyDelay, 20);
    EXPECT_EQ(game->m_bMiniMap, 0);
    EXPECT_EQ(game->m_dwFrameInterval, 15u);
    EXPECT_EQ(game->m_bIntro, 1);
    EXPECT_EQ(game->m_paddle.x, 362);
    EXPECT_EQ(game->m_paddle.y, 560);
    EXPECT_EQ(game->m_nBalls, 1);
    EXPECT_EQ(game->m_balls[0].x, 395);
    EXPECT_EQ(game->m_balls[0].y, 559);
    EXPECT_EQ(Cell(0, 0).sprite, 18);
}

TEST_F(TickTest, StageClearedCountsAllButGold) {
    ClearField();
    EXPECT_EQ(game->IsStageCleared(), 1);
    Cell(3, 3).sprite = 22;
    EXPECT_EQ(game->IsStageCleared(), 1);
    Cell(4, 3).sprite = 23;
    EXPECT_EQ(game->IsStageCleared(), 0);
    Cell(4, 3).sprite = 24;
    EXPECT_EQ(game->IsStageCleared(), 0);
    Cell(4, 3).sprite = 21;
    EXPECT_EQ(game->IsStageCleared(), 0);
}

TEST_F(TickTest, FramesArePacedByFifteenMilliseconds) {
    game->NewGame();
    EXPECT_EQ(game->Tick(), 1);  // the first tick runs at once
    EXPECT_EQ(backend.presents, 1);
    EXPECT_EQ(game->m_dwLastFrame, backend.now);
    EXPECT_EQ(game->s_nBannerOffset, -352);

    backend.now += 14;
    EXPECT_EQ(game->Tick(), 1);
    EXPECT_EQ(backend.presents, 1);
    EXPECT_EQ(game->s_nBannerOffset, -352);
    backend.now += 1;
    game->Tick();
    EXPECT_EQ(backend.presents, 2);
    EXPECT_EQ(game->s_nBannerOffset, -349);
}

TEST_F(TickTest, TickCounterWrapsAround) {
    game->NewGame();
    game->m_dwLastFrame = 0xFFFFFFF8u;
    backend.now = 6;  // 14 ms later
    game->Tick();
    EXPECT_EQ(backend.presents, 0);
    backend.now = 7;
    game->Tick();
    EXPECT_EQ(backend.presents, 1);
    EXPECT_EQ(game->m_dwLastFrame, 7u);
}

// A clock that moves on by a millisecond at every read.
class SteppingClock : public FakeBackend {
public:
    uint32_t GetTickCount() override { return now++; }
};

TEST_F(TickTest, FrameStartIsTheClockReadAfterTheDueTest) {
    game->NewGame();
    {
        SteppingClock clock;
        clock.now = 500;
        game->m_dwLastFrame = 485;
        game->Tick();  // due at the read of 500; the frame starts at the next read
        EXPECT_EQ(game->m_dwLastFrame, 501u);
    }
}

TEST_F(TickTest, BannerRuns119FramesThenPlaysTheStartSound) {
    game->NewGame();
    Sounds();
    for (int frame = 1; frame <= 118; ++frame) Frame();
    EXPECT_EQ(game->m_bStageBanner, 1);
    EXPECT_EQ(game->s_nBannerOffset, -1);
    EXPECT_TRUE(Sounds().empty());
    Frame();
    EXPECT_EQ(game->m_bStageBanner, 0);
    EXPECT_EQ(game->s_nBannerOffset, -355);
    EXPECT_EQ(Sounds(), std::vector<int>{4});
}

TEST_F(TickTest, IntroShowsOnlyItsPictureUntilSpace) {
    game->NewGame();
    game->m_bIntro = 1;
    Frame();
    EXPECT_EQ(ShownPixel(400, 300), SlotPixel(88));
    EXPECT_EQ(game->s_nBannerOffset, -355);
    backend.Press(DIK_SPACE);
    Frame();
    EXPECT_EQ(game->m_bIntro, 0);
    EXPECT_EQ(game->s_nBannerOffset, -355);  // the banner starts on the next frame
    backend.Press(DIK_SPACE, false);
    Frame();
    EXPECT_EQ(game->s_nBannerOffset, -352);
}

TEST_F(TickTest, EscapeEndsTheTickWithoutPresenting) {
    game->NewGame();
    game->m_bIntro = 1;
    backend.Press(DIK_ESCAPE);
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(backend.presents, 0);
    game->m_bIntro = 0;
    game->m_bGameOver = 1;
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(backend.presents, 0);
}

TEST_F(TickTest, BackgroundScrollsAgainstThePaddle) {
    StartPlaying();
    backend.Press(DIK_ESCAPE);  // keeps the composed frame in the back buffer
    Frame();
    EXPECT_EQ(BackPixel(5, 450), 72 - 362 / 10 + 5 + 1);
    game->m_paddle.x = 0;
    backend.mouse.lX = 0;
    Frame();
    EXPECT_EQ(BackPixel(5, 450), 72 + 5 + 1);
}

TEST_F(TickTest, FieldSlidesDownDuringTheBanner) {
    game->NewGame();
    ClearField();
    Cell(0, 19).sprite = 19;
    Cell(14, 0).sprite = 21;
    Cell(1, 1) = GameObject{};  // never loaded: x 0, not drawn
    Cell(1, 1).sprite = 20;
    game->m_paddle.x = 720;  // background source x 0: its pixel at (0, 0) is 1
    for (int frame = 1; frame < 100; ++frame) Frame();
    backend.Press(DIK_ESCAPE);
    Frame();  // frame 100 draws at -355 + 3 * 99 = -58
    EXPECT_EQ(BackPixel(100, 340 - 58), SlotPixel(19));
    EXPECT_EQ(BackPixel(139, 340 - 58 + 14), SlotPixel(19));
    EXPECT_NE(BackPixel(100, 340), SlotPixel(19));
    backend.Press(DIK_ESCAPE, false);
    for (int frame = 101; frame <= 119; ++frame) Frame();
    backend.Press(DIK_ESCAPE);
    Frame();
    EXPECT_EQ(BackPixel(100, 340), SlotPixel(19));
    EXPECT_EQ(BackPixel(699, 55), SlotPixel(21));
    EXPECT_EQ(BackPixel(0, 0), 1);
}

TEST_F(TickTest, MiniMapMarksBlocksAndBalls) {
    StartPlaying();
    ClearField();
    game->m_bMiniMap = 1;
    Cell(0, 3).sprite = 22;
    Cell(2, 5).sprite = 24;
    Cell(14, 19).sprite = 18;
    backend.Press(DIK_ESCAPE);
    Frame();
    const uint16_t red = 0xF800, green = 0x07C0;
    EXPECT_EQ(BackPixel(0, 0), red);
    EXPECT_EQ(BackPixel(159, 119), red);
    EXPECT_EQ(BackPixel(159, 60), red);
    EXPECT_NE(BackPixel(160, 60), red);
    EXPECT_EQ(BackPixel(20, 29), red);
    EXPECT_EQ(BackPixel(27, 31), red);
    EXPECT_EQ(BackPixel(36, 35), red);
    EXPECT_EQ(BackPixel(20 + 8 * 14 + 7, 20 + 3 * 19 + 2), red);
    EXPECT_NE(BackPixel(28, 29), red);  // cell (1, 3) is empty
    EXPECT_EQ(BackPixel(395 / 5, 559 / 5), green);
    EXPECT_EQ(BackPixel(395 / 5 + 1, 559 / 5 + 1), green);
}

// Glyph slot of a capital letter.
uint16_t Glyph(char c) {
    return SlotPixel(36 + (c - 'A'));
}

TEST_F(TickTest, BannerAndGameOverTextsAreCentred) {
    game->NewGame();
    backend.Press(DIK_ESCAPE);
    Frame();
    EXPECT_EQ(BackPixel(320, 292), Glyph('G'));
    EXPECT_EQ(BackPixel(320 + 9 * 16 + 15, 292 + 14), Glyph('T'));
    EXPECT_NE(BackPixel(319, 292), Glyph('G'));

    game->NextStage();
    Frame();
    EXPECT_EQ(BackPixel(336, 292), Glyph('L'));
    EXPECT_EQ(BackPixel(336 + 7 * 16, 292), Glyph('P'));

    game->m_bStageBanner = 0;
    game->m_bGameOver = 1;
    Frame();
    EXPECT_EQ(BackPixel(328, 282), Glyph('G'));
    EXPECT_EQ(BackPixel(328 + 8 * 16, 282), Glyph('R'));
    EXPECT_EQ(BackPixel(224, 302), Glyph('P'));
    EXPECT_EQ(BackPixel(224 + 21 * 16 + 15, 302 + 14), Glyph('T'));
}

TEST_F(TickTest, ClearingTheStageStartsTheNext) {
    StartPlaying();
    ClearField();
    Cell(5, 5).sprite = 22;
    Frame();
    EXPECT_EQ(game->m_nStage, 2);
    EXPECT_EQ(game->m_bStageBanner, 1);
    EXPECT_EQ(Cell(5, 5).sprite, 19);
}

TEST_F(TickTest, LostBallCostsALifeOnTheNextFrame) {
    StartPlaying();
    Fly(0, 100, 593, 0, 7);
    Frame();
    EXPECT_EQ(game->m_balls[0].inPlay, 0);
    EXPECT_EQ(game->m_nBalls, 0);
    EXPECT_EQ(game->m_balls[0].trailY[0], 600);  // still drawn in the frame it left
    EXPECT_TRUE(Sounds().empty());
    Frame();
    EXPECT_EQ(game->m_nLives, 4);
    EXPECT_EQ(game->m_nBalls, 1);
    EXPECT_EQ(game->m_balls[0].inPlay, 1);
    EXPECT_EQ(game->m_balls[0].launched, 0);
    EXPECT_EQ(game->m_bGameOver, 0);
    EXPECT_EQ(Sounds(), std::vector<int>{6});
}

TEST_F(TickTest, LastLifeEndsTheGameAndSpaceStartsAnother) {
    StartPlaying();
    game->m_nLives = 1;
    game->m_nBalls = 0;
    game->m_balls[0].inPlay = 0;
    game->m_nScore = 70;
    Frame();
    EXPECT_EQ(game->m_nLives, 0);
    EXPECT_EQ(game->m_bGameOver, 1);
    EXPECT_EQ(Sounds(), std::vector<int>{6});

    backend.mouse.lX = 200;
    backend.Button(true);
    Frame();  // nothing moves on the game-over screen
    EXPECT_EQ(game->m_paddle.x, 362);
    EXPECT_EQ(game->m_balls[0].y, 559);
    EXPECT_EQ(game->m_nScore, 70);

    backend.Press(DIK_SPACE);
    Frame();
    EXPECT_EQ(game->m_bGameOver, 0);
    EXPECT_EQ(game->m_nLives, 5);
    EXPECT_EQ(game->m_nScore, 0);
    EXPECT_EQ(game->m_bStageBanner, 1);
    EXPECT_EQ(game->m_nStage, 1);
}

TEST_F(TickTest, SpaceInTheFrameOfTheLastLossRestartsAtOnce) {
    StartPlaying();
    game->m_nLives = 1;
    game->m_nBalls = 0;
    backend.Press(DIK_SPACE);
    Frame();
    EXPECT_EQ(game->m_bGameOver, 0);
    EXPECT_EQ(game->m_nLives, 5);
}

TEST_F(TickTest, ShutdownReleasesTheServices) {
    backend.Press(DIK_SPACE);
    EXPECT_EQ(game->m_keyboard.IsKeyDown(DIK_SPACE), 1);
    EXPECT_EQ(game->Shutdown(), 1);
    EXPECT_EQ(game->m_display.SlotCount(), 0);
    EXPECT_EQ(game->m_display.GetSlotWidth(10), 0);
    EXPECT_EQ(game->m_keyboard.IsKeyDown(DIK_SPACE), 0);
}

}  // namespace
