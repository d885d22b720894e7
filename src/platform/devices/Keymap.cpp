#include "platform/devices/Keymap.h"

#include <array>
#include <cstring>

namespace plat {
namespace {

struct Key {
    uint16_t number;
    uint8_t dik;
    std::string_view code;
};

// Every key of a PC keyboard that both numberings know; the DirectInput codes are the set-1
// make codes, with 0x80 added for the extended (E0-prefixed) keys.
constexpr Key kKeys[] = {
    {41, 0x01, "Escape"},
    {30, 0x02, "Digit1"},
    {31, 0x03, "Digit2"},
    {32, 0x04, "Digit3"},
    {33, 0x05, "Digit4"},
    {34, 0x06, "Digit5"},
    {35, 0x07, "Digit6"},
    {36, 0x08, "Digit7"},
    {37, 0x09, "Digit8"},
    {38, 0x0A, "Digit9"},
    {39, 0x0B, "Digit0"},
    {45, 0x0C, "Minus"},
    {46, 0x0D, "Equal"},
    {42, 0x0E, "Backspace"},
    {43, 0x0F, "Tab"},
    {20, 0x10, "KeyQ"},
    {26, 0x11, "KeyW"},
    {8, 0x12, "KeyE"},
    {21, 0x13, "KeyR"},
    {23, 0x14, "KeyT"},
    {28, 0x15, "KeyY"},
    {24, 0x16, "KeyU"},
    {12, 0x17, "KeyI"},
    {18, 0x18, "KeyO"},
    {19, 0x19, "KeyP"},
    {47, 0x1A, "BracketLeft"},
    {48, 0x1B, "BracketRight"},
    {40, 0x1C, "Enter"},
    {224, 0x1D, "ControlLeft"},
    {4, 0x1E, "KeyA"},
    {22, 0x1F, "KeyS"},
    {7, 0x20, "KeyD"},
    {9, 0x21, "KeyF"},
    {10, 0x22, "KeyG"},
    {11, 0x23, "KeyH"},
    {13, 0x24, "KeyJ"},
    {14, 0x25, "KeyK"},
    {15, 0x26, "KeyL"},
    {51, 0x27, "Semicolon"},
    {52, 0x28, "Quote"},
    {53, 0x29, "Backquote"},
    {225, 0x2A, "ShiftLeft"},
    {49, 0x2B, "Backslash"},
    {29, 0x2C, "KeyZ"},
    {27, 0x2D, "KeyX"},
    {6, 0x2E, "KeyC"},
    {25, 0x2F, "KeyV"},
    {5, 0x30, "KeyB"},
    {17, 0x31, "KeyN"},
    {16, 0x32, "KeyM"},
    {54, 0x33, "Comma"},
    {55, 0x34, "Period"},
    {56, 0x35, "Slash"},
    {229, 0x36, "ShiftRight"},
    {85, 0x37, "NumpadMultiply"},
    {226, 0x38, "AltLeft"},
    {44, 0x39, "Space"},
    {57, 0x3A, "CapsLock"},
    {58, 0x3B, "F1"},
    {59, 0x3C, "F2"},
    {60, 0x3D, "F3"},
    {61, 0x3E, "F4"},
    {62, 0x3F, "F5"},
    {63, 0x40, "F6"},
    {64, 0x41, "F7"},
    {65, 0x42, "F8"},
    {66, 0x43, "F9"},
    {67, 0x44, "F10"},
    {83, 0x45, "NumLock"},
    {71, 0x46, "ScrollLock"},
    {95, 0x47, "Numpad7"},
    {96, 0x48, "Numpad8"},
    {97, 0x49, "Numpad9"},
    {86, 0x4A, "NumpadSubtract"},
    {92, 0x4B, "Numpad4"},
    {93, 0x4C, "Numpad5"},
    {94, 0x4D, "Numpad6"},
    {87, 0x4E, "NumpadAdd"},
    {89, 0x4F, "Numpad1"},
    {90, 0x50, "Numpad2"},
    {91, 0x51, "Numpad3"},
    {98, 0x52, "Numpad0"},
    {99, 0x53, "NumpadDecimal"},
    {100, 0x56, "IntlBackslash"},
    {68, 0x57, "F11"},
    {69, 0x58, "F12"},
    {104, 0x64, "F13"},
    {105, 0x65, "F14"},
    {106, 0x66, "F15"},
    {136, 0x70, "KanaMode"},
    {135, 0x73, "IntlRo"},
    {138, 0x79, "Convert"},
    {139, 0x7B, "NonConvert"},
    {137, 0x7D, "IntlYen"},
    {103, 0x8D, "NumpadEqual"},
    {259, 0x90, "MediaTrackPrevious"},
    {258, 0x99, "MediaTrackNext"},
    {88, 0x9C, "NumpadEnter"},
    {228, 0x9D, "ControlRight"},
    {262, 0xA0, "AudioVolumeMute"},
    {266, 0xA1, "LaunchApp2"},
    {261, 0xA2, "MediaPlayPause"},
    {260, 0xA4, "MediaStop"},
    {129, 0xAE, "AudioVolumeDown"},
    {128, 0xB0, "AudioVolumeUp"},
    {269, 0xB2, "BrowserHome"},
    {133, 0xB3, "NumpadComma"},
    {84, 0xB5, "NumpadDivide"},
    {70, 0xB7, "PrintScreen"},
    {230, 0xB8, "AltRight"},
    {72, 0xC5, "Pause"},
    {74, 0xC7, "Home"},
    {82, 0xC8, "ArrowUp"},
    {75, 0xC9, "PageUp"},
    {80, 0xCB, "ArrowLeft"},
    {79, 0xCD, "ArrowRight"},
    {77, 0xCF, "End"},
    {81, 0xD0, "ArrowDown"},
    {78, 0xD1, "PageDown"},
    {73, 0xD2, "Insert"},
    {76, 0xD3, "Delete"},
    {227, 0xDB, "MetaLeft"},
    {231, 0xDC, "MetaRight"},
    {101, 0xDD, "ContextMenu"},
    {102, 0xDE, "Power"},
    {282, 0xDF, "Sleep"},
    {268, 0xE5, "BrowserSearch"},
    {274, 0xE6, "BrowserFavorites"},
    {273, 0xE7, "BrowserRefresh"},
    {272, 0xE8, "BrowserStop"},
    {271, 0xE9, "BrowserForward"},
    {270, 0xEA, "BrowserBack"},
    {267, 0xEB, "LaunchApp1"},
    {265, 0xEC, "LaunchMail"},
    {263, 0xED, "MediaSelect"},
};

using KeyTable = std::array<uint8_t, kKeyNumberCount>;

constexpr KeyTable MakeTable() {
    KeyTable t{};
    for (const Key& k : kKeys) t[k.number] = k.dik;
    return t;
}

constexpr KeyTable kDikOfKey = MakeTable();

}  // namespace

uint8_t DikFromKeyNumber(int key) {
    if (key < 0 || key >= kKeyNumberCount) return 0;
    return kDikOfKey[key];
}

// A browser looks up one name per key event: a scan of the table is cheap enough.
uint8_t DikFromCodeName(std::string_view code) {
    for (const Key& k : kKeys) {
        if (k.code == code) return k.dik;
    }
    return 0;
}

void MapKeyboardState(const uint8_t* state, int numKeys, uint8_t out[256]) {
    std::memset(out, 0, 256);
    for (const Key& k : kKeys) {
        if (k.number < numKeys && state[k.number]) out[k.dik] = 0x80;
    }
}

}  // namespace plat
