// The command line: what each option sets, and the one-line errors that stop a run before the
// window opens (exit status 2).
#include <gtest/gtest.h>

#include <sstream>

#include "app/Launcher.h"
#include "app/Options.h"
#include "platform/headless/HeadlessBackend.h"
#include "support/Files.h"

namespace fs = std::filesystem;

namespace {

Options Parsed(const std::vector<std::string>& args) {
    const plat::Result<Options> o = ParseOptions(args);
    EXPECT_TRUE(o.Ok()) << o.Error();
    return o.Ok() ? *o : Options{};
}

std::string Problem(const std::vector<std::string>& args) {
    const plat::Result<Options> o = ParseOptions(args);
    EXPECT_FALSE(o.Ok());
    return o.Ok() ? std::string() : o.Error();
}

// Runs the launcher with a windowed factory that records whether it was asked for a backend.
struct Launch {
    int status = -1;
    std::string out, err;
    bool factoryCalled = false;
    Options factoryOptions;
};

Launch RunLauncher(const std::vector<std::string>& args, bool withFactory = true) {
    Launch launch;
    std::ostringstream out, err;
    LaunchContext context;
    context.out = &out;
    context.err = &err;
    if (withFactory) {
        context.windowed = [&](const Options& o, std::string*) -> std::unique_ptr<plat::Backend> {
            launch.factoryCalled = true;
            launch.factoryOptions = o;
            return std::make_unique<plat::HeadlessBackend>(kFrameInterval, UINT32_MAX,
                                                           err);  // stands in for a window
        };
    }
    const fs::path start = fs::current_path();
    launch.status = RunPlinkwell(args, context);
    fs::current_path(start);
    launch.out = out.str();
    launch.err = err.str();
    return launch;
}

void ExpectUsageError(const Launch& launch, const std::string& words) {
    EXPECT_EQ(launch.status, 2);
    EXPECT_EQ(launch.err.rfind("plinkwell: ", 0), 0u) << launch.err;
    EXPECT_NE(launch.err.find(words), std::string::npos) << launch.err;
    EXPECT_EQ(std::count(launch.err.begin(), launch.err.end(), '\n'), 1) << launch.err;
    EXPECT_FALSE(launch.factoryCalled);
}

}  // namespace

TEST(Options, NoneGivenMeansTheOriginalGame) {
    const Options o = Parsed({});
    EXPECT_FALSE(o.headless);
    EXPECT_FALSE(o.frames.has_value());
    EXPECT_TRUE(o.input.empty() && o.record.empty() && o.state.empty() && o.trace.empty());
    EXPECT_TRUE(o.screenshot.empty() && o.data.empty());
    EXPECT_FALSE(o.windowed || o.mute || o.verbose || o.help || o.version);
    EXPECT_EQ(o.scale, 0);
    EXPECT_EQ(o.mouseSpeed, 1.0);
    EXPECT_EQ(o.renderer, Options::Renderer::Auto);
}

TEST(Options, EveryOptionSetsItsField) {
    const Options o = Parsed({"--headless",     "--frames", "120",           "--input",  "a.txt",
                              "--record=b.txt", "--state",  "s.json",        "--trace",  "t.jsonl",
                              "--screenshot",   "shot.bmp", "--data",        "dir",      "--windowed",
                              "--scale",        "2",        "--mouse-speed", "1.5",      "--mute",
                              "--pad-speed",    "3",        "--renderer",    "software", "--verbose"});
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.frames, 120u);
    EXPECT_EQ(o.input, "a.txt");
    EXPECT_EQ(o.record, "b.txt");
    EXPECT_EQ(o.state, "s.json");
    EXPECT_EQ(o.trace, "t.jsonl");
    EXPECT_EQ(o.screenshot, "shot.bmp");
    EXPECT_EQ(o.data, "dir");
    EXPECT_TRUE(o.windowed);
    EXPECT_EQ(o.scale, 2);
    EXPECT_EQ(o.mouseSpeed, 1.5);
    EXPECT_EQ(o.padSpeed, 3.0);
    EXPECT_TRUE(o.mute);
    EXPECT_EQ(o.renderer, Options::Renderer::Software);
    EXPECT_TRUE(o.verbose);
    EXPECT_EQ(Parsed({"--mouse-speed=.5e1"}).mouseSpeed, 5.0);
    EXPECT_EQ(Parsed({"--mouse-speed=100"}).mouseSpeed, 100.0);
    EXPECT_EQ(Parsed({"--renderer=accelerated"}).renderer, Options::Renderer::Accelerated);
    EXPECT_EQ(Parsed({"--frames=4294967295"}).frames, 4294967295u);
    EXPECT_TRUE(Parsed({"--help"}).help);
    EXPECT_TRUE(Parsed({"--version"}).version);
}

