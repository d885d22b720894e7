// Whole runs of `plinkwell --headless` through the harness: pacing, the frame budget, Escape,
// the stage-start banner, the output files, and demo recording and replay.
#include <gtest/gtest.h>

#include "app/Screenshot.h"
#include "platform/headless/HeadlessBackend.h"
#include "support/Harness.h"
#include "support/MiniJson.h"
#include "support/StateKeys.h"

namespace {

constexpr uint32_t kOrigin = plat::kClockOrigin;

const std::string kSpaceAtFrameOne = "# plinkwell input 1\n1 key SPACE down\n2 key SPACE up\n";

}  // namespace

TEST(Headless, EveryPassRunsAFrameUntilTheBudget) {
    const HarnessResult r = RunHeadless({"--frames", "50"}, {.script = "", .keepFrames = true});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_TRUE(r.ran);
    EXPECT_EQ(r.frames, 50u);
    ASSERT_EQ(r.perFrame.size(), 50u);
    for (uint32_t i = 0; i < 50; ++i) {
        EXPECT_EQ(r.perFrame[i].frame, i + 1);
        EXPECT_EQ(r.perFrame[i].m_dwLastFrame, kOrigin + 15 * (i + 1)) << "frame " << i + 1;
    }
    EXPECT_EQ(r.finalState.m_dwLastFrame, kOrigin + 15 * 50);
    EXPECT_EQ(r.presents, 50);
}

TEST(Headless, TheDefaultBudgetIsAThousandFrames) {
    const HarnessResult r = RunHeadless({});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.frames, 1000u);
}

