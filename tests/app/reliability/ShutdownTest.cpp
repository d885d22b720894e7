// SIGINT, SIGTERM, SIGHUP and every other signal that would end the process end the game the way the quit
// message does: the loop stops before the next frame, the game shuts down, the cursor comes back, the output
// files are written and the process exits with 0. In-process on the shell, and on the real executable,
// headless and windowed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/CGameApp.h"
#include "platform/Platform.h"
#include "platform/base/QuitSignals.h"
#include "platform/headless/HeadlessBackend.h"
#include "support/Files.h"
#include "support/Json.h"

namespace fs = std::filesystem;

namespace {

// The headless backend, with the cursor calls kept.
class CursorBackend : public plat::HeadlessBackend {
public:
    explicit CursorBackend(std::ostream& out) : HeadlessBackend(kFrameInterval, UINT32_MAX, out) {}
    void ShowCursor(bool show) override { cursor.push_back(show); }
    std::vector<bool> cursor;
};

// Raises a signal after a given frame, from inside the game's loop.
class RaiseAt : public FrameListener {
public:
    RaiseAt(uint32_t frame, int signal) : m_frame(frame), m_signal(signal) {}
    void OnFrame(const CGame&, uint32_t frame) override {
        if (frame == m_frame) std::raise(m_signal);
    }

private:
    uint32_t m_frame;
    int m_signal;
};

void ExpectSignalEndsTheShellCleanly(int signal) {
    std::ostringstream messages;
    CursorBackend backend(messages);
    const plat::BackendScope installed(backend);
    auto app = std::make_unique<CGameApp>();
    RaiseAt raise(40, signal);
    app->SetFrameListener(&raise);
    ASSERT_EQ(app->InitInstance(), 1);
    ASSERT_GT(app->Game().m_sound.SlotCount(), 0);
    EXPECT_EQ(app->Run(), 0);
    EXPECT_EQ(app->FramesRun(), 40u);  // the signal's frame was the last
    EXPECT_EQ(backend.cursor, (std::vector<bool>{false, true}));
    EXPECT_EQ(app->Game().m_display.BackBuffer(), nullptr);  // Shutdown released the display
    EXPECT_EQ(app->Game().m_sound.SlotCount(), 0);           // and the sounds
    EXPECT_FALSE(app->m_pMainWnd);
}

struct Child {
    pid_t pid = -1;
};

Child Start(const std::vector<std::string>& args, const std::vector<std::string>& env) {
    Child child;
    child.pid = fork();
    if (child.pid == 0) {
        for (const int caught : plat::QuitSignals::Caught()) signal(caught, SIG_DFL);  // even under nohup
        for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> argv;
        argv.reserve(args.size() + 1);
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

// Waits up to limit for path to hold something; false when the child ended or time ran out first.
// An output grows in a temporary file beside its target (".<name>.plinkwell-<pid>-<n>.tmp") until the run
// ends.
bool WaitForOutput(const Child& child, const fs::path& path, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    const std::string prefix = "." + path.filename().string() + ".";
    while (std::chrono::steady_clock::now() < end) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(path.parent_path(), ec)) {
            if (entry.path().filename().string().rfind(prefix, 0) == 0 && entry.file_size(ec) > 0 && !ec)
                return true;
        }
        // An ended child is left unreaped, so that WaitForExit still reads its status.
        siginfo_t info{};
        if (waitid(P_PID, child.pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == child.pid)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// The exit status, or -1 for a process that did not exit by itself within limit (it is killed).
int WaitForExit(const Child& child, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        const pid_t done = waitpid(child.pid, &status, WNOHANG);
        if (done == child.pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(child.pid, SIGKILL);
    waitpid(child.pid, &status, 0);
    return -1;
}

// Starts the game with a frame budget it would take months to spend, signals it once frames are
// running, and checks the exit and the files written after the last frame.
void ExpectSignalEndsTheProcessCleanly(int signal, const std::vector<std::string>& mode,
                                       const std::vector<std::string>& env) {
    TempDir dir;
    const fs::path state = dir / "state.json", trace = dir / "trace.jsonl";
    std::vector<std::string> args{PLINKWELL_GAME_BINARY};
    args.insert(args.end(), mode.begin(), mode.end());
    for (const std::string& a :
         {std::string("--frames"), std::string("4000000000"), std::string("--data"), BuildDataDir().string(),
          std::string("--state"), state.string(), std::string("--trace"), trace.string()}) {
        args.push_back(a);
    }
    const Child child = Start(args, env);
    ASSERT_GT(child.pid, 0);
    const bool running = WaitForOutput(child, trace, std::chrono::seconds(120));
    kill(child.pid, signal);
    const int status = WaitForExit(child, std::chrono::seconds(120));
    if (!running && status == 2 && mode[0] == "--windowed") GTEST_SKIP() << "no window backend in this build";
    ASSERT_TRUE(running) << "the game ended or never ran a frame (status " << status << ")";
    EXPECT_EQ(status, 0);

    const std::vector<std::string> lines = ReadLines(state);
    ASSERT_EQ(lines.size(), 1u);
    Json last = ParseJson(lines[0]);
    const int64_t frames = last["frame"].get<int64_t>();
    EXPECT_GT(frames, 0);
    const std::vector<std::string> traced = ReadLines(trace);
    ASSERT_EQ(static_cast<int64_t>(traced.size()), frames);  // one whole line per frame run
    EXPECT_EQ(ParseJson(traced.back())["frame"].get<int64_t>(), frames);
}

}  // namespace

struct QuitSignalCase {
    int signal;
    const char* name;
};
const QuitSignalCase kClassicSignals[] = {{SIGINT, "SIGINT"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};
const QuitSignalCase kQuitSignals[] = {{SIGINT, "SIGINT"},     {SIGTERM, "SIGTERM"},  {SIGHUP, "SIGHUP"},
                                       {SIGQUIT, "SIGQUIT"},   {SIGUSR1, "SIGUSR1"},  {SIGUSR2, "SIGUSR2"},
                                       {SIGALRM, "SIGALRM"},   {SIGXCPU, "SIGXCPU"},  {SIGPWR, "SIGPWR"},
                                       {SIGRTMIN, "SIGRTMIN"}, {SIGRTMAX, "SIGRTMAX"}};

TEST(QuitSignal, EachEndsTheLoopThenShutsDownAndShowsTheCursor) {
    for (const QuitSignalCase& c : kQuitSignals) {
        SCOPED_TRACE(c.name);
        ExpectSignalEndsTheShellCleanly(c.signal);
    }
}

// Taken while the backend lives and given back after; one ignored at start (nohup) stays ignored.
TEST(QuitSignal, TheBackendTakesEachDefaultHandlerAndGivesItBack) {
    for (const int signal : plat::QuitSignals::Caught()) {
        SCOPED_TRACE(signal);
        for (const auto start : {SIG_DFL, SIG_IGN}) {
            struct sigaction before {};
            std::signal(signal, start);
            sigaction(signal, nullptr, &before);
            {
                std::ostringstream out;
                plat::HeadlessBackend backend(kFrameInterval, 10, out);
                struct sigaction during {};
                sigaction(signal, nullptr, &during);
                EXPECT_EQ(during.sa_handler == before.sa_handler, start == SIG_IGN);
            }
            struct sigaction after {};
            sigaction(signal, nullptr, &after);
            EXPECT_EQ(after.sa_handler, before.sa_handler);
            std::signal(signal, SIG_DFL);
        }
    }
}

TEST(QuitSignal, EachEndsAHeadlessProcessWithItsFilesWritten) {
    for (const QuitSignalCase& c : kQuitSignals) {
        SCOPED_TRACE(c.name);
        ExpectSignalEndsTheProcessCleanly(c.signal, {"--headless"}, {});
    }
}

// SDL's dummy drivers stand in for a display and a sound card.
TEST(QuitSignal, EachEndsAWindowedProcessWithItsFilesWritten) {
    for (const QuitSignalCase& c : kClassicSignals) {
        SCOPED_TRACE(c.name);
        ExpectSignalEndsTheProcessCleanly(c.signal, {"--windowed"},
                                          {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
    }
}
