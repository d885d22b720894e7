// A whole game from the intro to game over and a restart, with every item bought at least once and
// every command key used, played from a script and recorded; the recording replays it exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/scenario/ScenarioSupport.h"
#include "support/Json.h"

namespace {

using namespace scenario;

// Two stages: a gold floor in row 19 under a block in the top-left cell (plain, then red), which
// no ball can reach, so neither stage is ever cleared by play.
std::vector<StageCodes> Stages() {
    std::vector<StageCodes> stages;
    for (int32_t keeper : {0, 1}) {
        std::vector<Placed> cells{{0, 0, keeper}};
        for (int column = 0; column < 15; ++column) cells.push_back({column, 19, 4});
        stages.push_back(StageWith(cells));
    }
    return stages;
}

// A life is thrown away by pulling the paddle to the left edge in the frame the button launches
// the resting balls: they fall from the paddle's height at their own dy, untouched.
void Drop(Script& script, uint32_t frame) {
    script.Mouse(frame, -1000).Click(frame);
}

// Commands are 20 frames apart (every action sets the key delay to 20). The score, by hand:
//   banner: 42 Ctrl+S 1000; 62 Ctrl+R new game: 0; 95 Ctrl+S 1000
//   lives 5:  135 wide -100 = 900; 155 branch -200 = 700; 175 glue -300 = 400;
//             195 item 6 refused (400 < 500); 215 Ctrl+S 1400; 235 pierce -400 = 1000;
//             255 full branch -500 = 500; 275 Ctrl+S 1500; 295 rocket -600 = 900; 315 drop
//   lives 4:  380 automatic -700 = 200; 400 Ctrl+I; 420 Ctrl+S 1200; 440 life -800 = 400 (lives 5)
//             460 / 480 Ctrl+A on / off; 500 Ctrl+I; 520 Ctrl+P; 540 Ctrl+B; 560 drop
//   lives 4:  590 Ctrl+S 1400; 610 murk -100 = 1300; 630 item 0 -1000 = 300 (stage 2);
//             750 Ctrl+Page Up (stage 1 again); drops at 870, 890, 910, 930: game over at 936
//   950 Space: a new game.
Script FullGameScript() {
    Script s;
    s.SkipIntro()
        .Ctrl(22, "M")
        .Ctrl(42, "S")
        .Ctrl(62, "R")
        .Tap(82, "9")
        .Ctrl(90, "PRIOR")
        .Ctrl(95, "S")
        .Tap(115, "T")
        .Tap(135, "1")
        .Tap(155, "3")
        .Tap(175, "4")
        .Tap(195, "6")
        .Ctrl(215, "S")
        .Tap(235, "5")
        .Tap(255, "6")
        .Ctrl(275, "S")
        .Tap(295, "7");
    Drop(s, 315);
    s.Tap(380, "8")
        .Ctrl(400, "I")
        .Ctrl(420, "S")
        .Tap(440, "9")
        .Ctrl(460, "A")
        .Ctrl(480, "A")
        .Ctrl(500, "I")
        .Ctrl(520, "P")
        .Ctrl(540, "B")
        .Mouse(550, 1000);
    Drop(s, 560);
    s.Ctrl(590, "S").Tap(610, "2").Tap(630, "0").Ctrl(750, "PRIOR");
    for (uint32_t f : {870u, 890u, 910u, 930u}) Drop(s, f);
    return s.Tap(950, "SPACE");
}

constexpr uint32_t kFrames = 960;

class FullGame : public ::testing::Test {
protected:
    // Plays the script recording it, replays the recording, and plays the script once more.
    void PlayAndReplay() {
        TempDataDir data(Stages());
        run = Play(
            data.Path(), kFrames, FullGameScript(),
            {"--record", Out("demo.txt"), "--trace", Out("played.jsonl"), "--state", Out("played.json")});
        RunHeadless({"--data", data.Path().string(), "--frames", std::to_string(kFrames), "--input",
                     Out("demo.txt"), "--trace", Out("replayed.jsonl"), "--state", Out("replayed.json")});
        RunHeadless({"--data", data.Path().string(), "--frames", std::to_string(kFrames), "--trace",
                     Out("again.jsonl")},
                    {.script = FullGameScript().Text()});
    }
    std::string Out(const std::string& name) const { return (dir / name).string(); }

    // The frames in which effect was played.
    std::vector<uint32_t> FramesOf(int effect) const {
        std::vector<uint32_t> frames;
        for (const plat::PlayedSound& p : run.At(kFrames).sounds) {
            if (p.effect == effect) frames.push_back(p.frame);
        }
        return frames;
    }

    void ExpectPurchase(uint32_t frame, int32_t score, const std::string& message) const {
        scenario::ExpectPurchase(run, frame, score, message);
    }

