// The application shell against a scripted backend: start-up, the one-message-one-tick loop,
// quitting, pausing and the shutdown order.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>

#include "app/CGameApp.h"
#include "input/DIK.h"
#include "support/FakeBackend.h"

namespace {

using plat::MessageKind;

// Each pass's PeekMessage takes the next entry: None means no message waiting.
class ShellBackend : public FakeBackend {
public:
    bool PeekMessage(plat::Message* msg) override {
        log.push_back("peek");
        now += clockStep;
        const MessageKind next = passes.empty() ? MessageKind::Quit : passes.front();
        if (next == MessageKind::None) {
            passes.pop_front();
            return false;
        }
        msg->kind = next;
        return true;
    }
    int GetMessage(plat::Message* msg) override {
        msg->kind = passes.empty() ? MessageKind::Quit : passes.front();
        if (!passes.empty()) passes.pop_front();
        log.push_back(msg->kind == MessageKind::Quit ? "get quit" : "get");
        return msg->kind == MessageKind::Quit ? 0 : 1;
    }
    void DispatchMessage(const plat::Message&) override { log.push_back("dispatch"); }
    bool CreateMainWindow(const char* title) override {
        log.push_back(std::string("window ") + title);
        return windowOk;
    }
    void DestroyMainWindow() override { log.push_back("destroy window"); }
    void ShowCursor(bool show) override {
        FakeBackend::ShowCursor(show);
        log.push_back(show ? "cursor on" : "cursor off");
    }
    bool VideoSetMode(int w, int h, bool full) override {
        log.push_back("video mode");
        return FakeBackend::VideoSetMode(w, h, full);
    }
    void VideoRelease() override { log.push_back("video release"); }
    void AudioClose() override { log.push_back("audio close"); }
    void BeforeTick(uint32_t frame) override {
        log.push_back("before tick");
        nextFrame = frame;
    }
    bool IsPaused() override { return pausedPasses > 0; }
    void Idle(int ms) override {
        log.push_back("idle " + std::to_string(ms));
        --pausedPasses;
    }

    // The log from the first entry equal to from, with message boxes and the like left out.
    std::vector<std::string> From(const std::string& from) const {
        auto it = std::find(log.begin(), log.end(), from);
        return {it, log.end()};
    }

    std::deque<MessageKind> passes;
    std::vector<std::string> log;
    uint32_t clockStep = 0;
    bool windowOk = true;
    int pausedPasses = 0;
    uint32_t nextFrame = 0;
};

class RecordFrames : public FrameListener {
public:
    void OnFrame(const CGame& game, uint32_t frame) override {
        frames.push_back(frame);
        lastFrames.push_back(game.m_dwLastFrame);
    }
    std::vector<uint32_t> frames;
    std::vector<uint32_t> lastFrames;
};

class Shell : public ::testing::Test {
protected:
    ShellBackend backend;
    std::unique_ptr<CGameApp> app = std::make_unique<CGameApp>();
};

}  // namespace

TEST_F(Shell, StartUpOpensTheTitledFrameWithoutMenuBeforeLoadingAssets) {
    ASSERT_EQ(app->InitInstance(), 1);
    ASSERT_NE(app->m_pMainWnd, nullptr);
    EXPECT_EQ(app->m_pMainWnd->Title(), "Tarvik");
    EXPECT_FALSE(app->m_pMainWnd->HasMenu());
    ASSERT_GE(backend.log.size(), 2u);
    EXPECT_EQ(backend.log[0], "window Tarvik");
    EXPECT_EQ(backend.log[1], "video mode");  // the display is created by the asset loading
    EXPECT_EQ(app->Game().m_bIntro, 1);
}

TEST_F(Shell, AFrameThatCannotOpenEndsStartUpBeforeAnyAsset) {
    backend.windowOk = false;
    EXPECT_EQ(app->InitInstance(), 0);
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    EXPECT_EQ(backend.log, std::vector<std::string>{"window Tarvik"});
}

