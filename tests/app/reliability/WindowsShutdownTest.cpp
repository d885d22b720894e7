// Windows only: the ways Windows ends a run, each called in-process as Windows calls it (Wine's own
// delivery of these events would prove nothing about Windows), and the gateway's replacing of an
// output, which a reader must never catch half written.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/Launcher.h"
#include "platform/base/Files.h"
#include "platform/base/Paths.h"
#include "platform/base/QuitSignals.h"
#include "platform/sdl/SdlBackend.h"
#include "support/Files.h"

namespace fs = std::filesystem;

namespace {

// What a run's outputs hold at a moment of the test's choosing, read while the run goes on.
struct Outputs {
    std::string state;
    std::string trace;
};

Outputs ReadOutputs(const fs::path& dir) {
    return {ReadFileText(dir / u8"상태.json"), ReadFileText(dir / "trace.jsonl")};
}

// Does something to the running game once, after a given frame.
class AtFrame : public RunObserver {
public:
    AtFrame(uint32_t frame, std::function<void()> action) : m_frame(frame), m_action(std::move(action)) {}
    void OnFrame(const CGame&, uint32_t frame, plat::Automation&) override {
        if (frame == m_frame) m_action();
    }

private:
    uint32_t m_frame;
    std::function<void()> m_action;
};

// Runs the game in-process with outputs in out/ and a frame budget it would take hours to spend.
int RunGame(std::vector<std::string> args, const fs::path& out, RunObserver* observer) {
    const std::vector<std::string> more = {"--data",   plat::Utf8FromPath(BuildDataDir()),
                                           "--frames", "1000000",
                                           "--state",  plat::Utf8FromPath(out / u8"상태.json"),
                                           "--trace",  plat::Utf8FromPath(out / "trace.jsonl")};
    args.insert(args.end(), more.begin(), more.end());
    LaunchContext context;
    context.windowed = [](const Options& o, std::string* problem) {
        return CreateSdlBackend(o, kGameShape, problem);
    };
    context.observer = observer;
    const fs::path start = fs::current_path();
    const int status = RunPlinkwell(args, context);
    fs::current_path(start);
    return status;
}

size_t Lines(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

void ExpectComplete(const Outputs& seen, const fs::path& out) {
    ASSERT_FALSE(seen.state.empty());
    EXPECT_EQ(seen.state.back(), '\n');
    EXPECT_GT(Lines(seen.trace), 30u);
    EXPECT_EQ(seen.state, ReadOutputs(out).state);  // written once: what the end left stays
    EXPECT_EQ(seen.trace, ReadOutputs(out).trace);
}

HWND GameWindow() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) {
            if (!IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

// Closing the console: Windows calls the handler on a thread of its own and ends the process as
// soon as it returns, so by then the outputs must be whole.
TEST(WindowsShutdown, ClosingTheConsoleLeavesCompleteOutputs) {
    TempDir out;
    Outputs seen;
    std::thread windows;
    AtFrame close(40, [&] {
        windows = std::thread([&] {
            EXPECT_TRUE(plat::QuitSignals::ConsoleEvent(CTRL_CLOSE_EVENT));
            seen = ReadOutputs(out.Path());
        });
    });
    EXPECT_EQ(RunGame({"--headless"}, out.Path(), &close), 0);
    windows.join();
    ExpectComplete(seen, out.Path());
}

// Log-off and shut-down: the window is told WM_ENDSESSION on the game's own thread, and the
// process may end as soon as the window has answered.
TEST(WindowsShutdown, EndingTheSessionLeavesCompleteOutputsBeforeTheWindowAnswers) {
    const char* display = std::getenv("DISPLAY");
    if (std::getenv("WINEPREFIX") && !(display && *display))
        GTEST_SKIP() << "Wine needs an X display for a window (tests/windows/run.sh starts Xvfb)";
    TempDir out;
    Outputs seen;
    LRESULT query = 0;
    AtFrame end(40, [&] {
        const HWND window = GameWindow();
        if (!window) {
            ADD_FAILURE() << "the game has no window";
            plat::QuitSignals::ConsoleEvent(CTRL_C_EVENT);  // ends the run
            return;
        }
        query = SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        seen = ReadOutputs(out.Path());
    });
    EXPECT_EQ(RunGame({"--windowed", "--mute"}, out.Path(), &end), 0);
    EXPECT_EQ(query, TRUE);
    ExpectComplete(seen, out.Path());
}

// A reader opening the output again and again while it is replaced sees the old bytes or the new,
// never a mixture or a part.
TEST(WindowsGateway, AReplacedOutputIsNeverSeenHalfWritten) {
    TempDir dir;
    const fs::path target = dir.Path() / u8"화면 – café.bmp";
    const std::string before(1 << 20, 'a'), after(3 << 20, 'b');
    std::ofstream(target, std::ios::binary) << before;
    std::atomic<bool> done{false};
    std::atomic<int> odd{0};
    std::thread reader([&] {
        while (!done) {
            std::ifstream in(target, std::ios::binary | std::ios::ate);  // refused while swapped
            std::string now(in.is_open() ? static_cast<size_t>(in.tellg()) : 0, '\0');
            in.seekg(0).read(now.data(), static_cast<std::streamsize>(now.size()));
            if (in.is_open() && now != before && now != after) ++odd;
            in.close();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));  // a reader, not a lock
        }
    });
    plat::Result<plat::OutputFile> out = plat::OutputFile::Create(plat::Utf8FromPath(target));
    ASSERT_TRUE(out) << out.Error();
    for (size_t at = 0; at < after.size(); at += 4096) out->Write(after.data() + at, 4096);
    EXPECT_TRUE(ReadFileText(target) == before);
    const plat::Status committed = out->Commit();
    done = true;
    reader.join();
    EXPECT_TRUE(committed) << committed.Error();
    EXPECT_TRUE(ReadFileText(target) == after);
    EXPECT_EQ(odd, 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()),
              1);  // no temp left
}
