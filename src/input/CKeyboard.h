// Polled keyboard: every query reads the whole 256-key snapshot again (level-detected, no events);
// during a frame the platform gives the snapshot it took before the frame.
#pragma once

#include <cstdint>

class CKeyboard {
public:
    CKeyboard() = default;
    virtual ~CKeyboard() = default;

    int Create();
    int Release();
    int IsKeyDown(int scanCode);

    uint8_t keyState[256] = {};

private:
    bool device = false;
    bool input = false;
};