TEST_F(Shell, AQuitMessageEndsTheLoopBeforeTheTickAndStillShutsDown) {
    ASSERT_EQ(app->InitInstance(), 1);
    backend.passes = {MessageKind::Quit};
    EXPECT_EQ(app->Run(), 0);
    EXPECT_EQ(backend.From("cursor off"),
              (std::vector<std::string>{"cursor off", "peek", "get quit", "video release", "audio close",
                                        "cursor on", "destroy window"}));
    EXPECT_EQ(app->FramesRun(), 0u);
    EXPECT_EQ(app->Game().m_dwLastFrame, 0u);  // the tick never ran
    EXPECT_EQ(app->Game().m_nLives, 5);        // but the new game did
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    EXPECT_TRUE(backend.cursorShown);
}

TEST_F(Shell, EachPassHandlesOneMessageThenTicksOnce) {
    ASSERT_EQ(app->InitInstance(), 1);
    backend.passes = {MessageKind::Other, MessageKind::Other, MessageKind::Other, MessageKind::Quit};
    app->Run();
    // With the clock standing still the next frame is always 15 ms away: every pass ends waiting
    // for it.
    const std::vector<std::string> pass = {"peek", "get", "dispatch", "before tick", "idle 15"};
    std::vector<std::string> expected = {"cursor off"};
    for (int i = 0; i < 3; ++i) expected.insert(expected.end(), pass.begin(), pass.end());
    expected.insert(expected.end(), {"peek", "get quit", "video release"});
    const auto log = backend.From("cursor off");
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + expected.size()), expected);
    // The clock stood still: the first tick ran frame 1, the next two found nothing due.
    EXPECT_EQ(app->FramesRun(), 1u);
    EXPECT_EQ(backend.nextFrame, 2u);
}

TEST_F(Shell, TicksWithoutMessagesRunFramesNumberedFromOne) {
    ASSERT_EQ(app->InitInstance(), 1);
    RecordFrames listener;
    app->SetFrameListener(&listener);
    backend.clockStep = 15;
    backend.passes = {MessageKind::None, MessageKind::None, MessageKind::None, MessageKind::Quit};
    app->Run();
    EXPECT_EQ(listener.frames, (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(listener.lastFrames, (std::vector<uint32_t>{100015, 100030, 100045}));
    EXPECT_EQ(app->FramesRun(), 3u);
}

TEST_F(Shell, EscapeEndsTheLoopAfterItsUnpresentedFrame) {
    ASSERT_EQ(app->InitInstance(), 1);
    RecordFrames listener;
    app->SetFrameListener(&listener);
    backend.clockStep = 15;
    backend.passes = {MessageKind::None, MessageKind::None, MessageKind::None, MessageKind::None};
    backend.Press(DIK_ESCAPE);
    backend.presents = 0;
    EXPECT_EQ(app->Run(), 0);
    EXPECT_EQ(listener.frames, std::vector<uint32_t>{1});  // the frame counts
    EXPECT_EQ(backend.presents, 0);
    const auto log = backend.From("before tick");
    EXPECT_EQ(log, (std::vector<std::string>{"before tick", "video release", "audio close", "cursor on",
                                             "destroy window"}));
}

TEST_F(Shell, APausedWindowRunsNoFramesAndWaits) {
    ASSERT_EQ(app->InitInstance(), 1);
    backend.clockStep = 15;
    backend.pausedPasses = 2;
    backend.passes = {MessageKind::None, MessageKind::None, MessageKind::None, MessageKind::Quit};
    app->Run();
    const auto log = backend.From("cursor off");
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 10),
              (std::vector<std::string>{"cursor off", "peek", "idle 5", "peek", "idle 5", "peek",
                                        "before tick", "idle 15", "peek", "get quit"}));
    EXPECT_EQ(app->FramesRun(), 1u);
}

TEST_F(Shell, BetweenFramesTheLoopWaitsUntilTheNextIsDue) {
    ASSERT_EQ(app->InitInstance(), 1);
    RecordFrames listener;
    app->SetFrameListener(&listener);
    backend.clockStep = 5;  // every pass is 5 ms after the one before
    backend.passes = {5, MessageKind::None};
    app->Run();
    const auto log = backend.From("cursor off");
    // Frame 1 at 100005, frame 2 at 100020; each pass waits for the rest of the 15 ms.
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 15),
              (std::vector<std::string>{"cursor off", "peek", "before tick", "idle 15", "peek", "before tick",
                                        "idle 10", "peek", "before tick", "idle 5", "peek", "before tick",
                                        "idle 15", "peek", "before tick"}));
    EXPECT_EQ(listener.lastFrames, (std::vector<uint32_t>{100005, 100020}));
}
