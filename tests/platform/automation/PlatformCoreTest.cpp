// The platform core's services for runs: per-frame keyboard, scripted input, recording, quit,
// the kept picture and the sound log's frame numbers.
#include <gtest/gtest.h>

#include "platform/automation/Automation.h"
#include "support/FakeBackend.h"

namespace {

class PlatformCore : public ::testing::Test {
protected:
    static bool KeyDown(int code) {
        uint8_t keys[256];
        plat::ReadKeyboard(keys);
        return keys[code] & 0x80;
    }
    static std::vector<plat::InputEvent> Parse(const std::string& text) {
        const plat::Result<std::vector<plat::InputEvent>> events = plat::ParseInputScript(text, "script");
        EXPECT_TRUE(events.Ok()) << events.Error();
        return events.Ok() ? *events : std::vector<plat::InputEvent>{};
    }

    FakeBackend fake;
    plat::Automation run{fake};
    plat::BackendScope installed{run};
};

}  // namespace

TEST_F(PlatformCore, BeforeTheFirstFrameEveryReadGoesToTheDevice) {
    fake.Press(0x39);
    EXPECT_TRUE(KeyDown(0x39));
    fake.Press(0x39, false);
    EXPECT_FALSE(KeyDown(0x39));
}

TEST_F(PlatformCore, FromTheFirstFrameTheKeyboardIsConstantWithinAFrame) {
    fake.Press(0x39);
    plat::BeforeTick(1);
    fake.Press(0x39, false);  // released during the frame
    fake.Press(0x01);
    EXPECT_TRUE(KeyDown(0x39));
    EXPECT_FALSE(KeyDown(0x01));
    plat::BeforeTick(2);
    EXPECT_FALSE(KeyDown(0x39));
    EXPECT_TRUE(KeyDown(0x01));
}

TEST_F(PlatformCore, AScriptReplacesTheLiveDevices) {
    plat::InputPlayer script(Parse("2 key T down\n2 mouse 9\n3 button down\n"));
    run.PlayScript(&script);
    fake.Press(0x01);
    fake.mouse.lX = 50;
    plat::BeforeTick(1);
    EXPECT_FALSE(KeyDown(0x01));
    EXPECT_FALSE(KeyDown(0x14));
    plat::BeforeTick(2);
    EXPECT_TRUE(KeyDown(0x14));
    plat::MouseState m;
    EXPECT_EQ(plat::ReadMouse(&m), 0);
    EXPECT_EQ(m.lX, 9);
    EXPECT_EQ(m.rgbButtons[0], 0);
    plat::BeforeTick(3);
    plat::ReadMouse(&m);
    EXPECT_EQ(m.lX, 0);
    EXPECT_EQ(m.rgbButtons[0], 0x80);
}

TEST_F(PlatformCore, ScriptEventsApplyOnceWhenAFrameNumberRepeats) {
    // A windowed loop calls BeforeTick with the same number until the frame is due.
    plat::InputPlayer script(Parse("1 mouse 4\n"));
    run.PlayScript(&script);
    plat::BeforeTick(1);
    plat::BeforeTick(1);
    plat::BeforeTick(1);
    plat::MouseState m;
    plat::ReadMouse(&m);
    EXPECT_EQ(m.lX, 4);
}

TEST_F(PlatformCore, RecordingWritesWhatTheGameRead) {
    plat::InputRecorder recorder;
    run.Record(&recorder);
    fake.Press(0x39);
    plat::BeforeTick(1);
    plat::BeforeTick(2);
    fake.Press(0x39, false);
    plat::BeforeTick(3);
    fake.mouse.lX = -3;
    fake.Button(true);
    plat::MouseState m;
    plat::ReadMouse(&m);
    EXPECT_EQ(m.lX, -3);
    EXPECT_EQ(recorder.Text(),
              "# plinkwell input 1\n1 key SPACE down\n3 key SPACE up\n3 mouse -3\n3 button down\n");
}

TEST_F(PlatformCore, APostedQuitIsTheNextMessage) {
    plat::Message msg;
    EXPECT_FALSE(plat::PeekMessage(&msg));
    run.PostQuit();
    ASSERT_TRUE(plat::PeekMessage(&msg));
    EXPECT_EQ(msg.kind, plat::MessageKind::Quit);
    EXPECT_EQ(plat::GetMessage(&msg), 0);
}

TEST_F(PlatformCore, KeepsTheLastPresentedPictureOnlyWhenAsked) {
    const uint16_t a[4] = {1, 2, 3, 4};
    const uint16_t b[4] = {5, 6, 7, 8};
    plat::VideoPresent(a, 2, 2);
    EXPECT_TRUE(run.LastFrame().empty());
    run.KeepLastFrame(true);
    plat::VideoPresent(a, 2, 2);
    plat::VideoPresent(b, 2, 2);
    EXPECT_EQ(run.LastFrame(), std::vector<uint16_t>(b, b + 4));
    EXPECT_EQ(fake.presents, 3);
}

TEST_F(PlatformCore, SoundsAreLoggedWithTheFrameOfTheirTick) {
    run.LogSounds(true);
    plat::BeforeTick(7);
    plat::AudioPlay(2, 4);
    plat::AudioPlay(0, 6);  // an effect that failed to load still counts
    ASSERT_EQ(run.Sounds().size(), 2u);
    EXPECT_EQ(run.Sounds()[0].frame, 7u);
    EXPECT_EQ(run.Sounds()[0].effect, 4);
    EXPECT_EQ(run.Sounds()[1].effect, 6);
    EXPECT_EQ(fake.played, std::vector<int>{2});
}

TEST_F(PlatformCore, EachRunStartsWithEverythingOffAndEndsWithItsScope) {
    plat::InputPlayer script(Parse("1 key T down\n"));
    run.PlayScript(&script);
    run.PostQuit();
    plat::BeforeTick(1);
    fake.Press(0x39);
    {
        plat::Automation next(fake);
        const plat::BackendScope scope(next);
        EXPECT_TRUE(KeyDown(0x39));
        EXPECT_FALSE(KeyDown(0x14));
        plat::Message msg;
        EXPECT_FALSE(plat::PeekMessage(&msg));
        EXPECT_EQ(next.Frame(), 0u);
    }
    EXPECT_TRUE(KeyDown(0x14));  // the first run's frame snapshot again
}