    // A command key: it acted (the delay is 20 again), silently and for free.
    void ExpectCommand(uint32_t frame, int32_t score) const {
        SCOPED_TRACE(frame);
        EXPECT_EQ(run.At(frame).m_nItemKeyDelay, 20);
        EXPECT_EQ(run.At(frame).m_nScore, score);
        EXPECT_TRUE(SoundsIn(run.At(frame), frame).empty());
    }

public:
    void CommandKeysDuringTheBanner() const;
    void EveryItemIsBoughtWithItsPriceSoundAndMessage() const;
    void AnItemTheScoreCannotPayForIsRefused() const;
    void CommandKeysInPlay() const;
    void EachDropCostsALifeAndEndsTheModes() const;
    void LivesRunOutAndSpaceStartsAgain() const;
    void TheRecordingReplaysTheGameExactly() const;
    void TheSameScriptPlaysTheSameGameAgain() const;

protected:
    TempDir dir;
    GameRun run;
};

// The first frame whose trace lines differ (1-based), or 0 when the traces are the same.
size_t FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] != b[i]) return i + 1;
    }
    return a.size() == b.size() ? 0 : std::min(a.size(), b.size()) + 1;
}

void FullGame::CommandKeysDuringTheBanner() const {
    EXPECT_EQ(run.At(1).m_bIntro, 0);
    EXPECT_EQ(run.At(22).m_bMiniMap, 1);
    ExpectCommand(22, 0);
    ExpectCommand(42, 1000);
    // Left Ctrl + R: a new game under the running banner, which keeps its offset.
    const GameSnapshot& renewed = run.At(62);
    EXPECT_EQ(renewed.m_nScore, 0);
    EXPECT_EQ(renewed.m_bMiniMap, 0);
    EXPECT_EQ(renewed.m_nItemKeyDelay, 20);
    EXPECT_EQ(renewed.m_nStage, 1);
    EXPECT_EQ(renewed.m_bStageBanner, 1);
    EXPECT_EQ(renewed.s_nBannerOffset, -355 + 3 * 61);
    // Key 9 and Left Ctrl + Page Up do nothing during a banner.
    EXPECT_EQ(run.At(82).m_nLives, 5);
    EXPECT_EQ(run.At(82).m_nItemKeyDelay, 0);
    EXPECT_EQ(run.At(90).m_nStage, 1);
    EXPECT_EQ(run.At(90).m_nItemKeyDelay, -1);
    ExpectCommand(95, 1000);
    EXPECT_EQ(run.At(115).m_balls[0].dx, 1);  // T: the resting ball's dx + 1
    EXPECT_EQ(run.At(120).m_bStageBanner, 0);
    EXPECT_EQ(SoundsIn(run.At(120), 120), std::vector<int>{4});
}

void FullGame::EveryItemIsBoughtWithItsPriceSoundAndMessage() const {
    ExpectPurchase(135, 900, "WIDE VANTLER");
    EXPECT_EQ(run.At(135).m_paddle.x, 362 - 30);
    ExpectPurchase(155, 700, "BRANCH BALL");
    EXPECT_EQ(run.At(155).m_nBalls, 2);
    ExpectPurchase(175, 400, "GLUE MODE");
    EXPECT_EQ(run.At(175).m_balls[1].glueToggle, 1);
    ExpectPurchase(235, 1000, "PIERCE MODE");
    ExpectPurchase(255, 500, "FULL BRANCH BALL");
    EXPECT_EQ(run.At(255).m_nBalls, 64);
    ExpectPurchase(295, 900, "PRESS LEFT MOUSE BUTTON TO LAUNCH ROCKET");
    ExpectPurchase(380, 200, "AUTOMATIC VANTLER");
    EXPECT_EQ(run.At(380).m_balls[0].dx, -8);  // the resting ball's (0, 7) sped up to 8 both ways
    EXPECT_EQ(run.At(380).m_balls[0].dy, 8);
    ExpectPurchase(440, 400, "ONE MORE VANTLER");
    EXPECT_EQ(run.At(440).m_nLives, run.At(439).m_nLives + 1);
    ExpectPurchase(610, 1300, "MURK VANTLERS");
    // Item 0 sets no message: the murk paddles' text of frame 610 is still the one shown.
    ExpectPurchase(630, 300, "MURK VANTLERS");
    EXPECT_EQ(run.At(630).m_nStage, 2);
    EXPECT_EQ(run.At(630).m_bStageBanner, 1);
    EXPECT_EQ(run.At(630).m_cells[0], 19);
    EXPECT_EQ(FramesOf(5), (std::vector<uint32_t>{135, 155, 175, 235, 255, 295, 380, 440, 610, 630}));
}