TEST(Headless, EscapeEndsTheRunAtItsFrameWithoutPresentingIt) {
    const HarnessResult r = RunHeadless({"--frames", "100"}, {.script = "7 key ESCAPE down\n"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.frames, 7u);
    EXPECT_EQ(r.presents, 6);
    EXPECT_EQ(r.finalState.m_bIntro, 1);  // Escape works on the intro screen too
}

TEST(Headless, MessageBoxesGoToStandardErrorAndTheGameGoesOn) {
    TempDir empty;  // no stage file, no pictures, no sounds
    const HarnessResult r = RunHeadless({"--frames", "3", "--data", empty.Path().string()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.frames, 3u);
    ASSERT_FALSE(r.messages.empty());
    for (const std::string& m : r.messages) {
        EXPECT_NE(r.err.find("Plinkwell: " + m + "\n"), std::string::npos) << m;
    }
    EXPECT_NE(r.err.find("Plinkwell: File open error in Loading Stage\n"), std::string::npos);
}

TEST(Headless, SpaceAtFrameOneStartsTheBannerWhichEndsWithSoundFourAtFrame120) {
    const HarnessResult r =
        RunHeadless({"--frames", "125"}, {.script = kSpaceAtFrameOne, .keepFrames = true});
    ASSERT_EQ(r.perFrame.size(), 125u);
    EXPECT_EQ(r.perFrame[0].m_bIntro, 0);  // the intro frame that saw Space
    EXPECT_EQ(r.perFrame[0].m_bStageBanner, 1);
    EXPECT_EQ(r.perFrame[0].s_nBannerOffset, -355);  // the banner starts with the next frame
    EXPECT_EQ(r.perFrame[1].s_nBannerOffset, -352);
    EXPECT_EQ(r.perFrame[118].s_nBannerOffset, -1);  // frame 119
    EXPECT_EQ(r.perFrame[118].m_bStageBanner, 1);
    EXPECT_EQ(r.perFrame[119].m_bStageBanner, 0);  // frame 120
    EXPECT_EQ(r.perFrame[119].s_nBannerOffset, -355);
    EXPECT_EQ(r.finalState.m_nStage, 1);
    ASSERT_EQ(r.finalState.sounds.size(), 1u);
    EXPECT_EQ(r.finalState.sounds[0].frame, 120u);
    EXPECT_EQ(r.finalState.sounds[0].effect, 4);
}

TEST(Headless, StateFileHoldsTheFinalRecordWithEveryKey) {
    TempDir dir;
    const HarnessResult r = RunHeadless({"--frames", "130", "--state", (dir / "state.json").string()},
                                        {.script = kSpaceAtFrameOne});
    ASSERT_EQ(r.exitCode, 0);
    const std::string text = ReadFileText(dir / "state.json");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    const JsonValue json = ParseJson(text.substr(0, text.size() - 1));
    for (const std::string& key : kStateTopKeys) {
        EXPECT_TRUE(json.Has(key)) << key;
    }
    EXPECT_EQ(json["frame"].number, 130);
    EXPECT_EQ(json["m_nLives"].number, 5);
    EXPECT_EQ(json["m_dwFrameInterval"].number, 15);
    EXPECT_EQ(json["m_dwLastFrame"].number, kOrigin + 130 * 15);
    EXPECT_EQ(json["m_nStage"].number, 1);
    ASSERT_EQ(json["sounds"].items.size(), 1u);
    EXPECT_EQ(json["sounds"][0][0].number, 120);
    EXPECT_EQ(json["sounds"][0][1].number, 4);
}

TEST(Headless, TraceHasOneLinePerFrameEndingWithTheState) {
    TempDir dir;
    const HarnessResult r = RunHeadless(
        {"--frames", "12", "--trace", (dir / "t.jsonl").string(), "--state", (dir / "s.json").string()});
    ASSERT_EQ(r.exitCode, 0);
    const std::vector<std::string> lines = ReadLines(dir / "t.jsonl");
    ASSERT_EQ(lines.size(), 12u);
    for (size_t i = 0; i < lines.size(); ++i) {
        const JsonValue json = ParseJson(lines[i]);
        EXPECT_EQ(json["frame"].number, static_cast<int64_t>(i + 1));
        EXPECT_EQ(json["m_dwLastFrame"].number, kOrigin + 15 * (i + 1));
    }
    EXPECT_EQ(lines.back() + "\n", ReadFileText(dir / "s.json"));
}

TEST(Headless, ScreenshotIsTheLastPresentedFrameAsBmp) {
    TempDir dir;
    const HarnessResult r = RunHeadless({"--frames", "140", "--screenshot", (dir / "shot.bmp").string()},
                                        {.script = kSpaceAtFrameOne});
    ASSERT_EQ(r.exitCode, 0);
    ASSERT_EQ(r.screen.size(), 800u * 600u);
    const std::string file = ReadFileText(dir / "shot.bmp");
    const std::vector<uint8_t> expected = EncodeBmp24(r.screen.data(), 800, 600);
    ASSERT_EQ(file.size(), expected.size());
    EXPECT_TRUE(std::equal(file.begin(), file.end(), expected.begin(),
                           [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; }));
}

TEST(Headless, AScreenshotWithNothingPresentedIsBlack) {
    TempDir dir;
    const HarnessResult r =
        RunHeadless({"--screenshot", (dir / "shot.bmp").string()}, {.script = "1 key ESCAPE down\n"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.presents, 0);
    const std::string file = ReadFileText(dir / "shot.bmp");
    ASSERT_EQ(file.size(), 54u + 2400u * 600u);
    EXPECT_EQ(file.find_first_not_of('\0', 54), std::string::npos);
}

TEST(Headless, ARecordedGameReplaysExactly) {
    // A played game (the script stands in for the player), recorded, then replayed from the recording.
    const std::string played =
        "1 key SPACE down\n"
        "3 key SPACE up\n"
        "5 mouse 40\n"
        "5 mouse 13\n"
        "60 mouse -200\n"
        "121 button down\n"
        "124 button up\n"
        "130 mouse 77\n"
        "131 key 1 down\n"
        "133 key 1 up\n"
        "140 key LCONTROL down\n"
        "140 key M down\n"
        "142 key LCONTROL up\n"
        "142 key M up\n"
        "150 mouse -31\n"
        "150 button down\n"
        "190 button up\n";
    TempDir dir;
    const HarnessResult first = RunHeadless({"--frames", "240", "--record", (dir / "demo.txt").string(),
                                             "--trace", (dir / "first.jsonl").string()},
                                            {.script = played});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    const std::string demo = ReadFileText(dir / "demo.txt");
    EXPECT_EQ(demo.rfind("# plinkwell input 1\n", 0), 0u);
    EXPECT_NE(demo.find("\n5 mouse 53\n"), std::string::npos) << demo;  // both motions, read together

    const HarnessResult second = RunHeadless({"--frames", "240", "--input", (dir / "demo.txt").string(),
                                              "--trace", (dir / "second.jsonl").string()});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    const std::vector<std::string> a = ReadLines(dir / "first.jsonl");
    const std::vector<std::string> b = ReadLines(dir / "second.jsonl");
    ASSERT_EQ(a.size(), 240u);
    ASSERT_EQ(b.size(), 240u);
    for (size_t i = 0; i < a.size(); ++i) ASSERT_EQ(a[i], b[i]) << "frame " << i + 1;
    // The input did something: the paddle moved.
    EXPECT_NE(first.finalState.paddle.x, 362);
}

TEST(Headless, ATemporaryDataDirectoryServesItsOwnStages) {
    StageCodes first = EmptyStage();
    first[0] = 2;   // green
    first[14] = 4;  // gold
    first[299] = 6;
    StageCodes second = EmptyStage();
    second[7] = 0;
    const TempDataDir data({first, second});
    const HarnessResult r = RunHeadless({"--frames", "2", "--data", data.Path().string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.messages.empty()) << r.err;
    EXPECT_EQ(r.finalState.m_nStageCount, 2);
    EXPECT_EQ(r.finalState.cells[0], 20);
    EXPECT_EQ(r.finalState.cells[14], 22);
    EXPECT_EQ(r.finalState.cells[299], 24);
    EXPECT_EQ(r.finalState.cells[7], -1);
}
