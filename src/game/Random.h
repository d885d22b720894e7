// The game's one random generator: a 32-bit linear congruential generator that starts at 1 and
// is never reseeded, so the same input always plays the same game.
#pragma once

#include <cstdint>

class Random {
public:
    // One draw: a value from 0 to 32767.
    int32_t Draw() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int32_t>((m_state >> 16) & 0x7FFF);
    }
    // One draw taken modulo n.
    int32_t Rnd(int32_t n) { return Draw() % n; }

    uint32_t State() const { return m_state; }
    void SetState(uint32_t state) { m_state = state; }

private:
    uint32_t m_state = 1;
};
