// `cmake --install` to a temporary prefix, then the installed game started the way a player
// starts it: from some other directory, with no option.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "stagetool/StageText.h"
#include "support/Files.h"
#include "support/Json.h"
#include "support/PngCheck.h"

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct GameRun {
    int status = -1;
    std::string err;
    Json state;
};

class Installed : public ::testing::Test {
protected:
    // With PLINKWELL_TARBALL naming the release's Linux tarball (.ci/run), that is unpacked and put
    // in place by its own Makefile under a DESTDIR; otherwise the build is installed to a prefix.
    void SetUp() override {
        if (const char* tarball = std::getenv("PLINKWELL_TARBALL")) {
            const TempDir unpacked;
            ASSERT_EQ(Shell("tar -xzf " + Quoted(tarball) + " --strip-components=1 -C " +
                            Quoted(unpacked.Path()) + " && make -s -C " + Quoted(unpacked.Path()) +
                            " install PREFIX=/opt/plinkwell DESTDIR=" + Quoted(m_stage.Path())),
                      0);
            m_prefix = m_stage / "opt/plinkwell";
            return;
        }
        m_prefix = m_stage.Path();
        ASSERT_EQ(Shell(std::string("'") + PLINKWELL_CMAKE_COMMAND + "' --install '" + PLINKWELL_BUILD_DIR +
                        "' --prefix " + Quoted(m_prefix) + " >/dev/null"),
                  0);
    }

    fs::path Prefix() const { return m_prefix; }
    fs::path Data() const { return m_prefix / "share/plinkwell"; }

    // Runs the installed binary headless in dir; the state file goes to a directory of its own.
    GameRun Play(const fs::path& dir, const std::string& options, const fs::path& binary = {}) const {
        TempDir out;
        const fs::path game = binary.empty() ? m_prefix / "bin/plinkwell" : binary;
        GameRun run;
        run.status = Shell("cd " + Quoted(dir) + " && " + Quoted(game) + " --headless --frames 50 --state " +
                           Quoted(out / "state.json") + " " + options + " 2>" + Quoted(out / "err.txt"));
        run.err = ReadFileText(out / "err.txt");
        if (fs::exists(out / "state.json")) {
            std::string json = ReadFileText(out / "state.json");
            if (!json.empty() && json.back() == '\n') json.pop_back();
            run.state = ParseJson(json);
        }
        return run;
    }

    // A directory holding copies of the installed pictures and sounds.
    static void CopyArt(const fs::path& from, const fs::path& to) {
        fs::copy(from / "sprite", to / "sprite", fs::copy_options::recursive);
        fs::copy(from / "sound", to / "sound", fs::copy_options::recursive);
    }

private:
    TempDir m_stage;
    fs::path m_prefix;
};

// One stage with a block of every kind in the top row, the rest empty.
std::string OwnStages() {
    StageCodes stage = EmptyStage();
    for (int k = 0; k < 7; ++k) stage[k] = k;
    return MakeMapDat({stage});
}

void ExpectOwnStages(const GameRun& run) {
    ASSERT_TRUE(run.state.is_object()) << run.err;
    EXPECT_EQ(run.state["m_nStageCount"].get<int64_t>(), 1);
    for (int k = 0; k < 7; ++k) EXPECT_EQ(run.state["cells"][k].get<int64_t>(), 18 + k) << k;
    EXPECT_EQ(run.state["cells"][7].get<int64_t>(), -1);
}

}  // namespace

TEST_F(Installed, EverythingIsWhereAPackagerLooksForIt) {
    EXPECT_TRUE(fs::status(Prefix() / "bin/plinkwell").permissions() != fs::perms::none);
    EXPECT_NE(fs::status(Prefix() / "bin/plinkwell").permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_TRUE(fs::is_regular_file(Data() / "Map.dat"));
    for (const char* dir : {"sprite", "sound"}) {
        for (const auto& entry : fs::directory_iterator(BuildDataDir() / dir)) {
            const fs::path installed = Data() / dir / entry.path().filename();
            EXPECT_EQ(ReadBinary(installed.string()), ReadBinary(entry.path().string())) << installed;
        }
    }
    EXPECT_TRUE(fs::is_regular_file(Prefix() / "share/applications/plinkwell.desktop"));
    EXPECT_TRUE(fs::is_regular_file(Prefix() / "share/man/man6/plinkwell.6"));
    for (int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        DecodedPng png;
        EXPECT_EQ(
            DecodePng(ReadBinary((Prefix() / "share/icons/hicolor" / name / "apps/plinkwell.png").string()),
                      &png),
            "");
        EXPECT_EQ(png.width, uint32_t(size));
        EXPECT_EQ(png.height, uint32_t(size));
    }
}

TEST_F(Installed, StartsFromAnUnrelatedDirectoryWithoutAMessage) {
    TempDir elsewhere;
    const GameRun run = Play(elsewhere.Path(), "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    std::vector<std::string> notes;
    const auto stages = stagetool::DecodeMapDat(ReadBinary((Data() / "Map.dat").string()), &notes);
    ASSERT_TRUE(run.state.is_object());
    EXPECT_EQ(run.state["m_nStageCount"].get<int64_t>(), int64_t(stages.size()));
    EXPECT_TRUE(fs::is_empty(elsewhere.Path()));  // the game writes nothing where it is started
}

TEST_F(Installed, AMovedInstallStillFindsItsData) {
    TempDir moved;
    fs::rename(Prefix() / "bin", moved / "bin");
    fs::rename(Prefix() / "share", moved / "share");
    TempDir elsewhere;
    const GameRun run = Play(elsewhere.Path(), "", moved / "bin/plinkwell");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
}

TEST_F(Installed, ADirectoryWithItsOwnStagesAndArtUsesThem) {
    TempDir mine;
    CopyArt(Data(), mine.Path());
    mine.Write("Map.dat", OwnStages());
    const GameRun run = Play(mine.Path(), "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    ExpectOwnStages(run);
}

TEST_F(Installed, ADirectoryWithOnlyItsOwnPicturesIsStillTheOneRead) {
    TempDir mine;
    fs::copy(Data() / "sprite", mine / "sprite", fs::copy_options::recursive);
    const GameRun run = Play(mine.Path(), "");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("Plinkwell: File open error in Loading Stage"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("sprite/"), std::string::npos) << run.err;  // the pictures were found
}

TEST_F(Installed, TheDataOptionReadsAnyDirectory) {
    TempDir mine, elsewhere;
    CopyArt(Data(), mine.Path());
    mine.Write("Map.dat", OwnStages());
    const GameRun run = Play(elsewhere.Path(), "--data " + Quoted(mine.Path()));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    ExpectOwnStages(run);
}

TEST_F(Installed, TheDesktopEntryValidates) {
    const fs::path entry = Prefix() / "share/applications/plinkwell.desktop";
    const std::string text = ReadFileText(entry);
    EXPECT_NE(text.find("\nExec=plinkwell\n"), std::string::npos);
    EXPECT_NE(text.find("\nIcon=plinkwell\n"), std::string::npos);
    if (Shell("command -v desktop-file-validate >/dev/null") != 0) GTEST_SKIP() << "no desktop-file-validate";
    TempDir out;
    EXPECT_EQ(Shell("desktop-file-validate " + Quoted(entry) + " >" + Quoted(out / "log") + " 2>&1"), 0);
    EXPECT_EQ(ReadFileText(out / "log"), "");
}