void FullGame::AnItemTheScoreCannotPayForIsRefused() const {
    const GameSnapshot& s = run.At(195);
    EXPECT_EQ(s.m_nScore, 400);
    EXPECT_EQ(s.m_strMessage, "NOT ENOUGH SCORE");
    EXPECT_EQ(s.m_bMessage, 1);
    EXPECT_EQ(s.m_nItemKeyDelay, 20);
    EXPECT_EQ(s.m_nBalls, 2);
    EXPECT_EQ(SoundsIn(s, 195), std::vector<int>{8});
    EXPECT_EQ(FramesOf(8), std::vector<uint32_t>{195});
}

void FullGame::CommandKeysInPlay() const {
    ExpectCommand(215, 1400);
    ExpectCommand(275, 1500);
    // Left Ctrl + I ends the automatic paddle and leaves one ball resting.
    ExpectCommand(400, 200);
    EXPECT_EQ(run.At(399).m_bAutoPaddle, 1);
    EXPECT_EQ(run.At(399).m_balls[0].launched, 1);
    EXPECT_EQ(run.At(400).m_bAutoPaddle, 0);
    EXPECT_EQ(run.At(400).m_balls[0].launched, 0);
    ExpectCommand(420, 1200);
    ExpectCommand(460, 400);
    EXPECT_EQ(run.At(460).m_bAutoPaddle, 1);
    EXPECT_EQ(run.At(461).m_balls[0].launched, 1);  // the automatic paddle launches ball 0
    EXPECT_EQ(run.At(461).m_balls[0].dy, -7);       // at its own speed: Ctrl+A speeds nothing up
    ExpectCommand(480, 400);
    EXPECT_EQ(run.At(480).m_bAutoPaddle, 0);
    ExpectCommand(500, 400);
    EXPECT_EQ(run.At(500).m_balls[0].launched, 0);
    ExpectCommand(520, 400);
    EXPECT_EQ(run.At(520).m_bPierceMode, 1);
    ExpectCommand(540, 400);
    EXPECT_EQ(run.At(540).m_nBalls, 2);
    ExpectCommand(590, 1400);
    // Left Ctrl + Page Up in play: the stage after stage 2 of 2 is stage 1, with its banner.
    ExpectCommand(750, 300);
    EXPECT_EQ(run.At(749).m_bStageBanner, 0);
    EXPECT_EQ(run.At(750).m_nStage, 1);
    EXPECT_EQ(run.At(750).m_bStageBanner, 1);
    EXPECT_EQ(run.At(750).m_cells[0], 18);
}

// The first drop lets 64 glued balls fall with the rocket fired from the wide paddle at the left
// edge (x 0 + (136 - 17) / 2 = 59); the second drop two balls from the paddle at the right edge.
// A lost life ends every mode.
void FullGame::EachDropCostsALifeAndEndsTheModes() const {
    const GameSnapshot& fired = run.At(315);
    EXPECT_EQ(fired.m_paddle.x, 0);
    EXPECT_EQ(fired.m_rocket.sprite, 64);
    EXPECT_EQ(fired.m_rocket.x, 59);
    EXPECT_EQ(SoundsIn(fired, 315), std::vector<int>{7});
    EXPECT_EQ(fired.m_nBalls, 64);
    EXPECT_EQ(run.At(314).m_nLives, 5);
    const GameSnapshot& after = run.At(379);
    EXPECT_EQ(after.m_nLives, 4);
    EXPECT_EQ(after.m_nBalls, 1);
    EXPECT_EQ(after.m_paddle.x, 362);
    EXPECT_EQ(after.m_rocket.sprite, -1);
    EXPECT_EQ(after.m_bWidePaddle + after.m_bGlueMode + after.m_bPierceMode + after.m_bRocketMode, 0);

    EXPECT_EQ(run.At(550).m_paddle.x, 721);
    EXPECT_EQ(run.At(559).m_nLives, 5);
    EXPECT_EQ(run.At(560).m_paddle.x, 0);
    EXPECT_EQ(run.At(589).m_nLives, 4);
    EXPECT_EQ(run.At(589).m_bPierceMode, 0);
    EXPECT_EQ(run.At(589).m_nBalls, 1);
}

