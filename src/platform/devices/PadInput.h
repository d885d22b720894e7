// A gamepad translated into the input the game already reads, so that a game played with a pad is
// recorded and replayed as an ordinary input script: the left stick and the d-pad become sideways
// mouse motion, A (south) the left button, Start the Space key, Back twice within a second Escape;
// the shoulders move a shop cursor along the ten items and X (west) holds the number key of the
// item under it. Knows no device: the SDL backend and the browser feed it.
#pragma once

#include <cstdint>

#include "platform/Platform.h"

namespace plat {

enum class PadButton { South, West, Start, Back, LeftShoulder, RightShoulder, DpadLeft, DpadRight };

class PadInput {
public:
    // speed is the player's factor on the paddle speed (--pad-speed).
    PadInput(const GameShape& shape, double speed);

    // A button went down or up; ms is the pad's clock, for the double press of Back.
    void Press(PadButton button, bool down, uint32_t ms);
    // The left stick's sideways position, -1 (full left) to 1 (full right).
    void Tilt(double x);
    // Every button and the stick let go, as when the pad is gone.
    void Release();

    // One frame's paddle motion: the game reads the mouse once a frame.
    int32_t TakeMotion();
    // The left button: down while A is held, or pressed since the last read.
    bool TakeLeftButton();
    // Adds the keys the pad holds, or pressed since ForgetTaps, to a DirectInput key snapshot.
    void AddKeys(uint8_t state[256]) const;
    // The frame that could see the presses so far is over.
    void ForgetTaps();
    // The item under the shop cursor (0 for the key 1, ..., 9 for the key 0), or -1 when the
    // cursor has not been used for a few seconds at ms.
    int ShopCursor(uint32_t ms) const;

private:
    void SetKey(uint8_t key, bool down);

    double m_fullTilt;  // paddle pixels a frame at full tilt
    double m_tilt = 0;
    bool m_left = false, m_right = false;
    int m_dpadFrames = 0;  // reads the d-pad has been held for
    double m_remainder = 0;
    bool m_button = false, m_buttonTapped = false;
    uint8_t m_held[256] = {};
    uint8_t m_tapped[256] = {};
    uint8_t m_itemKey = 0;  // the key X holds down, 0 when none
    bool m_backPressed = false;
    uint32_t m_backMs = 0;
    int m_cursor = 0;
    bool m_cursorUsed = false;
    uint32_t m_cursorMs = 0;
};

}  // namespace plat
