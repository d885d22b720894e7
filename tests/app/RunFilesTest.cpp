// What the built game does with its own files and its surroundings: outputs replaced whole or not at
// all, an output never destroying the input or another output, and a broken environment giving
// one line and an exit status instead of an abort or a hang.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/Files.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status = -1;
    std::vector<std::string> err;  // standard error, line by line
};

// Runs a bash command line in dir; $B is the game, $D its data.
Outcome Shell(const fs::path& dir, const std::string& command) {
    const fs::path err = dir / "stderr.txt";
    const std::string line = "cd '" + dir.string() + "' && B='" + PLINKWELL_GAME_BINARY + "' D='" +
                             BuildDataDir().string() + "' bash -c '" + command + "' 2>'" + err.string() + "'";
    const int raw = std::system(line.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.err = ReadLines(err);
    fs::remove(err);
    return outcome;
}

// Names in dir other than the listed ones (left-over temporary files).
std::vector<std::string> Others(const fs::path& dir, const std::vector<std::string>& known) {
    std::vector<std::string> others;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (std::find(known.begin(), known.end(), name) == known.end()) others.push_back(name);
    }
    return others;
}

struct Case {
    const char* name;
    std::function<void(const TempDir&)> prepare;
    std::string command;
    int status;
    std::string err;  // words of the one line on standard error (empty: no line)
    std::function<void(const TempDir&)> check;
};

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        if (c.prepare) c.prepare(dir);
        const Outcome outcome = Shell(dir.Path(), c.command);
        EXPECT_EQ(outcome.status, c.status);
        ASSERT_EQ(outcome.err.size(), c.err.empty() ? 0u : 1u) << testing::PrintToString(outcome.err);
        if (!c.err.empty()) {
            EXPECT_NE(outcome.err[0].find(c.err), std::string::npos) << outcome.err[0];
        }
        if (c.check) c.check(dir);
    }
}

const std::string kScript = "1 key SPACE down\n";
const std::string kRun = "$B --headless --frames 5 --data $D ";

void PrepareOld(const TempDir& dir) {
    dir.Write("script.txt", kScript);
    dir.Write("old.json", "old\n");
}

void ExpectUntouched(const TempDir& dir) {
    EXPECT_EQ(ReadFileText(dir / "script.txt"), kScript);
    EXPECT_EQ(ReadFileText(dir / "old.json"), "old\n");
    EXPECT_EQ(Others(dir.Path(), {"script.txt", "old.json"}), std::vector<std::string>{});
}

}  // namespace

