// A gamepad as the game's input: paddle motion by tilt and d-pad, the button, the keys, the shop cursor.
#include <gtest/gtest.h>

#include "platform/devices/PadInput.h"

namespace {

using plat::PadButton;
using plat::PadInput;

// 800 pixels in half a second of 15 ms frames: 24 pixels a frame at full tilt.
constexpr plat::GameShape kPadShape{800, 600, 15, {320, 10, 15, 23}, 16};

TEST(PadInput, TheStickMovesFasterTheFurtherItLeansPastTheDeadZone) {
    const struct {
        double tilt, speed;
        int32_t firstRead, tenReads;
    } kCases[] = {
        {0.2, 1, 0, 0},      // in the dead zone
        {1, 1, 24, 240},     // full tilt crosses 800 pixels in half a second
        {-1, 1, -24, -240},  //
        {0.62, 1, 6, 60},    // half way past the dead zone: a quarter of the speed
        {1, 0.5, 12, 120},   // --pad-speed
        {0.3, 1, 0, 1},      // slow tilts add up
    };
    for (const auto& c : kCases) {
        PadInput pad(kPadShape, c.speed);
        pad.Tilt(c.tilt);
        int32_t total = pad.TakeMotion();
        EXPECT_EQ(total, c.firstRead) << c.tilt;
        for (int i = 1; i < 10; ++i) total += pad.TakeMotion();
        EXPECT_EQ(total, c.tenReads) << c.tilt;
    }
}

TEST(PadInput, TheDpadStartsSlowlyAndWinsOverTheStick) {
    PadInput pad(kPadShape, 1);
    pad.Tilt(1);
    pad.Press(PadButton::DpadLeft, true, 0);
    EXPECT_EQ(pad.TakeMotion(), -1);  // 24 / 16
    for (int i = 0; i < 20; ++i) pad.TakeMotion();
    EXPECT_EQ(pad.TakeMotion(), -24);
    pad.Press(PadButton::DpadLeft, false, 0);
    EXPECT_EQ(pad.TakeMotion(), 24);
    pad.Release();
    EXPECT_EQ(pad.TakeMotion(), 0);
}

// The keys the pad gives the game after a sequence of presses at the given times.
struct Press {
    PadButton button;
    bool down;
    uint32_t ms;
};
struct KeysCase {
    const char* what;
    std::vector<Press> presses;
    std::vector<int> keys;  // down in the snapshot
};

TEST(PadInput, ButtonsGiveTheGamesKeys) {
    using B = PadButton;
    const KeysCase kCases[] = {
        {"Start is Space while held", {{B::Start, true, 0}}, {0x39}},
        {"a tap of Start still shows in the frame", {{B::Start, true, 0}, {B::Start, false, 5}}, {0x39}},
        {"Back twice within a second is Escape",
         {{B::Back, true, 0}, {B::Back, false, 50}, {B::Back, true, 900}},
         {0x01}},
        {"Back twice further apart is nothing", {{B::Back, true, 0}, {B::Back, true, 1200}}, {}},
        {"X buys the first item", {{B::West, true, 0}}, {0x02}},
        {"two right shoulders then X: item 3",
         {{B::RightShoulder, true, 0}, {B::RightShoulder, true, 10}, {B::West, true, 20}},
         {0x04}},
        {"the left shoulder wraps to the key 0", {{B::LeftShoulder, true, 0}, {B::West, true, 10}}, {0x0B}},
    };
    for (const KeysCase& c : kCases) {
        PadInput pad(kPadShape, 1);
        for (const Press& p : c.presses) pad.Press(p.button, p.down, p.ms);
        uint8_t state[256] = {};
        pad.AddKeys(state);
        std::vector<int> down;
        for (int i = 0; i < 256; ++i) {
            if (state[i]) down.push_back(i);
        }
        EXPECT_EQ(down, c.keys) << c.what;
        pad.ForgetTaps();
        pad.Release();
        std::fill(std::begin(state), std::end(state), 0);
        pad.AddKeys(state);
        EXPECT_EQ(std::count(std::begin(state), std::end(state), 0), 256)
            << c.what << ": gone after the frame";
    }
}

TEST(PadInput, AIsTheLeftButtonAndTheCursorShowsOnlyWhileInUse) {
    PadInput pad(kPadShape, 1);
    EXPECT_FALSE(pad.TakeLeftButton());
    pad.Press(PadButton::South, true, 0);
    pad.Press(PadButton::South, false, 1);
    EXPECT_TRUE(pad.TakeLeftButton());  // pressed since the last read
    EXPECT_FALSE(pad.TakeLeftButton());

    EXPECT_EQ(pad.ShopCursor(0), -1);
    pad.Press(PadButton::RightShoulder, true, 1000);
    EXPECT_EQ(pad.ShopCursor(4999), 1);
    EXPECT_EQ(pad.ShopCursor(5000), -1);
}

}  // namespace
