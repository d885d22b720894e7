#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <string>
#include <vector>

#include "ItemsFixture.h"

namespace {

class ItemsTest : public ShopFixture {
protected:
    // The shop open and idle: play, no banner, the delay at rest.
    void Open(int32_t score) {
        game.m_bStageBanner = 0;
        game.m_nItemKeyDelay = -1;
        game.m_nScore = score;
        game.m_nLives = 5;
        game.m_paddle.x = 362;
        game.m_paddle.y = 560;
    }

    // n balls in flight in slots 0 .. n-1.
    void PutBalls(int32_t n) {
        for (int i = 0; i < kMaxBalls; ++i) {
            game.m_balls[i] = Ball{};
            game.m_balls[i].inPlay = i < n ? 1 : 0;
            game.m_balls[i].launched = 1;
            game.m_balls[i].x = 300 + i;
            game.m_balls[i].y = 300;
            game.m_balls[i].dx = 3;
            game.m_balls[i].dy = -5;
        }
        game.m_nBalls = n;
    }

    int32_t BallsInPlay() const {
        int32_t n = 0;
        for (const Ball& b : game.m_balls) n += b.inPlay == 1 ? 1 : 0;
        return n;
    }

    void Hold(int key) { backend.Press(key); }
    // Holds the keys (on top of any already held) and runs one frame of the shop.
    int Press(std::initializer_list<int> keys) {
        for (int key : keys) Hold(key);
        return game.ItemKeys();
    }
    void Let(int key) { backend.Press(key, false); }

    void ExpectRefused(int32_t score) {
        EXPECT_EQ(game.m_nScore, score);
        EXPECT_EQ(game.m_bMessage, 1);
        EXPECT_EQ(game.m_strMessage, "NOT ENOUGH SCORE");
        EXPECT_EQ(Sounds(), std::vector<int>{8});
        EXPECT_EQ(game.m_nItemKeyDelay, 20);
    }

