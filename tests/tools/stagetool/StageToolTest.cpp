// The stagetool program: text to Map.dat and back, and the game playing what it makes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "stagetool/StageText.h"
#include "support/Files.h"
#include "support/Json.h"
#include "support/PngCheck.h"

namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int status = -1;
    std::string out, err;
};

ToolRun Tool(const std::string& args) {
    TempDir logs;
    const int s = std::system(("'" + std::string(PLINKWELL_STAGETOOL_BINARY) + "' " + args + " >'" +
                               (logs / "out").string() + "' 2>'" + (logs / "err").string() + "'")
                                  .c_str());
    return {WIFEXITED(s) ? WEXITSTATUS(s) : -1, ReadFileText(logs / "out"), ReadFileText(logs / "err")};
}

std::string Q(const fs::path& p) {
    return "'" + p.string() + "'";
}

const char* const kTwoStages =
    "stage 1: a cup\n"
    "R.............R\n"
    "RG...........GR\n"
    ".RGB$SX#XS$BGR.\n"
    "\n"
    "stage 2\n"
    "SSSSSSSSSSSSSSS\n";

}  // namespace

TEST(StageTool, TextToStageFileAndBackIsARoundTrip) {
    TempDir dir;
    dir.Write("stages.txt", kTwoStages);
    ToolRun run = Tool("build " + Q(dir / "stages.txt") + " " + Q(dir / "Map.dat"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(fs::file_size(dir / "Map.dat"), 12u + 2 * 1200u);

    run = Tool("dump " + Q(dir / "Map.dat"));
    ASSERT_EQ(run.status, 0) << run.err;
    const plat::Result<std::vector<stagetool::Stage>> stages =
        stagetool::ParseStages(kTwoStages, "two stages");
    ASSERT_TRUE(stages.Ok()) << stages.Error();
    EXPECT_EQ(run.out, stagetool::FormatStages(*stages));

    dir.Write("again.txt", run.out);
    ASSERT_EQ(Tool("build " + Q(dir / "again.txt") + " " + Q(dir / "again.dat")).status, 0);
    EXPECT_EQ(ReadBinary((dir / "again.dat").string()), ReadBinary((dir / "Map.dat").string()));
}

TEST(StageTool, TheGamesOwnStagesSurviveTheRoundTrip) {
    TempDir dir;
    const ToolRun dump = Tool("dump " + Q(BuildDataDir() / "Map.dat"));
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_EQ(dump.err, "");
    dir.Write("stages.txt", dump.out);
    ASSERT_EQ(Tool("build " + Q(dir / "stages.txt") + " " + Q(dir / "Map.dat")).status, 0);
    EXPECT_EQ(ReadBinary((dir / "Map.dat").string()), ReadBinary((BuildDataDir() / "Map.dat").string()));
}

TEST(StageTool, TheGamePlaysTheStagesItMakes) {
    TempDataDir data({});
    data.Write("stages.txt", kTwoStages);
    ASSERT_EQ(Tool("build " + Q(data / "stages.txt") + " " + Q(data / "Map.dat")).status, 0);
    const fs::path state = data / "state.json";
    const int status =
        std::system(("'" + std::string(PLINKWELL_GAME_BINARY) + "' --headless --frames 2 --data " +
                     Q(data.Path()) + " --state " + Q(state) + " 2>" + Q(data / "err"))
                        .c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFileText(data / "err");
    EXPECT_EQ(ReadFileText(data / "err"), "");
    const Json record = ParseJson(ReadFileText(state));
    EXPECT_EQ(record["m_nStageCount"].get<int64_t>(), 2);
    const auto cell = [&record](int i) { return record["cells"][i].get<int64_t>(); };
    EXPECT_EQ(cell(0), 19);   // R
    EXPECT_EQ(cell(1), -1);   // .
    EXPECT_EQ(cell(16), 20);  // G
    const int8_t row2[15] = {-1, 19, 20, 21, 22, 23, 24, 18, 24, 23, 22, 21, 20, 19, -1};
    for (int c = 0; c < 15; ++c) EXPECT_EQ(cell(30 + c), row2[c]) << c;
    EXPECT_EQ(cell(45), -1);
}

TEST(StageTool, BadTextOrArgumentsAreRefused) {
    TempDir dir;
    dir.Write("bad.txt", "stage 1\nRRRRRRRRRRRRRRR\nRRRRRRRRRRRRRRRR\n");
    ToolRun run = Tool("build " + Q(dir / "bad.txt") + " " + Q(dir / "Map.dat"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "stagetool: " + (dir / "bad.txt").string() + ":3: 16 characters; a row has 15\n");
    EXPECT_FALSE(fs::exists(dir / "Map.dat"));
    run = Tool("dump " + Q(dir / "missing.dat"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "stagetool: cannot read " + (dir / "missing.dat").string() + "\n");
    EXPECT_EQ(Tool("build only-one-file").status, 2);
    EXPECT_EQ(Tool("").status, 2);
}

TEST(StageTool, AStageWithNothingToBreakIsWarnedAbout) {
    TempDir dir;
    dir.Write("gold.txt", "$$$$$$$$$$$$$$$\n\nRRRRRRRRRRRRRRR\n");
    const ToolRun run = Tool("build " + Q(dir / "gold.txt") + " " + Q(dir / "Map.dat"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "stagetool: warning: stage 1 has nothing to break; the game skips it at once\n");
}
