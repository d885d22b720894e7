// The shared key table as a browser reads it: by KeyboardEvent.code name, and by key number.
#include <gtest/gtest.h>

#include <string_view>

#include "platform/devices/Keymap.h"

namespace {

struct NamedKey {
    std::string_view code;
    int number;  // USB HID usage id, or SDL's number past the keyboard page
    uint8_t dik;
};

constexpr NamedKey kNamedKeys[] = {
    {"Escape", 0x29, 0x01},        {"Digit1", 0x1E, 0x02},      {"Digit0", 0x27, 0x0B},
    {"KeyA", 0x04, 0x1E},          {"KeyT", 0x17, 0x14},        {"KeyM", 0x10, 0x32},
    {"Space", 0x2C, 0x39},         {"ControlLeft", 0xE0, 0x1D}, {"ControlRight", 0xE4, 0x9D},
    {"PageUp", 0x4B, 0xC9},        {"Enter", 0x28, 0x1C},       {"NumpadEnter", 0x58, 0x9C},
    {"ArrowLeft", 0x50, 0xCB},     {"F12", 0x45, 0x58},         {"IntlBackslash", 0x64, 0x56},
    {"MediaTrackNext", 258, 0x99}, {"Sleep", 282, 0xDF},
};

}  // namespace

TEST(Keymap, NameAndNumberGiveTheSameCode) {
    for (const NamedKey& k : kNamedKeys) {
        EXPECT_EQ(plat::DikFromCodeName(k.code), k.dik) << k.code;
        EXPECT_EQ(plat::DikFromKeyNumber(k.number), k.dik) << k.code;
    }
}

TEST(Keymap, UnknownNamesAndNumbersHaveNoCode) {
    for (std::string_view code : {"", "keya", "Fn", "KeyA ", "Unidentified"}) {
        EXPECT_EQ(plat::DikFromCodeName(code), 0) << code;
    }
    for (int number : {-1, 0, 0x79, plat::kKeyNumberCount})
        EXPECT_EQ(plat::DikFromKeyNumber(number), 0) << number;
}
