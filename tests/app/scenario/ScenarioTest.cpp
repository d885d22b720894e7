// Whole games run headless from input scripts, checked frame by frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/Harness.h"

namespace {

// One plain block in the top-left cell, away from every path the scripts below take.
StageCodes LoneBlock(int32_t code) {
    StageCodes codes = EmptyStage();
    codes[0] = code;
    return codes;
}

bool Played(const GameSnapshot& s, uint32_t frame, int effect) {
    return std::any_of(s.sounds.begin(), s.sounds.end(),
                       [&](const plat::PlayedSound& p) { return p.frame == frame && p.effect == effect; });
}

struct ScriptedRun {
    HarnessResult result;
    // The record after frame f (frames count from 1).
    const GameSnapshot& After(uint32_t f) const { return result.perFrame.at(f - 1); }
};

ScriptedRun Play(const TempDataDir& data, uint32_t frames, const std::string& script,
                 bool everyFrame = true) {
    HarnessOptions options;
    options.script = "# plinkwell input 1\n" + script;
    options.keepFrames = everyFrame;
    ScriptedRun run{
        RunHeadless({"--data", data.Path().string(), "--frames", std::to_string(frames)}, options)};
    EXPECT_TRUE(run.result.ran) << run.result.err;
    EXPECT_EQ(run.result.frames, frames);
    return run;
}

TEST(Scenario, IntroBannerAndLaunch) {
    TempDataDir data({LoneBlock(0)});
    const ScriptedRun run = Play(data, 122, "1 key SPACE down\n2 key SPACE up\n121 button down\n");
    ASSERT_EQ(run.result.perFrame.size(), 122u);

    EXPECT_EQ(run.After(1).m_bIntro, 0);
    EXPECT_EQ(run.After(1).s_nBannerOffset, -355);  // the intro frame does not move the banner
    EXPECT_EQ(run.After(2).s_nBannerOffset, -352);
    EXPECT_EQ(run.After(119).m_bStageBanner, 1);
    EXPECT_EQ(run.After(120).m_bStageBanner, 0);
    EXPECT_TRUE(Played(run.After(120), 120, 4));
    EXPECT_FALSE(Played(run.After(119), 119, 4));

    const Ball& resting = run.After(120).m_balls[0];
    EXPECT_EQ(resting.x, 395);
    EXPECT_EQ(resting.y, 559);
    const Ball& launched = run.After(121).m_balls[0];
    EXPECT_EQ(launched.x, 395);
    EXPECT_EQ(launched.y, 566);
    EXPECT_EQ(launched.dx, 1);
    EXPECT_EQ(launched.dy, -7);
    EXPECT_EQ(launched.glueToggle, 1);
    EXPECT_TRUE(Played(run.After(121), 121, 0));
    EXPECT_EQ(run.After(122).m_balls[0].x, 396);
    EXPECT_EQ(run.After(122).m_balls[0].y, 559);
    EXPECT_EQ(run.After(122).m_paddle.sprite, 2);
}

// Launched at frame 121 from the centred paddle: up at (+1, -7) per frame to the top at frame 201
// (y 6 becomes 11), then down at +7; with the paddle pulled to the left edge the ball reaches
// y 606 at frame 286, and the life goes at frame 287.
TEST(Scenario, MissedBallCostsALifeTheFrameAfter) {
    TempDataDir data({LoneBlock(5)});
    const ScriptedRun run = Play(
        data, 288, "1 key SPACE down\n2 key SPACE up\n121 button down\n122 button up\n202 mouse -1000\n");
    ASSERT_EQ(run.result.perFrame.size(), 288u);

    EXPECT_EQ(run.After(200).m_balls[0].dy, -7);
    EXPECT_EQ(run.After(201).m_balls[0].y, 11);
    EXPECT_EQ(run.After(201).m_balls[0].dy, 7);
    EXPECT_TRUE(Played(run.After(201), 201, 2));
    EXPECT_EQ(run.After(202).m_paddle.x, 0);

    EXPECT_EQ(run.After(285).m_balls[0].inPlay, 1);
    EXPECT_EQ(run.After(285).m_balls[0].y, 599);
    const GameSnapshot& lost = run.After(286);
    EXPECT_EQ(lost.m_balls[0].inPlay, 0);
    EXPECT_EQ(lost.m_balls[0].y, 606);
    EXPECT_EQ(lost.m_nBalls, 0);
    EXPECT_EQ(lost.m_nLives, 5);
    const GameSnapshot& next = run.After(287);
    EXPECT_EQ(next.m_nLives, 4);
    EXPECT_EQ(next.m_nBalls, 1);
    EXPECT_EQ(next.m_paddle.x, 362);
    EXPECT_EQ(next.m_balls[0].launched, 0);
    EXPECT_TRUE(Played(next, 287, 6));
    EXPECT_EQ(next.m_cells[0], 23);  // the silver block was never touched
    EXPECT_EQ(next.m_nScore, 0);
}

// Left Ctrl + Page Up skips a stage when no banner runs: with two stages the third start wraps back
// to stage 1. The banner ends early in its last frame, so the held keys act in that same frame.
TEST(Scenario, StageSkipWrapsAfterTheLastStage) {
    TempDataDir data({LoneBlock(0), LoneBlock(3)});
    const ScriptedRun run =
        Play(data, 240, "1 key SPACE down\n2 key SPACE up\n121 key LCONTROL down\n121 key PRIOR down\n");
    ASSERT_EQ(run.result.perFrame.size(), 240u);

    EXPECT_EQ(run.After(120).m_nStage, 1);
    EXPECT_EQ(run.After(121).m_nStage, 2);
    EXPECT_EQ(run.After(121).m_bStageBanner, 1);
    EXPECT_EQ(run.After(121).m_cells[0], 21);
    EXPECT_EQ(run.After(121).m_nStageCount, 2);
    EXPECT_EQ(run.After(239).m_nStage, 2);
    EXPECT_EQ(run.After(239).s_nBannerOffset, -1);
    EXPECT_TRUE(Played(run.After(240), 240, 4));
    EXPECT_EQ(run.After(240).m_nStage, 1);
    EXPECT_EQ(run.After(240).m_cells[0], 18);
    EXPECT_EQ(run.After(240).m_bStageBanner, 1);
    EXPECT_EQ(run.After(240).s_nBannerOffset, -355);
}

// The paddle never moves and the button is held: every ball is eventually missed. Once the last
// life is gone nothing moves until Space starts a new game.
TEST(Scenario, GameOverHoldsUntilSpace) {
    TempDataDir data({LoneBlock(5)});
    const ScriptedRun run =
        Play(data, 1000, "1 key SPACE down\n2 key SPACE up\n121 button down\n999 key SPACE down\n");
    uint32_t over = 0;
    for (uint32_t f = 1; f <= 998 && over == 0; ++f) {
        if (run.After(f).m_bGameOver == 1) over = f;
    }
    ASSERT_GT(over, 0u) << "the game never ended";
    EXPECT_EQ(run.After(over).m_nLives, 0);
    EXPECT_TRUE(Played(run.After(over), over, 6));
    EXPECT_EQ(run.After(over - 1).m_nLives, 1);
    for (uint32_t f = over + 1; f <= 998; ++f) {
        EXPECT_EQ(run.After(f).m_balls[0].x, run.After(over).m_balls[0].x) << f;
        EXPECT_EQ(run.After(f).m_balls[0].y, run.After(over).m_balls[0].y) << f;
        EXPECT_EQ(run.After(f).rng, run.After(over).rng) << f;
    }
    EXPECT_EQ(run.After(999).m_bGameOver, 0);
    EXPECT_EQ(run.After(999).m_nLives, 5);
    EXPECT_EQ(run.After(999).m_bStageBanner, 1);
    EXPECT_EQ(run.After(999).m_nStage, 1);
    EXPECT_EQ(run.After(1000).s_nBannerOffset, -352);
}

// Same input, same game: two runs of one script end in the same record, generator included.
TEST(Scenario, SameInputSameGame) {
    TempDataDir data({LoneBlock(0), LoneBlock(4)});
    const std::string script =
        "1 key SPACE down\n2 key SPACE up\n121 button down\n150 mouse 37\n190 mouse -90\n260 mouse 200\n"
        "300 key 3 down\n";
    const ScriptedRun first = Play(data, 500, script, false);
    const ScriptedRun second = Play(data, 500, script, false);
    std::string a, b;
    AppendJson(first.result.finalState, &a);
    AppendJson(second.result.finalState, &b);
    EXPECT_EQ(a, b);
}

}  // namespace