TEST(Options, ProblemsAreNamed) {
    EXPECT_EQ(Problem({"--fast"}), "unknown option '--fast' (try --help)");
    EXPECT_EQ(Problem({"game.dat"}), "unexpected argument 'game.dat' (try --help)");
    EXPECT_EQ(Problem({"-h"}), "unexpected argument '-h' (try --help)");
    EXPECT_EQ(Problem({"--frames"}), "option --frames needs a value");
    EXPECT_EQ(Problem({"--input="}), "option --input needs a value");
    EXPECT_EQ(Problem({"--frames", "0"}), "--frames: '0' is not a whole number from 1 to 4294967295");
    EXPECT_EQ(Problem({"--frames", "4294967296"}),
              "--frames: '4294967296' is not a whole number from 1 to 4294967295");
    EXPECT_EQ(Problem({"--frames", "-5"}), "--frames: '-5' is not a whole number from 1 to 4294967295");
    EXPECT_EQ(Problem({"--frames", "12x"}), "--frames: '12x' is not a whole number from 1 to 4294967295");
    EXPECT_EQ(Problem({"--scale", "9"}), "--scale: '9' is not a whole number from 0 to 8");
    EXPECT_EQ(Problem({"--mouse-speed", "0"}), "--mouse-speed: '0' is not a number from 0.01 to 100");
    EXPECT_EQ(Problem({"--mouse-speed", "nan"}), "--mouse-speed: 'nan' is not a number from 0.01 to 100");
    EXPECT_EQ(Problem({"--mouse-speed", "2fast"}), "--mouse-speed: '2fast' is not a number from 0.01 to 100");
    for (const char* speed : {"+2", " 2", "0x1p1", "1e", "inf"}) {
        EXPECT_EQ(Problem({"--mouse-speed", speed}),
                  "--mouse-speed: '" + std::string(speed) + "' is not a number from 0.01 to 100");
    }
    EXPECT_EQ(Problem({"--renderer", "opengl"}),
              "--renderer: 'opengl' is not one of auto, software, accelerated");
    EXPECT_EQ(Problem({"--headless=yes"}), "option --headless takes no value");
}

