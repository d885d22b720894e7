// Soak: long generated games with the record checked after every frame, the script generator, and
// the checker itself on records broken one rule at a time. PLINKWELL_SOAK_SEEDS (seeds separated by
// spaces or commas) and PLINKWELL_SOAK_FRAMES (frames per seed) make the run as long as wanted;
// scripts/soak.sh sets them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/reliability/Soak.h"
#include "input/DIK.h"
#include "platform/automation/InputScript.h"
#include "support/FakeBackend.h"
#include "support/Files.h"

namespace {

using namespace reliability;

std::vector<uint32_t> SeedsFromEnvironment() {
    const char* text = std::getenv("PLINKWELL_SOAK_SEEDS");
    std::string list = text ? text : "1 2";
    for (char& c : list) {
        if (c == ',') c = ' ';
    }
    std::istringstream in(list);
    std::vector<uint32_t> seeds;
    for (uint32_t seed; in >> seed;) seeds.push_back(seed);
    return seeds;
}

uint32_t FramesFromEnvironment() {
    const char* text = std::getenv("PLINKWELL_SOAK_FRAMES");
    return text ? static_cast<uint32_t>(std::strtoul(text, nullptr, 10)) : 2500;
}

std::vector<plat::InputEvent> Parse(const std::string& script) {
    const plat::Result<std::vector<plat::InputEvent>> events = plat::ParseInputScript(script, "soak script");
    EXPECT_TRUE(events.Ok()) << events.Error();
    return events.Ok() ? *events : std::vector<plat::InputEvent>{};
}

}  // namespace

TEST(Soak, EveryFrameOfLongGeneratedGamesKeepsTheRecordWhole) {
    const uint32_t frames = FramesFromEnvironment();
    const std::vector<uint32_t> seeds = SeedsFromEnvironment();
    ASSERT_FALSE(seeds.empty());
    uint64_t total = 0;
    for (uint32_t seed : seeds) {
        std::cout << "soak seed " << seed << ": " << frames << " frames" << std::endl;
        const SoakReport r = RunSoak(seed, frames, BuildDataDir());
        total += r.frames;
        std::cout << "  frames " << r.frames << ", games over " << r.gamesOver << ", banners " << r.banners
                  << ", frames with 64 balls " << r.framesWith64Balls << ", rockets " << r.rocketsLaunched
                  << ", frames at an edge " << r.framesPaddleAtAnEdge << ", most lives " << int{r.mostLives}
                  << ", highest stage " << r.highestStage << ", highest score " << r.highestScore
                  << std::endl;
        EXPECT_EQ(r.exitCode, 0) << "seed " << seed;
        EXPECT_EQ(r.failedFrame, 0u) << "seed " << seed << ", frame " << r.failedFrame << ": " << r.failure;
        EXPECT_EQ(r.frames, frames) << "seed " << seed;
    }
    std::cout << "soak total: " << total << " frames, " << seeds.size() << " seeds" << std::endl;
}

TEST(SoakScript, PressesEveryKeyButEscapeAndDrivesMouseAndButton) {
    const std::vector<plat::InputEvent> events = Parse(MakeSoakScript(7, 30000));
    std::set<int> pressed;
    bool buttonDown = false, buttonUp = false, farRight = false, farLeft = false;
    for (const plat::InputEvent& e : events) {
        if (e.kind == plat::InputEvent::Kind::Key && e.down) pressed.insert(e.code);
        if (e.kind == plat::InputEvent::Kind::Button) (e.down ? buttonDown : buttonUp) = true;
        if (e.kind == plat::InputEvent::Kind::Mouse) {
            farRight |= e.dx > 797;
            farLeft |= e.dx < -797;
        }
        EXPECT_LE(e.frame, 30000u);
    }
    const std::set<int> expected = {DIK_SPACE, DIK_1, DIK_2, DIK_3, DIK_4, DIK_5,     DIK_6,
                                    DIK_7,     DIK_8, DIK_9, DIK_0, DIK_T, DIK_M,     DIK_P,
                                    DIK_B,     DIK_S, DIK_R, DIK_I, DIK_A, DIK_PRIOR, DIK_LCONTROL};
    EXPECT_EQ(pressed, expected);  // Escape never: the run must last its whole budget
    EXPECT_TRUE(buttonDown && buttonUp);
    EXPECT_TRUE(farRight && farLeft);
}

TEST(SoakScript, TheSameSeedGivesTheSameScriptAndAnotherSeedAnother) {
    EXPECT_EQ(MakeSoakScript(3, 2000), MakeSoakScript(3, 2000));
    EXPECT_NE(MakeSoakScript(3, 2000), MakeSoakScript(4, 2000));
}

TEST(SoakScript, EveryKeyPressedIsReleasedAgainBeforeLongAfter) {
    const std::vector<plat::InputEvent> events = Parse(MakeSoakScript(11, 20000));
    std::vector<uint32_t> downSince(256, 0);
    for (const plat::InputEvent& e : events) {
        if (e.kind != plat::InputEvent::Kind::Key) continue;
        if (e.down) {
            EXPECT_EQ(downSince[e.code], 0u) << "key " << int{e.code} << " pressed twice at " << e.frame;
            downSince[e.code] = e.frame;
        } else {
            ASSERT_NE(downSince[e.code], 0u);
            EXPECT_LE(e.frame - downSince[e.code], 60u);
            downSince[e.code] = 0;
        }
    }
}