// The last four lives: each drop at f sends the ball from (395, 559) down 7 a frame, out at
// y 601 in frame f + 5; the life goes in frame f + 6. The last one ends the game; nothing moves
// until Space starts a new one.
void FullGame::LivesRunOutAndSpaceStartsAgain() const {
    EXPECT_EQ(run.At(869).m_nLives, 4);
    for (uint32_t drop : {870u, 890u, 910u, 930u}) {
        SCOPED_TRACE(drop);
        EXPECT_EQ(run.At(drop).m_balls[0].y, 566);
        EXPECT_EQ(run.At(drop + 4).m_balls[0].y, 594);
        EXPECT_EQ(run.At(drop + 5).m_nBalls, 0);
        EXPECT_EQ(run.At(drop + 6).m_nLives, run.At(drop + 5).m_nLives - 1);
        EXPECT_EQ(SoundsIn(run.At(drop + 6), drop + 6), std::vector<int>{6});
    }
    EXPECT_EQ(run.At(935).m_bGameOver, 0);
    const GameSnapshot& over = run.At(936);
    EXPECT_EQ(over.m_nLives, 0);
    EXPECT_EQ(over.m_bGameOver, 1);
    for (uint32_t f = 937; f < 950; ++f) {
        EXPECT_EQ(run.At(f).m_bGameOver, 1) << f;
        EXPECT_EQ(run.At(f).m_paddle.x, over.m_paddle.x) << f;
        EXPECT_EQ(run.At(f).rng, over.rng) << f;
        EXPECT_EQ(run.At(f).m_nItemKeyDelay, over.m_nItemKeyDelay) << f;
    }
    const GameSnapshot& again = run.At(950);
    EXPECT_EQ(again.m_bGameOver, 0);
    EXPECT_EQ(again.m_nScore, 0);
    EXPECT_EQ(again.m_nLives, 5);
    EXPECT_EQ(again.m_nStage, 1);
    EXPECT_EQ(again.m_bStageBanner, 1);  // the "GAME START" banner
    EXPECT_EQ(run.At(951).s_nBannerOffset, -352);
    EXPECT_EQ(FramesOf(6).size(), 6u);  // two lives from the earlier drops, four here
}

void FullGame::TheRecordingReplaysTheGameExactly() const {
    const std::string demo = ReadFileText(Out("demo.txt"));
    EXPECT_EQ(demo.rfind("# plinkwell input 1\n", 0), 0u);
    const std::vector<std::string> played = ReadLines(Out("played.jsonl"));
    const std::vector<std::string> replayed = ReadLines(Out("replayed.jsonl"));
    EXPECT_EQ(played.size(), kFrames);
    EXPECT_EQ(FirstDifference(played, replayed), 0u);
    const std::string state = ReadFileText(Out("played.json"));
    EXPECT_TRUE(state == ReadFileText(Out("replayed.json"))) << "the final states differ";
    // The state is the last trace line, but with every sound of the game: each line has its own frame's.
    ASSERT_FALSE(played.empty());
    Json whole = ParseJson(state), last = ParseJson(played.back());
    Json traced = Json::array();
    for (const std::string& line : played) {
        const size_t at = line.rfind("\"sounds\":");  // the last key: only its list is read
        ASSERT_NE(at, std::string::npos);
        for (const Json& sound : ParseJson(line.substr(at + 9, line.size() - at - 10)))
            traced.push_back(sound);
    }
    EXPECT_EQ(whole["sounds"], traced);
    whole.erase("sounds");
    last.erase("sounds");
    EXPECT_EQ(whole, last) << "the state is not the last trace line";
}

void FullGame::TheSameScriptPlaysTheSameGameAgain() const {
    const std::vector<std::string> played = ReadLines(Out("played.jsonl"));
    const std::vector<std::string> again = ReadLines(Out("again.jsonl"));
    EXPECT_EQ(FirstDifference(played, again), 0u);
}

// One test, for the game is played once and checked phase by phase (each test runs in a process
// of its own).
TEST_F(FullGame, FromTheIntroToGameOverWithEveryItemAndCommandReplayedExactly) {
    PlayAndReplay();
    ASSERT_EQ(run.result.perFrame.size(), kFrames);
    const struct {
        const char* name;
        void (FullGame::*check)() const;
    } phases[] = {
        {"command keys during the banner", &FullGame::CommandKeysDuringTheBanner},
        {"every item bought", &FullGame::EveryItemIsBoughtWithItsPriceSoundAndMessage},
        {"a refusal", &FullGame::AnItemTheScoreCannotPayForIsRefused},
        {"command keys in play", &FullGame::CommandKeysInPlay},
        {"the first two drops", &FullGame::EachDropCostsALifeAndEndsTheModes},
        {"game over and again", &FullGame::LivesRunOutAndSpaceStartsAgain},
        {"the recording replayed", &FullGame::TheRecordingReplaysTheGameExactly},
        {"the script played again", &FullGame::TheSameScriptPlaysTheSameGameAgain},
    };
    for (const auto& phase : phases) {
        SCOPED_TRACE(phase.name);
        (this->*phase.check)();
    }
}

}  // namespace