TEST(RunFiles, OutputsAreReplacedWholeOrLeftAsTheyWere) {
    const std::string sameInput = "plinkwell: --input and --record name the same file";
    RunCases({
        {"a failed launch leaves an existing output as it was", PrepareOld,
         kRun + "--state old.json --data nowhere", 2,
         "plinkwell: --data: 'nowhere': No such file or directory", ExpectUntouched},
        {"--record naming --input is refused", PrepareOld, kRun + "--input script.txt --record script.txt", 2,
         sameInput, ExpectUntouched},
        {"--record naming --input through a link is refused",
         [](const TempDir& d) {
             PrepareOld(d);
             fs::create_symlink("script.txt", d / "link");
         },
         kRun + "--input script.txt --record link", 2, sameInput,
         [](const TempDir& d) { EXPECT_EQ(ReadFileText(d / "script.txt"), kScript); }},
        {"two outputs naming one new file are refused", PrepareOld,
         kRun + "--state new.json --trace ./new.json", 2, "plinkwell: --state and --trace name the same file",
         ExpectUntouched},
        {"a killed run leaves the older output as it was", PrepareOld,
         "($B --headless --frames 4000000000 --data $D --trace old.json & sleep 1; kill -9 $!; wait) "
         "2>/dev/null",
         0, "", [](const TempDir& d) { EXPECT_EQ(ReadFileText(d / "old.json"), "old\n"); }},
        {"an output through a link replaces the target, keeping its mode",
         [](const TempDir& d) {
             fs::create_directory(d / "keep");
             d.Write("keep/state.json", "old\n");
             fs::permissions(d / "keep/state.json",
                             fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
             fs::create_symlink("keep/state.json", d / "link");
         },
         kRun + "--state link", 0, "",
         [](const TempDir& d) {
             EXPECT_TRUE(fs::is_symlink(d / "link"));
             EXPECT_EQ(ReadLines(d / "keep/state.json").size(), 1u);
             EXPECT_NE(ReadFileText(d / "keep/state.json"), "old\n");
             EXPECT_EQ(fs::status(d / "keep/state.json").permissions(),
                       fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
             EXPECT_EQ(Others(d / "keep", {"state.json"}), std::vector<std::string>{});
         }},
        {"a device is written directly", nullptr, kRun + "--state /dev/null --trace /dev/null", 0, "",
         [](const TempDir&) { EXPECT_TRUE(fs::is_character_file("/dev/null")); }},
        {"a pipe is written directly", nullptr, kRun + "--trace >(wc -l >lines.txt); sleep 1", 0, "",
         [](const TempDir& d) { EXPECT_EQ(ReadFileText(d / "lines.txt"), "5\n"); }},
        {"a full device names the file", nullptr, kRun + "--state /dev/full", 1,
         "plinkwell: could not write '/dev/full': No space left on device", nullptr},
        {"an output in a missing directory", nullptr, kRun + "--screenshot none/shot.bmp", 2,
         "none/shot.bmp': No such file or directory", nullptr},
    });
}

TEST(RunFiles, ABrokenEnvironmentGivesOneLineAndAnExitStatus) {
    const std::string play = "printf \"1 key ESCAPE down\\n\"";
    RunCases({
        {"deleted working directory", nullptr, "mkdir x && cd x && rmdir ../x && " + kRun + "--state s.json",
         2, "the working directory is gone", nullptr},
        {"deleted working directory as the data", nullptr,
         "mkdir x && cd x && rmdir ../x && $B --headless --data .", 2,
         "plinkwell: cannot find '.': the working directory is gone", nullptr},
        {"an endless input script", nullptr, kRun + "--input /dev/zero", 2,
         "cannot read input script '/dev/zero': larger than 64 MiB", nullptr},
        {"an input script from a pipe", nullptr, play + " | " + kRun + "--input /dev/stdin --state s.json", 0,
         "",
         [](const TempDir& d) {
             EXPECT_NE(ReadFileText(d / "s.json").find("\"frame\":1,"), std::string::npos);
         }},
        {"an input script from a process", nullptr, kRun + "--input <(" + play + ") --state s.json", 0, "",
         [](const TempDir& d) {
             EXPECT_NE(ReadFileText(d / "s.json").find("\"frame\":1,"), std::string::npos);
         }},
        {"a data path too long", nullptr, kRun + "--data $(printf x%.0s {1..5000})", 2, "File name too long",
         nullptr},
        {"--help into a full disk", nullptr, "$B --help >/dev/full", 1,
         "plinkwell: cannot write to standard output", nullptr},
    });
}

TEST(RunFiles, DescriptorsAreWrittenAsTheyStandAndWriteSignalsAreErrors) {
    auto startsWith = [](const char* file, const std::string& head) {
        return [file, head](const TempDir& d) {
            const std::string text = ReadFileText(d / file);
            EXPECT_EQ(text.substr(0, head.size()), head);
            EXPECT_NE(text.find("{\"frame\":"), std::string::npos);
            EXPECT_EQ(Others(d.Path(), {file}), std::vector<std::string>{});
        };
    };
    RunCases({
        {"/dev/stdout appended to a log keeps the log", nullptr,
         "printf \"a\\nb\\n\" >log.txt; " + kRun + "--state /dev/stdout >>log.txt", 0, "",
         startsWith("log.txt", "a\nb\n{")},
        {"/dev/fd/N opened to append", nullptr,
         "exec 7>>log.txt; echo pre >&7; " + kRun + "--state /dev/fd/7", 0, "",
         startsWith("log.txt", "pre\n{")},
        {"- is standard output, between other writes", nullptr,
         "(echo header; " + kRun + "--state -; echo footer) >log.txt", 0, "",
         [](const TempDir& d) {
             const std::vector<std::string> lines = ReadLines(d / "log.txt");
             ASSERT_EQ(lines.size(), 3u);
             EXPECT_EQ(lines[0], "header");
             EXPECT_EQ(lines[2], "footer");
         }},
        {"--input - reads standard input", nullptr,
         "printf \"1 key ESCAPE down\\n\" | " + kRun + "--input - --state s.json", 0, "",
         [](const TempDir& d) {
             EXPECT_NE(ReadFileText(d / "s.json").find("\"frame\":1,"), std::string::npos);
         }},
        {"a descriptor open only for reading", nullptr, kRun + "--state /dev/fd/0 </dev/null", 2,
         "plinkwell: cannot write '/dev/fd/0': Bad file descriptor", nullptr},
        {"a closed pipe is a write error, the other outputs are kept", nullptr,
         "$B --headless --frames 300 --data $D --trace /dev/stdout --state s.json | head -c 100 >/dev/null; "
         "exit ${PIPESTATUS[0]}",
         1, "plinkwell: could not write '/dev/stdout': Broken pipe", startsWith("s.json", "{")},
        {"a file-size limit is a write error with no temporary file left", nullptr,
         "ulimit -f 100; $B --headless --frames 300 --data $D --trace t.json", 1, "t.json': File too large",
         [](const TempDir& d) { EXPECT_EQ(Others(d.Path(), {}), std::vector<std::string>{}); }},
        {"a dead run's temporary file is removed, a live one's kept", nullptr,
         "touch .s.json.plinkwell-999999999-0.tmp .s.json.plinkwell-$$-0.tmp; " + kRun + "--state s.json", 0,
         "", [](const TempDir& d) { EXPECT_EQ(Others(d.Path(), {"s.json"}).size(), 1u); }},
        {"-- ends the options", nullptr, kRun + "--state s.json --", 0, "", startsWith("s.json", "{")},
        {"nothing may follow --", nullptr, kRun + "-- --state", 2, "plinkwell: unexpected argument '--state'",
         nullptr},
        {"an option's control bytes are escaped", nullptr, "$B $(printf -- \"--\\033]0;x\\a\\xe9\")", 2,
         "plinkwell: unknown option '--\\x1b]0;x\\x07\\xe9' (try --help)", nullptr},
    });
}

TEST(RunFiles, OutputsKeepWhatTheyNameAndNeverTouchTheData) {
    const std::string copy = "cp -r $D d && ";
    const std::string inCopy = "$B --headless --frames 5 --data d ";
    auto holdsState = [](const char* file) {
        return [file](const TempDir& d) { EXPECT_EQ(ReadFileText(d / file).rfind("{\"frame\":5,", 0), 0u); };
    };
    RunCases({
        {"a hard-linked output is written in place, its other name with it", nullptr,
         "echo old >s.json && ln s.json other && " + kRun + "--state s.json", 0, "", holdsState("other")},
        {"a dangling link's target is created, the link kept", nullptr,
         "mkdir sub && ln -s sub/made.json link && " + kRun + "--state link", 0, "",
         [&](const TempDir& d) {
             EXPECT_TRUE(fs::is_symlink(d / "link"));
             holdsState("sub/made.json")(d);
         }},
        {"a relative output below a working folder deeper than PATH_MAX", nullptr,
         "for i in {1..25}; do mkdir $(printf x%.0s {1..200}) && cd x*; done && " + kRun +
             "--state s.json && "
             "test -s s.json",
         0, "", nullptr},
        {"a kernel file is refused at start", nullptr, kRun + "--state /proc/version", 2,
         "plinkwell: cannot write '/proc/version': not a regular file", nullptr},
        {"a picture of the data is refused", nullptr, copy + inCopy + "--screenshot d/sprite/BG.bmp", 2,
         "plinkwell: --screenshot would overwrite the game's data file 'd/sprite/BG.bmp'",
         [](const TempDir& d) {
             EXPECT_EQ(ReadFileText(d / "d/sprite/BG.bmp"), ReadFileText(BuildDataDir() / "sprite/BG.bmp"));
         }},
        {"the stages through a link are refused", nullptr,
         copy + "ln -s d/Map.dat m && " + inCopy + "--state m", 2,
         "plinkwell: --state would overwrite the game's data file 'm'", nullptr},
        {"a folder in place of a picture is named as such", nullptr,
         copy + "rm d/sprite/Ball.bmp && mkdir d/sprite/Ball.bmp && " + inCopy, 0,
         "Plinkwell: -1, 'sprite/Ball.bmp': not a regular file.", nullptr},
    });
}

// Needs root: another user (nobody, through setpriv) and file attributes (chattr).
TEST(RunFiles, OutputsThatARenameWouldLoseAreWrittenInPlace) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root for setpriv and chattr";
    const std::string nobody = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    TempDir probe;
    if (Shell(probe.Path(), nobody + "test -x $B -a -r $D/Map.dat").status != 0)
        GTEST_SKIP() << "nobody cannot reach the game or its data in this checkout";
    const std::string asNobody = "chmod 755 . && " + nobody + kRun;
    auto ownedBy = [](const char* file, uid_t owner) {
        return [file, owner](const TempDir& d) {
            struct stat st {};
            ASSERT_EQ(stat((d / file).c_str(), &st), 0);
            EXPECT_EQ(st.st_uid, owner);
            EXPECT_EQ(ReadFileText(d / file).rfind("{\"frame\":5,", 0), 0u);
        };
    };
    RunCases({
        {"another user's file in a sticky folder", nullptr,
         "mkdir -m 1777 st && echo old >st/f && chmod 666 st/f && " + asNobody + "--state st/f", 0, "",
         ownedBy("st/f", 0)},
        {"a writable file in a read-only folder", nullptr,
         "mkdir ro && echo old >ro/f && chmod 666 ro/f && chmod 555 ro && " + asNobody +
             "--state ro/f; s=$?; chmod 755 ro; exit $s",
         0, "", ownedBy("ro/f", 0)},
        {"root keeps another user's file theirs", nullptr,
         "echo old >f && chown 65534 f && " + kRun + "--state f", 0, "", ownedBy("f", 65534)},
        {"an append-only file is appended to", nullptr,
         "echo old >f && chattr +a f && " + kRun + "--state f; s=$?; chattr -a f; exit $s", 0, "",
         [](const TempDir& d) { EXPECT_EQ(ReadFileText(d / "f").rfind("old\n{\"frame\":5,", 0), 0u); }},
        {"an immutable file is refused at start", nullptr,
         "echo old >f && chattr +i f && " + kRun + "--state f; s=$?; chattr -i f; exit $s", 2,
         "plinkwell: cannot write 'f': Operation not permitted", nullptr},
    });
}
