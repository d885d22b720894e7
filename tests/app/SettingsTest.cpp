// The settings file: what each kind of line sets, the lines it skips, the command line over it, the
// runs that ignore it, and Alt+Enter's choice written back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sstream>

#include "app/Launcher.h"
#include "app/Settings.h"
#include "platform/headless/HeadlessBackend.h"
#include "support/Files.h"

namespace {

// A window that the player switches between full screen and a window `toggles` times at the start.
class TogglingBackend : public plat::HeadlessBackend {
public:
    TogglingBackend(int toggles, std::ostream& err)
        : HeadlessBackend(kFrameInterval, UINT32_MAX, err), m_left(toggles) {}
    bool PeekMessage(plat::Message* msg) override {
        if (m_left == 0) return HeadlessBackend::PeekMessage(msg);
        msg->kind = plat::MessageKind::ToggleFullscreen;
        return true;
    }
    int GetMessage(plat::Message* msg) override {
        if (m_left == 0) return HeadlessBackend::GetMessage(msg);
        --m_left;
        msg->kind = plat::MessageKind::ToggleFullscreen;
        return 1;
    }

private:
    int m_left;
};

struct SettingsRun {
    int status = -1;
    std::string err;
    std::optional<Options> windowOptions;  // what the window's backend was made with
};

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        m_saved = old ? std::optional<std::string>(old) : std::nullopt;
        UseFolder(home.Path());
    }
    void TearDown() override {
        if (m_saved) {
            setenv("XDG_CONFIG_HOME", m_saved->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
    }

    static void UseFolder(const std::filesystem::path& folder) {
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }

    void WriteSettings(const std::string& text) const {
        std::filesystem::create_directories(home / "plinkwell");
        home.Write("plinkwell/settings.ini", text);
    }
    std::string Settings() const { return ReadFileText(home / "plinkwell/settings.ini"); }

    SettingsRun Run(std::vector<std::string> args, int toggles = 0) const {
        SettingsRun run;
        std::ostringstream out, err;
        LaunchContext context;
        context.out = &out;
        context.err = &err;
        context.windowed = [&](const Options& o, std::string*) -> std::unique_ptr<plat::Backend> {
            run.windowOptions = o;
            return std::make_unique<TogglingBackend>(toggles, err);
        };
        args.insert(args.end(), {"--frames", "3", "--data", BuildDataDir().string()});
        const std::filesystem::path start = std::filesystem::current_path();
        run.status = RunPlinkwell(args, context);
        std::filesystem::current_path(start);
        run.err = err.str();
        return run;
    }

    TempDir home;

private:
    std::optional<std::string> m_saved;
};

TEST_F(SettingsTest, EveryKindOfValueIsReadAndEachMalformedLineSkippedWithItsNumber) {
    const std::string text =
        "# comfort\n"
        "windowed = true\n"
        "scale=3\n"
        "  mouse-speed = 2.5  \r\n"
        "pad-speed = 0.5\n"
        "\n"
        "mute = false\n"
        "; an ini comment\n"
        "renderer = software\n"
        "volume = 3\n"
        "scale = 9\n"
        "windowed\n"
        "mute = yes\n"
        "headless = true\n"
        "renderer =\n"
        "pad-speed = 0\n";
    Options o;
    o.mute = true;
    std::ostringstream err;
    ApplySettings(text, "s.ini", &o, err);
    EXPECT_TRUE(o.windowed);
    EXPECT_EQ(o.scale, 3);
    EXPECT_EQ(o.mouseSpeed, 2.5);
    EXPECT_EQ(o.padSpeed, 0.5);
    EXPECT_FALSE(o.mute);
    EXPECT_EQ(o.renderer, Options::Renderer::Software);
    EXPECT_FALSE(o.headless);
    EXPECT_EQ(err.str(),
              "plinkwell: s.ini:10: unknown setting 'volume'\n"
              "plinkwell: s.ini:11: scale: '9' is not a whole number from 0 to 8\n"
              "plinkwell: s.ini:12: expected 'name = value'\n"
              "plinkwell: s.ini:13: mute: 'yes' is not true or false\n"
              "plinkwell: s.ini:14: unknown setting 'headless'\n"
              "plinkwell: s.ini:15: setting renderer needs a value\n"
              "plinkwell: s.ini:16: pad-speed: '0' is not a number from 0.01 to 100\n");
}

// Which runs read the file: scale 3 from it, 2 from the command line.
TEST_F(SettingsTest, TheCommandLineWinsAndAutomationNeverReadsTheFile) {
    WriteSettings("scale = 3\nmouse-speed = 2\nbad line\n");
    const struct {
        std::vector<std::string> args;
        int scale;
        double mouseSpeed;
        bool reported;
    } kCases[] = {
        {{}, 3, 2.0, true},
        {{"--scale", "2"}, 2, 2.0, true},
        {{"--no-settings"}, 0, 1.0, false},
        {{"--headless"}, -1, 0, false},
    };
    for (const auto& c : kCases) {
        const SettingsRun run = Run(c.args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err.find("settings.ini:3: expected 'name = value'") != std::string::npos, c.reported)
            << run.err;
        if (c.scale < 0) {
            EXPECT_FALSE(run.windowOptions.has_value());
            continue;
        }
        ASSERT_TRUE(run.windowOptions.has_value());
        EXPECT_EQ(run.windowOptions->scale, c.scale);
        EXPECT_EQ(run.windowOptions->mouseSpeed, c.mouseSpeed);
    }
}

TEST_F(SettingsTest, AltEntersChoiceIsWrittenBackKeepingTheOtherLines) {
    WriteSettings("# mine\nscale = 3\nwindowed = false\nwindowed = false\nodd line");
    EXPECT_EQ(Run({}, 1).status, 0);
    EXPECT_EQ(Settings(), "# mine\nscale = 3\nwindowed = true\nodd line\n");
    EXPECT_TRUE(Run({}).windowOptions->windowed);  // kept for the next start
    EXPECT_EQ(Run({}, 3).status, 0);
    EXPECT_EQ(Settings(), "# mine\nscale = 3\nwindowed = false\nodd line\n");
    EXPECT_EQ(Run({"--no-settings"}, 1).status, 0);
    EXPECT_EQ(Settings(), "# mine\nscale = 3\nwindowed = false\nodd line\n");
}

TEST_F(SettingsTest, AFolderThatCannotBeMadeIsOneLineAndPlayGoesOn) {
    const std::filesystem::path missing = home / "plinkwell/settings.ini";
    EXPECT_EQ(Run({}, 1).err, "");  // a new folder and file
    EXPECT_EQ(ReadFileText(missing), "windowed = true\n");

    UseFolder(home.Write("file", "not a folder"));
    const SettingsRun run = Run({}, 2);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err.rfind("plinkwell: cannot save settings: ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

}  // namespace
