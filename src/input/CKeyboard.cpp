#include "input/CKeyboard.h"

#include <cstring>

#include "platform/Platform.h"

// Our platform has no separate input object or device to fail: both exist once created.
int CKeyboard::Create() {
    input = true;
    device = true;
    return 1;
}

int CKeyboard::Release() {
    if (!input) return 1;
    device = false;
    input = false;
    return 1;
}

int CKeyboard::IsKeyDown(int scanCode) {
    if (device) {
        plat::ReadKeyboard(keyState);
    } else {
        std::memset(keyState, 0, sizeof keyState);  // no device: every key up
    }
    return (keyState[scanCode & 0xFF] & 0x80) ? 1 : 0;
}