TEST(Launcher, HelpAndVersionPrintAndStop) {
    const Launch help = RunLauncher({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, UsageText());
    EXPECT_TRUE(help.err.empty());
    EXPECT_FALSE(help.factoryCalled);
    const Launch version = RunLauncher({"--version", "--headless"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("plinkwell ", 0), 0u);
    EXPECT_EQ(version.out.back(), '\n');
}

TEST(Launcher, BadCommandLinesStopBeforeAnyWindow) {
    ExpectUsageError(RunLauncher({"--windowed", "--bogus"}), "unknown option '--bogus'");
    ExpectUsageError(RunLauncher({"--scale", "12"}), "--scale: '12'");
    ExpectUsageError(RunLauncher({"--data", "/nonexistent/plinkwell"}),
                     "--data: '/nonexistent/plinkwell': No such file or directory");
    ExpectUsageError(RunLauncher({"--state", "/nonexistent/dir/state.json"}),
                     "cannot write '/nonexistent/dir/state.json'");
}

TEST(Launcher, AMissingScriptIsAUsageError) {
    TempDir dir;
    const std::string path = (dir / "absent.txt").string();
    ExpectUsageError(RunLauncher({"--input", path}), "cannot read input script '" + path + "': No such file");
}

TEST(Launcher, AMalformedScriptNamesItsFileAndLine) {
    TempDir dir;
    const std::string path =
        dir.Write("demo.txt", "# plinkwell input 1\n1 key SPACE down\n3 key F1 down\n").string();
    const Launch launch = RunLauncher({"--input", path});
    ExpectUsageError(launch, path + ":3: unknown key 'F1'");
}

TEST(Launcher, ABuildWithoutAWindowBackendNeedsHeadless) {
    ExpectUsageError(RunLauncher({}, false), "this build has no window backend; use --headless");
}

TEST(Launcher, TheWindowedBackendGetsTheDisplayOptionsAndKeepsTheFrameBudget) {
    TempDir dir;
    const Launch launch = RunLauncher({"--data", BuildDataDir().string(), "--windowed", "--scale", "3",
                                       "--mute", "--mouse-speed", "0.5", "--renderer", "software", "--frames",
                                       "4", "--state", (dir / "s.json").string()});
    EXPECT_EQ(launch.status, 0) << launch.err;
    ASSERT_TRUE(launch.factoryCalled);
    EXPECT_TRUE(launch.factoryOptions.windowed);
    EXPECT_EQ(launch.factoryOptions.scale, 3);
    EXPECT_TRUE(launch.factoryOptions.mute);
    EXPECT_EQ(launch.factoryOptions.mouseSpeed, 0.5);
    EXPECT_EQ(launch.factoryOptions.renderer, Options::Renderer::Software);
    EXPECT_NE(ReadFileText(dir / "s.json").find("{\"frame\":4,"), std::string::npos);
}

TEST(Launcher, AFactoryThatCannotStartEndsWithFailure) {
    std::ostringstream err;
    LaunchContext context;
    context.err = &err;
    context.windowed = [](const Options&, std::string*) { return std::unique_ptr<plat::Backend>(); };
    EXPECT_EQ(RunPlinkwell({"--data", BuildDataDir().string()}, context), 1);
    EXPECT_NE(err.str().find("cannot start"), std::string::npos);
}

TEST(Launcher, FilePathsAreTakenFromTheStartingDirectory) {
    TempDir start;
    const fs::path before = fs::current_path();
    fs::current_path(start.Path());
    const Launch launch = RunLauncher({"--headless", "--frames", "2", "--data", BuildDataDir().string(),
                                       "--state", "state.json", "--trace", "trace.jsonl"});
    fs::current_path(before);
    EXPECT_EQ(launch.status, 0) << launch.err;
    EXPECT_TRUE(fs::exists(start / "state.json"));
    EXPECT_EQ(ReadLines(start / "trace.jsonl").size(), 2u);
    EXPECT_FALSE(fs::exists(BuildDataDir() / "state.json"));
}

TEST(DataDirectory, AWorkingDirectoryWithItsOwnDataKeepsIt) {
    TempDir cwd, build, installed;
    fs::create_directory(build / "data");
    cwd.Write("Map.dat", "");
    EXPECT_EQ(FindDataDirectory(cwd.Path(), build / "plinkwell", build / "data", installed.Path()),
              fs::path());
    TempDir cwd2;
    fs::create_directory(cwd2 / "sprite");
    EXPECT_EQ(FindDataDirectory(cwd2.Path(), build / "plinkwell", build / "data", installed.Path()),
              fs::path());
}

TEST(DataDirectory, TheBuildTreesBinaryUsesTheBuildData) {
    TempDir cwd, build, installed;
    fs::create_directory(build / "data");
    EXPECT_EQ(FindDataDirectory(cwd.Path(), build / "plinkwell", build / "data", installed.Path()),
              build / "data");
    EXPECT_EQ(FindDataDirectory(cwd.Path(), build / "tests" / "plinkwell_app_tests", build / "data",
                                installed.Path()),
              build / "data");
}

TEST(DataDirectory, AnInstalledBinaryUsesTheInstalledData) {
    TempDir cwd, build, installed, bin;
    fs::create_directory(build / "data");
    EXPECT_EQ(FindDataDirectory(cwd.Path(), bin / "plinkwell", build / "data", installed.Path()),
              installed.Path());
    // A build tree whose data is gone falls back to the installed data too.
    TempDir emptyBuild;
    EXPECT_EQ(FindDataDirectory(cwd.Path(), emptyBuild / "plinkwell", emptyBuild / "data", installed.Path()),
              installed.Path());
    EXPECT_EQ(FindDataDirectory(cwd.Path(), bin / "plinkwell", build / "data", installed / "missing"),
              fs::path());
}