// The checker on a sound record, then on copies of it broken one rule at a time.
class RecordCheck : public ::testing::Test {
protected:
    void SetUp() override {
        game = std::make_unique<CGame>();
        CDisplay& d = game->m_display;
        d.CreateDirectDraw();
        d.Init(1, kScreenWidth, kScreenHeight, kScreenBpp);
        d.AllocSlots(kSpriteSlots);
        d.CreateSlot(0, 76, 10);
        d.CreateSlot(78, 136, 10);
        game->NewGame();  // no stage file here: the field is laid out below
        for (int k = 0; k < kCells; ++k) {
            game->m_cells[k] = GameObject{};
            game->m_cells[k].x = CellLeft(k % kColumns);
            game->m_cells[k].y = CellTop(k / kColumns);
            game->m_cells[k].sprite = static_cast<int8_t>(k % 3 == 0 ? -1 : 18 + k % 7);
        }
    }

    void ExpectBroken(const std::string& rule, bool paddleMoved = true) {
        EXPECT_NE(CheckRecord(*game, paddleMoved).find(rule), std::string::npos)
            << "got: " << CheckRecord(*game, paddleMoved);
    }

    FakeBackend backend;
    std::unique_ptr<CGame> game;
};

TEST_F(RecordCheck, AFreshGameHoldsTogether) {
    EXPECT_EQ(CheckRecord(*game, true), "");
    game->m_paddle.x = game->m_paddle.trailX[0] = 721;  // the right stop of the 76-pixel paddle
    EXPECT_EQ(CheckRecord(*game, true), "");
    game->m_bWidePaddle = 1;
    game->m_paddle.x = 691;  // bought this frame: 30 to the left of where the step left it
    EXPECT_EQ(CheckRecord(*game, true), "");
}

TEST_F(RecordCheck, ABallCountThatDisagreesWithTheSlotsInPlay) {
    game->m_balls[5].inPlay = 1;
    ExpectBroken("game.m_nBalls == inPlay");
    game->m_nBalls = 2;
    EXPECT_EQ(CheckRecord(*game, true), "");
    game->m_balls[6].inPlay = 2;
    ExpectBroken("IsFlag(b.inPlay)");
    game->m_balls[6].inPlay = 0;
    for (Ball& b : game->m_balls) b.inPlay = 0;
    game->m_nBalls = -1;
    ExpectBroken("game.m_nBalls == inPlay");
}

TEST_F(RecordCheck, ACellOutsideTheBlockKindsOrOutOfPlace) {
    game->m_cells[17].sprite = 25;
    ExpectBroken("cell.sprite == -1");
    game->m_cells[17].sprite = 0;  // a cell no stage was loaded into
    ExpectBroken("cell.sprite == -1");
    game->m_cells[17].sprite = 24;
    game->m_cells[17].x += 1;
    ExpectBroken("cell.x == CellLeft");
}

TEST_F(RecordCheck, APaddlePastItsStops) {
    game->m_paddle.x = game->m_paddle.trailX[0] = 722;
    ExpectBroken("p.trailX[0] <= kPaddleLimit - w");
    EXPECT_EQ(CheckRecord(*game, false), "");  // not this frame's step: not judged
    game->m_paddle.x = game->m_paddle.trailX[0] = -1;
    ExpectBroken("p.trailX[0] >= 0");
    game->m_nPaddleFrame = 78;
    game->m_paddle.x = game->m_paddle.trailX[0] = 662;
    ExpectBroken("p.trailX[0] <= kPaddleLimit - w");
    game->m_paddle.x = game->m_paddle.trailX[0] = 661;
    game->m_paddle.x -= 30;  // without a wide paddle bought, nothing moves it after the step
    ExpectBroken("p.x == p.trailX[0]");
}

TEST_F(RecordCheck, LivesScoreAndCountersOutOfTheirFields) {
    game->m_nLives = 0;
    ExpectBroken("game.m_nLives > 0 || game.m_bGameOver == 1");
    game->m_bGameOver = 1;
    EXPECT_EQ(CheckRecord(*game, false), "");
    game->m_nLives = -128;  // one life past 127, wrapped
    ExpectBroken("game.m_nLives >= 0");
    game->m_nLives = 3;
    game->m_nScore = -10;
    ExpectBroken("game.m_nScore >= 0");
    game->m_nScore = 0;
    game->m_nItemKeyDelay = -2;
    ExpectBroken("game.m_nItemKeyDelay >= -1");
    game->m_nItemKeyDelay = 0;
    game->s_nBannerOffset = -354;
    ExpectBroken("s_nBannerOffset + 355) % 3");
    game->s_nBannerOffset = -1;
    game->m_bGlueMode = 2;
    ExpectBroken("m_bGlueMode is not 0 or 1");
}

TEST_F(RecordCheck, ParticlesAndRocketOutOfTheirRanges) {
    game->m_particles.framesLeft = 21;
    ExpectBroken("s.framesLeft <= 20");
    game->m_particles.framesLeft = 20;
    game->m_particles.sprite = 77;
    ExpectBroken("s.sprite == 0");
    game->m_particles.sprite = 76;
    game->m_rocket.sprite = 63;
    ExpectBroken("r.sprite == -1 || r.sprite == 64");
    game->m_rocket.sprite = 64;
    game->m_rocket.dy = -5;
    ExpectBroken("game.m_bRocketMode == 1");  // a rocket in flight without the mode bought
    game->m_bRocketMode = 1;
    EXPECT_EQ(CheckRecord(*game, true), "");
}
