#include "input/CMouse.h"

int CMouse::Create() {
    input = true;
    device = true;
    return 1;
}

int CMouse::Release() {
    if (!input) return 1;
    device = false;
    input = false;
    return 1;
}

int CMouse::ReadState() {
    if (!device) {
        mouseState = plat::MouseState{};  // no device: no motion, no buttons
        return 0;
    }
    return plat::ReadMouse(&mouseState) == 0 ? 1 : 0;
}

int CMouse::GetDeltaX() {
    return mouseState.lX;
}

int CMouse::IsButtonDown(int button) {
    return (mouseState.rgbButtons[button & 3] & 0x80) ? 1 : 0;
}
