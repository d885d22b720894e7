#include <gtest/gtest.h>

#include <sstream>

#include "platform/headless/HeadlessBackend.h"

using plat::HeadlessBackend;
using plat::Message;
using plat::MessageKind;

TEST(HeadlessBackend, EachPeekIsOneFrameIntervalLaterUntilTheBudgetIsSpent) {
    std::ostringstream err;
    HeadlessBackend backend(15, 3, err);
    EXPECT_EQ(backend.GetTickCount(), 0x10000000u);
    Message msg;
    for (uint32_t pass = 1; pass <= 3; ++pass) {
        EXPECT_FALSE(backend.PeekMessage(&msg));
        EXPECT_EQ(backend.GetTickCount(), 0x10000000u + 15 * pass);
    }
    ASSERT_TRUE(backend.PeekMessage(&msg));
    EXPECT_EQ(msg.kind, MessageKind::Quit);
    EXPECT_EQ(backend.GetMessage(&msg), 0);
    EXPECT_EQ(msg.kind, MessageKind::Quit);
    EXPECT_EQ(backend.GetTickCount(), 0x10000000u + 45);  // the quit pass runs no frame
}

TEST(HeadlessBackend, MessageBoxesArePrintedAndKept) {
    std::ostringstream err;
    HeadlessBackend backend(15, 1, err);
    backend.MessageBox("DxDevice Acquire Failed.");
    backend.MessageBox("WAV 화일을 읽을수 없음");
    EXPECT_EQ(err.str(), "Plinkwell: DxDevice Acquire Failed.\nPlinkwell: WAV 화일을 읽을수 없음\n");
    EXPECT_EQ(backend.Messages().size(), 2u);
}

TEST(HeadlessBackend, NoDevicesButEveryServiceAnswers) {
    std::ostringstream err;
    HeadlessBackend backend(15, 1, err);
    EXPECT_TRUE(backend.CreateMainWindow("Tarvik"));
    EXPECT_TRUE(backend.VideoSetMode(800, 600, true));
    const uint16_t frame[4] = {};
    backend.VideoPresent(frame, 2, 2);
    EXPECT_EQ(backend.Presents(), 1);
    uint8_t keys[256];
    keys[57] = 0x80;
    backend.ReadKeyboard(keys);
    EXPECT_EQ(keys[57], 0);
    plat::MouseState mouse;
    mouse.lX = 9;
    EXPECT_EQ(backend.ReadMouse(&mouse), 0);
    EXPECT_EQ(mouse.lX, 0);
    EXPECT_TRUE(backend.AudioOpen());
    const int16_t samples[4] = {};
    const int a = backend.AudioCreateBuffer(samples, 2);
    const int b = backend.AudioCreateBuffer(samples, 2);
    EXPECT_GT(a, 0);
    EXPECT_NE(a, b);
    backend.AudioPlay(b, 0);
    backend.AudioPlay(a, 0);
    EXPECT_EQ(backend.Plays(), (std::vector<int>{b, a}));
    EXPECT_FALSE(backend.IsPaused());
}
