// Polled keyboard: every query reads the whole device again (level-detected, no events).
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
