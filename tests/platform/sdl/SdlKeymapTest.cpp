// The shared key table read with SDL's scancodes, which are its key numbers.
#include <SDL.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>
#include <utility>

#include "platform/devices/Keymap.h"

using plat::DikFromKeyNumber;
using plat::MapKeyboardState;

namespace {

// The three letter rows of a PC keyboard: each row's make codes run on without a gap.
void ExpectLetterRow(const std::string& letters, uint8_t firstCode) {
    for (size_t i = 0; i < letters.size(); ++i) {
        const int sc = SDL_SCANCODE_A + (letters[i] - 'A');
        EXPECT_EQ(DikFromKeyNumber(sc), firstCode + i) << letters[i];
    }
}

// Each scancode gives its DirectInput make code.
void ExpectCodes(std::initializer_list<std::pair<int, int>> codes) {
    for (const auto& [scancode, dik] : codes) {
        EXPECT_EQ(DikFromKeyNumber(scancode), dik)
            << SDL_GetScancodeName(static_cast<SDL_Scancode>(scancode));
    }
}

}  // namespace

TEST(SdlKeymap, KeysTheGameReads) {
    ExpectCodes({{SDL_SCANCODE_ESCAPE, 0x01},
                 {SDL_SCANCODE_SPACE, 0x39},
                 {SDL_SCANCODE_LCTRL, 0x1D},
                 {SDL_SCANCODE_PAGEUP, 0xC9}});
    // 1 to 9 then 0 are 0x02 to 0x0B; SDL numbers them in the same order.
    for (int i = 0; i < 10; ++i) EXPECT_EQ(DikFromKeyNumber(SDL_SCANCODE_1 + i), 0x02 + i);
    ExpectCodes({{SDL_SCANCODE_T, 0x14},
                 {SDL_SCANCODE_M, 0x32},
                 {SDL_SCANCODE_P, 0x19},
                 {SDL_SCANCODE_B, 0x30},
                 {SDL_SCANCODE_S, 0x1F},
                 {SDL_SCANCODE_R, 0x13},
                 {SDL_SCANCODE_I, 0x17},
                 {SDL_SCANCODE_A, 0x1E}});
}

TEST(SdlKeymap, EveryLetterFollowsTheKeyboardRows) {
    ExpectLetterRow("QWERTYUIOP", 0x10);
    ExpectLetterRow("ASDFGHJKL", 0x1E);
    ExpectLetterRow("ZXCVBNM", 0x2C);
}

TEST(SdlKeymap, ModifiersAndExtendedKeys) {
    ExpectCodes({{SDL_SCANCODE_RCTRL, 0x9D},
                 {SDL_SCANCODE_LSHIFT, 0x2A},
                 {SDL_SCANCODE_RSHIFT, 0x36},
                 {SDL_SCANCODE_LALT, 0x38},
                 {SDL_SCANCODE_RALT, 0xB8},
                 {SDL_SCANCODE_RETURN, 0x1C},
                 {SDL_SCANCODE_KP_ENTER, 0x9C},
                 {SDL_SCANCODE_TAB, 0x0F},
                 {SDL_SCANCODE_BACKSPACE, 0x0E},
                 {SDL_SCANCODE_UP, 0xC8},
                 {SDL_SCANCODE_LEFT, 0xCB},
                 {SDL_SCANCODE_RIGHT, 0xCD},
                 {SDL_SCANCODE_DOWN, 0xD0},
                 {SDL_SCANCODE_PAGEDOWN, 0xD1},
                 {SDL_SCANCODE_HOME, 0xC7},
                 {SDL_SCANCODE_END, 0xCF},
                 {SDL_SCANCODE_INSERT, 0xD2},
                 {SDL_SCANCODE_DELETE, 0xD3}});
}

TEST(SdlKeymap, FunctionKeysAndKeypad) {
    for (int i = 0; i < 10; ++i) EXPECT_EQ(DikFromKeyNumber(SDL_SCANCODE_F1 + i), 0x3B + i);
    ExpectCodes({{SDL_SCANCODE_F11, 0x57},
                 {SDL_SCANCODE_F12, 0x58},
                 {SDL_SCANCODE_KP_7, 0x47},
                 {SDL_SCANCODE_KP_5, 0x4C},
                 {SDL_SCANCODE_KP_0, 0x52},
                 {SDL_SCANCODE_KP_PERIOD, 0x53},
                 {SDL_SCANCODE_KP_MINUS, 0x4A},
                 {SDL_SCANCODE_KP_PLUS, 0x4E},
                 {SDL_SCANCODE_KP_MULTIPLY, 0x37},
                 {SDL_SCANCODE_KP_DIVIDE, 0xB5}});
}

TEST(SdlKeymap, NoTwoKeysShareACodeAndUnknownKeysHaveNone) {
    std::set<int> seen;
    for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
        const int dik = DikFromKeyNumber(sc);
        if (dik != 0) {
            EXPECT_TRUE(seen.insert(dik).second) << "code 0x" << std::hex << dik << " twice";
        }
    }
    EXPECT_GE(seen.size(), 100u);
    EXPECT_EQ(DikFromKeyNumber(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(DikFromKeyNumber(-1), 0);
    EXPECT_EQ(DikFromKeyNumber(plat::kKeyNumberCount), 0);
}

TEST(SdlKeymap, SnapshotMarksExactlyTheKeysDown) {
    uint8_t sdl[SDL_NUM_SCANCODES] = {};
    sdl[SDL_SCANCODE_A] = 1;
    sdl[SDL_SCANCODE_RCTRL] = 1;
    sdl[SDL_SCANCODE_AGAIN] = 1;  // a key without a DirectInput code
    uint8_t out[256];
    std::fill(out, out + 256, 0x55);  // stale contents must not survive
    MapKeyboardState(sdl, SDL_NUM_SCANCODES, out);
    for (int i = 0; i < 256; ++i) {
        const uint8_t expected = (i == 0x1E || i == 0x9D) ? 0x80 : 0;
        EXPECT_EQ(out[i], expected) << "index 0x" << std::hex << i;
    }
}

TEST(SdlKeymap, SnapshotReadsOnlyTheStateSdlHas) {
    uint8_t sdl[SDL_SCANCODE_B + 1] = {};
    sdl[SDL_SCANCODE_A] = 1;
    uint8_t out[256];
    MapKeyboardState(sdl, SDL_SCANCODE_B + 1, out);
    EXPECT_EQ(out[0x1E], 0x80);
    EXPECT_EQ(out[0x01], 0);  // Escape's scancode lies beyond the array: up, not read
}
