// The page's own controls and the browser's gamepads, turned into the input the game already reads
// (as the desktop's pads are): the touch buttons hold keys or the left button, a finger dragged on
// the picture moves the paddle by relative motion, and the first gamepad with the standard mapping
// is read once a frame through PadInput. The page calls the plinkwell_page_* functions; one
// PageInput takes them while it lives.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/devices/PadInput.h"

namespace plat::web {

class PageInput {
public:
    // pause holds the game while the pad is unplugged, and lets it go on when it is back.
    PageInput(const GameShape& shape, double padSpeed, std::function<void(bool)> pause);
    ~PageInput();
    PageInput(const PageInput&) = delete;
    PageInput& operator=(const PageInput&) = delete;

    // What the game reads, added to the keyboard's and the mouse's.
    void AddKeys(uint8_t state[256]) const;
    int32_t TakeMotion();
    bool TakeButton();
    // After a frame is shown: the gamepad is read for the next one and the presses the frame saw
    // are forgotten.
    void EndFrame();
    // While paused: only the gamepad is read, to see an unplugged one come back.
    void PollPad() { PollPad(NowMs()); }

    // From the page.
    void Key(uint8_t dik, bool down);
    void Button(bool down);
    void Motion(int32_t dx) { m_motion += dx; }

private:
    static uint32_t NowMs();
    void PollPad(uint32_t ms);

    PadInput m_pad;
    std::function<void(bool)> m_pause;
    uint8_t m_held[256] = {};
    uint8_t m_tapped[256] = {};
    bool m_button = false, m_buttonTapped = false;
    int32_t m_motion = 0;
    int m_padButtons = -1;  // the pad's buttons at the last poll; -1: no pad
    bool m_padLost = false;
    int m_cursor = -1;  // the shop cursor the page shows
};

}  // namespace plat::web