    void ExpectUntouched(int32_t score, int32_t delay) {
        EXPECT_EQ(game.m_nScore, score);
        EXPECT_EQ(game.m_bMessage, 0);
        EXPECT_EQ(game.m_strMessage, "");
        EXPECT_TRUE(Sounds().empty());
        EXPECT_EQ(game.m_nItemKeyDelay, delay);
    }
};

struct Purchase {
    int item;
    int key;
    int32_t price;
    const char* message;
};

const Purchase kPurchases[] = {
    {1, DIK_1, 100, "WIDE VANTLER"},
    {2, DIK_2, 100, "MURK VANTLERS"},
    {3, DIK_3, 200, "BRANCH BALL"},
    {4, DIK_4, 300, "GLUE MODE"},
    {5, DIK_5, 400, "PIERCE MODE"},
    {6, DIK_6, 500, "FULL BRANCH BALL"},
    {7, DIK_7, 600, "PRESS LEFT MOUSE BUTTON TO LAUNCH ROCKET"},
    {8, DIK_8, 700, "AUTOMATIC VANTLER"},
    {9, DIK_9, 800, "ONE MORE VANTLER"},
};

TEST_F(ItemsTest, EachPurchaseTakesItsPriceShowsItsMessageAndPlaysTheItemSound) {
    for (const Purchase& p : kPurchases) {
        SCOPED_TRACE(p.item);
        Open(p.price + 7);
        PutBalls(1);
        game.m_bMessage = 0;
        game.m_strMessage.clear();
        game.m_bWidePaddle = game.m_bMurkPaddles = game.m_bGlueMode = game.m_bPierceMode = 0;
        game.m_bRocketMode = 0;
        game.m_bAutoPaddle = 0;
        EXPECT_EQ(Press({p.key}), 1);
        Let(p.key);
        EXPECT_EQ(game.m_nScore, 7);
        EXPECT_EQ(game.m_bMessage, 1);
        EXPECT_EQ(game.m_strMessage, p.message);
        EXPECT_EQ(Sounds(), std::vector<int>{5});
        EXPECT_EQ(game.m_nItemKeyDelay, 20);
    }
}

TEST_F(ItemsTest, EachItemIsRefusedOnePointShortOfItsPrice) {
    for (const Purchase& p : kPurchases) {
        SCOPED_TRACE(p.item);
        Open(p.price - 1);
        PutBalls(1);
        game.m_nLives = 3;
        Press({p.key});
        Let(p.key);
        ExpectRefused(p.price - 1);
        EXPECT_EQ(game.m_nLives, 3);
        EXPECT_EQ(game.m_nBalls, 1);
        EXPECT_EQ(game.m_paddle.x, 362);
        EXPECT_EQ(game.m_bWidePaddle + game.m_bMurkPaddles + game.m_bGlueMode + game.m_bPierceMode +
                      game.m_bRocketMode + game.m_bAutoPaddle,
                  0);
    }
}

TEST_F(ItemsTest, ItemZeroAtExactlyAThousandStartsTheNextStageWithoutAMessage) {
    Open(1000);
    game.m_nStage = 1;
    game.m_nStageCount = 3;
    Press({DIK_0});
    EXPECT_EQ(game.m_nScore, 0);
    EXPECT_EQ(game.m_bStageBanner, 1);
    EXPECT_EQ(game.m_nStage, 2);
    EXPECT_EQ(game.m_bMessage, 0);
    EXPECT_EQ(game.m_strMessage, "");
    EXPECT_EQ(Sounds(), std::vector<int>{5});
    EXPECT_EQ(game.m_nItemKeyDelay, 20);
}

TEST_F(ItemsTest, ModeItemsSwitchTheirModesOn) {
    Open(2000);
    PutBalls(1);
    Press({DIK_5});
    EXPECT_EQ(game.m_bPierceMode, 1);
    Let(DIK_5);

    Open(2000);
    Press({DIK_7});
    EXPECT_EQ(game.m_bRocketMode, 1);
    Let(DIK_7);

    Open(2000);
    Press({DIK_2});
    EXPECT_EQ(game.m_bMurkPaddles, 1);
    EXPECT_EQ(game.m_paddle.x, 362);
}

TEST_F(ItemsTest, WidePaddleMovesThePaddleThirtyLeftToKeepItsCentre) {
    Open(100);
    Press({DIK_1});
    EXPECT_EQ(game.m_bWidePaddle, 1);
    EXPECT_EQ(game.m_paddle.x, 332);
}

TEST_F(ItemsTest, GlueHoldsRestingBallsWhereTheyAreAndArmsEverySlot) {
    Open(300);
    PutBalls(2);
    game.m_balls[0].launched = 0;  // resting on the paddle at 395
    game.m_balls[0].x = 395;
    game.m_balls[1].glueOffset = 77;  // flying: keeps its offset
    game.m_balls[5].launched = 0;     // a free slot not launched
    game.m_balls[5].x = 400;
    Press({DIK_4});
    EXPECT_EQ(game.m_bGlueMode, 1);
    EXPECT_EQ(game.m_balls[0].glueOffset, 33);
    EXPECT_EQ(game.m_balls[1].glueOffset, 77);
    EXPECT_EQ(game.m_balls[5].glueOffset, 38);
    for (const Ball& b : game.m_balls) EXPECT_EQ(b.glueToggle, 1);
}

TEST_F(ItemsTest, AutomaticPaddleSpeedsEveryBallToEight) {
    Open(700);
    PutBalls(2);
    game.m_balls[1].dx = 0;
    game.m_balls[1].dy = 5;
    Press({DIK_8});
    EXPECT_EQ(game.m_bAutoPaddle, 1);
    EXPECT_EQ(game.m_balls[0].dx, 8);
    EXPECT_EQ(game.m_balls[0].dy, -8);
    EXPECT_EQ(game.m_balls[1].dx, -8);
    EXPECT_EQ(game.m_balls[1].dy, 8);
}

TEST_F(ItemsTest, HigherKeysWinAndTheRestAreNotLookedAt) {
    Open(1000);
    PutBalls(1);
    Press({DIK_7, DIK_3});
    EXPECT_EQ(game.m_bRocketMode, 1);
    EXPECT_EQ(game.m_nScore, 400);
    EXPECT_EQ(game.m_strMessage, "PRESS LEFT MOUSE BUTTON TO LAUNCH ROCKET");
    EXPECT_EQ(game.m_nBalls, 1);
    EXPECT_EQ(BallsInPlay(), 1);
    EXPECT_EQ(Sounds(), std::vector<int>{5});
}

TEST_F(ItemsTest, AnOwnedModeOnlyHoldsTheKeysWhenTheScoreWouldCoverIt) {
    const struct {
        int key;
        int32_t price;
        int32_t CGame::*flag;
    } modes[] = {{DIK_4, 300, &CGame::m_bGlueMode},
                 {DIK_5, 400, &CGame::m_bPierceMode},
                 {DIK_7, 600, &CGame::m_bRocketMode}};
    for (const auto& m : modes) {
        SCOPED_TRACE(m.key);
        Open(m.price);
        game.*m.flag = 1;
        Press({m.key});
        ExpectUntouched(m.price, 20);

        Open(m.price - 1);
        game.ItemKeys();
        Let(m.key);
        ExpectRefused(m.price - 1);
        game.m_bMessage = 0;
        game.m_strMessage.clear();
        game.*m.flag = 0;
    }
}

TEST_F(ItemsTest, ASecondAutomaticPaddleIsTreatedAsOwned) {
    Open(700);
    PutBalls(1);
    Press({DIK_LCONTROL, DIK_A});  // switched on for free, no speed change
    Let(DIK_LCONTROL);
    Let(DIK_A);
    EXPECT_EQ(game.m_bAutoPaddle, 1);
    EXPECT_EQ(game.m_balls[0].dx, 3);
    EXPECT_EQ(game.m_nItemKeyDelay, 20);

    game.m_nItemKeyDelay = -1;
    Press({DIK_8});
    ExpectUntouched(700, 20);
    EXPECT_EQ(game.m_balls[0].dx, 3);
}

TEST_F(ItemsTest, KeyOneWithTheWidePaddleOnLeavesTheFrameToTheCommandKeys) {
    Open(100);
    game.m_bWidePaddle = 1;
    Press({DIK_1});
    ExpectUntouched(100, -1);
    EXPECT_EQ(game.m_paddle.x, 362);

    Press({DIK_LCONTROL, DIK_S});
    EXPECT_EQ(game.m_nScore, 1100);
    EXPECT_EQ(game.m_nItemKeyDelay, 20);
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(ItemsTest, KeyOneWithTheWidePaddleOnIsRefusedBelowAHundred) {
    Open(99);
    game.m_bWidePaddle = 1;
    Press({DIK_1});
    ExpectRefused(99);
}

TEST_F(ItemsTest, KeyTwoBuysMurkPaddlesWhileKeyOneFindsTheWidePaddleOwned) {
    Open(150);
    game.m_bWidePaddle = 1;
    Press({DIK_1, DIK_2});
    EXPECT_EQ(game.m_bMurkPaddles, 1);
    EXPECT_EQ(game.m_nScore, 50);
    EXPECT_EQ(game.m_strMessage, "MURK VANTLERS");
    EXPECT_EQ(game.m_paddle.x, 362);
}

// Key 1 is looked at before key 2: held together they buy the wide paddle, then (the next time
// the keys are read) the murk paddles, then nothing at all while the score would still pay.
TEST_F(ItemsTest, KeysOneAndTwoHeldTogetherBuyTheWidePaddleFirst) {
    Open(250);
    Press({DIK_1, DIK_2});
    EXPECT_EQ(game.m_bWidePaddle, 1);
    EXPECT_EQ(game.m_bMurkPaddles, 0);
    EXPECT_EQ(game.m_nScore, 150);
    EXPECT_EQ(game.m_strMessage, "WIDE VANTLER");
    EXPECT_EQ(game.m_paddle.x, 332);
    EXPECT_EQ(Sounds(), std::vector<int>{5});

    for (int frame = 0; frame < 19; ++frame) game.ItemKeys();
    EXPECT_EQ(game.m_bMurkPaddles, 0);
    game.ItemKeys();  // the 20th frame reads the keys again
    EXPECT_EQ(game.m_bMurkPaddles, 1);
    EXPECT_EQ(game.m_nScore, 50);
    EXPECT_EQ(game.m_strMessage, "MURK VANTLERS");
    EXPECT_EQ(game.m_paddle.x, 332);

    game.m_nScore = 100;
    game.m_nItemKeyDelay = -1;
    game.m_bMessage = 0;
    Sounds();
    game.ItemKeys();
    EXPECT_EQ(game.m_nScore, 100);
    EXPECT_EQ(game.m_bMessage, 0);
    EXPECT_TRUE(Sounds().empty());
    EXPECT_EQ(game.m_nItemKeyDelay, -1);
}

TEST_F(ItemsTest, BranchBallWithMoreThanThirtyTwoBallsIsPaidButSplitsNothing) {
    Open(200);
    PutBalls(33);
    Press({DIK_3});
    EXPECT_EQ(game.m_nScore, 0);
    EXPECT_EQ(game.m_strMessage, "BRANCH BALL");
    EXPECT_EQ(game.m_nBalls, 33);
    EXPECT_EQ(BallsInPlay(), 33);
}

TEST_F(ItemsTest, BranchBallDoublesTheBalls) {
    Open(200);
    PutBalls(3);
    Press({DIK_3});
    EXPECT_EQ(game.m_nBalls, 6);
    EXPECT_EQ(BallsInPlay(), 6);
}

TEST_F(ItemsTest, FullBranchTakesOneBallToSixtyFour) {
    Open(500);
    PutBalls(1);
    Press({DIK_6});
    EXPECT_EQ(game.m_nBalls, 64);
    EXPECT_EQ(BallsInPlay(), 64);
    EXPECT_EQ(game.m_nScore, 0);
}

TEST_F(ItemsTest, FullBranchTakesSeventeenBallsToThirtyFourAndThirtyThreeNowhere) {
    Open(1000);
    PutBalls(17);
    Press({DIK_6});
    EXPECT_EQ(game.m_nBalls, 34);

    Open(500);
    PutBalls(33);
    game.ItemKeys();
    EXPECT_EQ(game.m_nBalls, 33);
    EXPECT_EQ(game.m_nScore, 0);
}

// The frame in which the last ball was lost: nothing can be split, and the purchase still ends.
TEST_F(ItemsTest, FullBranchWithNoBallInPlayEndsAndIsPaid) {
    Open(500);
    PutBalls(0);
    Press({DIK_6});
    EXPECT_EQ(game.m_nBalls, 0);
    EXPECT_EQ(BallsInPlay(), 0);
    EXPECT_EQ(game.m_nScore, 0);
    EXPECT_EQ(game.m_strMessage, "FULL BRANCH BALL");
    EXPECT_EQ(Sounds(), std::vector<int>{5});
}

TEST_F(ItemsTest, AHeldLifeKeyBuysALifeEveryTwentyFrames) {
    Open(2500);
    Hold(DIK_9);
    std::vector<int32_t> lives;
    for (int frame = 1; frame <= 41; ++frame) {
        game.ItemKeys();
        lives.push_back(game.m_nLives);
    }
    EXPECT_EQ(lives[0], 6);
    EXPECT_EQ(lives[19], 6);
    EXPECT_EQ(lives[20], 7);  // frame 21
    EXPECT_EQ(lives[39], 7);
    EXPECT_EQ(lives[40], 8);  // frame 41
    EXPECT_EQ(game.m_nScore, 100);
}

// A full count of lives keeps the player's score: the key only waits, as for an owned mode.
TEST_F(ItemsTest, ALifeAtTheLargestCountIsNotSold) {
    Open(800);
    game.m_nLives = 127;
    Press({DIK_9});
    EXPECT_EQ(game.m_nLives, 127);
    ExpectUntouched(800, 20);

    Open(799);
    game.m_nLives = 127;
    game.ItemKeys();
    ExpectRefused(799);
    EXPECT_EQ(game.m_nLives, 127);

    Open(800);
    game.m_nLives = 126;
    game.ItemKeys();
    EXPECT_EQ(game.m_nLives, 127);
    EXPECT_EQ(game.m_nScore, 0);
}

TEST_F(ItemsTest, TheDelayCountsDownToRestAtMinusOne) {
    Open(1000);
    game.m_nItemKeyDelay = 20;
    std::vector<int32_t> seen;
    for (int i = 0; i < 23; ++i) {
        game.ItemKeys();
        seen.push_back(game.m_nItemKeyDelay);
    }
    EXPECT_EQ(seen[0], 19);
    EXPECT_EQ(seen[18], 1);
    EXPECT_EQ(seen[19], 0);
    EXPECT_EQ(seen[20], -1);
    EXPECT_EQ(seen[22], -1);
}

TEST_F(ItemsTest, KeysAreIgnoredUntilTheDelayHasRunOut) {
    Open(1000);
    game.m_nItemKeyDelay = 2;
    Press({DIK_9});  // 1 left
    EXPECT_EQ(game.m_nLives, 5);
    game.ItemKeys();  // 0: read
    EXPECT_EQ(game.m_nLives, 6);
}

TEST_F(ItemsTest, DuringTheBannerNumberKeysDoNothing) {
    Open(1000);
    game.m_bStageBanner = 1;
    game.m_nItemKeyDelay = 3;
    Press({DIK_9, DIK_1});
    ExpectUntouched(1000, 2);
    game.m_nItemKeyDelay = -1;
    game.ItemKeys();
    ExpectUntouched(1000, -1);
    EXPECT_EQ(game.m_nLives, 5);
}

TEST_F(ItemsTest, DuringTheBannerCtrlSAddsAThousandButCtrlPageUpWaits) {
    Open(50);
    game.m_bStageBanner = 1;
    game.m_nStage = 1;
    game.m_nStageCount = 5;
    Press({DIK_LCONTROL, DIK_PRIOR});
    EXPECT_EQ(game.m_nStage, 1);
    EXPECT_EQ(game.m_nItemKeyDelay, -1);

    Press({DIK_S});
    EXPECT_EQ(game.m_nScore, 1050);
    EXPECT_EQ(game.m_nItemKeyDelay, 20);
    EXPECT_EQ(game.m_nStage, 1);
}

TEST_F(ItemsTest, CommandKeysWaitForTheDelayDuringTheBanner) {
    Open(0);
    game.m_bStageBanner = 1;
    game.m_nItemKeyDelay = 5;
    Press({DIK_LCONTROL, DIK_S});
    EXPECT_EQ(game.m_nScore, 0);
    EXPECT_EQ(game.m_nItemKeyDelay, 4);
}

TEST_F(ItemsTest, CtrlPageUpStartsTheNextStageInPlay) {
    Open(50);
    game.m_nStage = 2;
    game.m_nStageCount = 5;
    Press({DIK_LCONTROL, DIK_PRIOR});
    EXPECT_EQ(game.m_nStage, 3);
    EXPECT_EQ(game.m_bStageBanner, 1);
    EXPECT_EQ(game.m_nScore, 50);
    EXPECT_EQ(game.m_nItemKeyDelay, 20);
}

TEST_F(ItemsTest, TNudgesEveryBallInPlayToTheRight) {
    Open(0);
    PutBalls(2);
    game.m_balls[2].dx = 4;  // a free slot
    Press({DIK_T});
    EXPECT_EQ(game.m_balls[0].dx, 4);
    EXPECT_EQ(game.m_balls[1].dx, 4);
    EXPECT_EQ(game.m_balls[2].dx, 4);
    EXPECT_EQ(game.m_nItemKeyDelay, 20);
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(ItemsTest, CtrlLettersToggleAndSwitchModes) {
    Open(0);
    PutBalls(1);
    Hold(DIK_LCONTROL);
    const auto press = [&](int key) {
        game.m_nItemKeyDelay = -1;
        Press({key});
        Let(key);
        EXPECT_EQ(game.m_nItemKeyDelay, 20);
    };
    press(DIK_M);
    EXPECT_EQ(game.m_bMiniMap, 1);
    press(DIK_M);
    EXPECT_EQ(game.m_bMiniMap, 0);
    press(DIK_P);
    EXPECT_EQ(game.m_bPierceMode, 1);
    press(DIK_A);
    EXPECT_EQ(game.m_bAutoPaddle, 1);
    press(DIK_A);
    EXPECT_EQ(game.m_bAutoPaddle, 0);
    press(DIK_B);
    EXPECT_EQ(game.m_nBalls, 2);
    EXPECT_EQ(game.m_nScore, 0);
    EXPECT_TRUE(Sounds().empty());
    EXPECT_EQ(game.m_bMessage, 0);
}

TEST_F(ItemsTest, LettersWithoutCtrlDoNothing) {
    Open(0);
    Press({DIK_M, DIK_S});
    EXPECT_EQ(game.m_bMiniMap, 0);
    EXPECT_EQ(game.m_nScore, 0);
    EXPECT_EQ(game.m_nItemKeyDelay, -1);
}

TEST_F(ItemsTest, CtrlIEndsTheBallModesButKeepsThePaddle) {
    Open(0);
    PutBalls(3);
    game.m_bWidePaddle = game.m_bMurkPaddles = 1;
    game.m_bGlueMode = game.m_bPierceMode = game.m_bRocketMode = 1;
    game.m_bAutoPaddle = 1;
    Press({DIK_LCONTROL, DIK_I});
    EXPECT_EQ(game.m_nBalls, 1);
    EXPECT_EQ(game.m_bGlueMode + game.m_bPierceMode + game.m_bRocketMode + game.m_bAutoPaddle, 0);
    EXPECT_EQ(game.m_bWidePaddle, 1);
    EXPECT_EQ(game.m_bMurkPaddles, 1);
}

TEST_F(ItemsTest, CtrlRStartsANewGame) {
    Open(5000);
    game.m_nLives = 2;
    game.m_nStage = 4;
    Press({DIK_LCONTROL, DIK_R});
    EXPECT_EQ(game.m_nScore, 0);
    EXPECT_EQ(game.m_nLives, 5);
    EXPECT_EQ(game.m_nStage, 1);
    EXPECT_EQ(game.m_nItemKeyDelay, 20);
}

TEST_F(ItemsTest, OnlyTheFirstCommandKeyActsInAFrame) {
    Open(0);
    PutBalls(1);
    Press({DIK_T, DIK_LCONTROL, DIK_S});
    EXPECT_EQ(game.m_balls[0].dx, 4);
    EXPECT_EQ(game.m_nScore, 0);
}

TEST_F(ItemsTest, NoCommandKeyActsInAFrameTheShopActedIn) {
    Open(800);
    Press({DIK_9, DIK_LCONTROL, DIK_S});
    EXPECT_EQ(game.m_nLives, 6);
    EXPECT_EQ(game.m_nScore, 0);

    Open(10);  // a refusal also takes the frame
    game.ItemKeys();
    EXPECT_EQ(game.m_nScore, 10);
}

TEST_F(ItemsTest, TheScoreCommandStopsAtTheLargestScore) {
    Open(INT32_MAX - 10);
    Press({DIK_LCONTROL, DIK_S});
    EXPECT_EQ(game.m_nScore, INT32_MAX);
    game.m_nItemKeyDelay = -1;
    game.ItemKeys();
    EXPECT_EQ(game.m_nScore, INT32_MAX);
}

}  // namespace
