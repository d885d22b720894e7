#include "platform/web/PageInput.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <iterator>

// The page's side (index.html): the first gamepad with the standard mapping, its buttons as a mask
// of their standard numbers and the left stick's sideways axis, or -1 when there is none; and
// where to show the shop cursor. The browser shows a page no pad before its first
// "gamepadconnected", so until then there is nothing to read.
// clang-format off
EM_JS(int, plinkwell_read_pad, (double* stick), {
    if (!Module.plinkwellPage.padConnected) return -1;
    const pads = navigator.getGamepads ? navigator.getGamepads() : [];
    for (const pad of pads) {
        if (!pad || !pad.connected || pad.mapping !== 'standard') continue;
        let mask = 0;
        pad.buttons.forEach((b, i) => { if (b.pressed && i < 31) mask |= 1 << i; });
        HEAPF64[stick >> 3] = pad.axes[0] || 0;
        if (Module.plinkwellPage.padPolled) Module.plinkwellPage.padPolled(mask, pad.axes[0] || 0);
        return mask;
    }
    return -1;
});
EM_JS(void, plinkwell_show_shop_cursor, (int item), {
    if (Module.plinkwellPage.showShopCursor) Module.plinkwellPage.showShopCursor(item);
});
// clang-format on

namespace plat::web {
namespace {

PageInput* g_page = nullptr;

struct StandardButton {
    int index;  // in the standard mapping
    PadButton button;
};
constexpr StandardButton kStandard[] = {
    {0, PadButton::South}, {2, PadButton::West},  {4, PadButton::LeftShoulder}, {5, PadButton::RightShoulder},
    {8, PadButton::Back},  {9, PadButton::Start}, {14, PadButton::DpadLeft},    {15, PadButton::DpadRight},
};

}  // namespace

uint32_t PageInput::NowMs() {
    return static_cast<uint32_t>(emscripten_get_now());
}

PageInput::PageInput(const GameShape& shape, double padSpeed, std::function<void(bool)> pause)
    : m_pad(shape, padSpeed), m_pause(std::move(pause)) {
    g_page = this;
}

PageInput::~PageInput() {
    if (g_page == this) g_page = nullptr;
}

void PageInput::AddKeys(uint8_t state[256]) const {
    for (int i = 0; i < 256; ++i) state[i] |= m_held[i] | m_tapped[i];
    m_pad.AddKeys(state);
}

int32_t PageInput::TakeMotion() {
    const int32_t dx = m_motion + m_pad.TakeMotion();
    m_motion = 0;
    return dx;
}

bool PageInput::TakeButton() {
    const bool down = m_button || m_buttonTapped || m_pad.TakeLeftButton();
    m_buttonTapped = false;
    return down;
}

void PageInput::EndFrame() {
    std::fill(std::begin(m_tapped), std::end(m_tapped), 0);
    m_pad.ForgetTaps();
    const uint32_t now = NowMs();
    PollPad(now);
    if (const int cursor = m_pad.ShopCursor(now); cursor != m_cursor) {
        m_cursor = cursor;
        plinkwell_show_shop_cursor(cursor);
    }
}

// Presses and releases since the last poll; a pad gone pauses the game, and its return resumes it.
void PageInput::PollPad(uint32_t ms) {
    double stick = 0;
    const int buttons = plinkwell_read_pad(&stick);
    if (buttons < 0 && m_padButtons >= 0) {
        m_pad.Release();
        m_padLost = true;
        m_pause(true);
    } else if (buttons >= 0 && m_padLost) {
        m_padLost = false;
        m_pause(false);
    }
    if (buttons >= 0) {
        const int before = std::max(m_padButtons, 0);
        for (const StandardButton& b : kStandard) {
            const bool down = (buttons >> b.index) & 1;
            if (down != (((before >> b.index) & 1) != 0)) m_pad.Press(b.button, down, ms);
        }
        m_pad.Tilt(stick);
    }
    m_padButtons = buttons;
}

void PageInput::Key(uint8_t dik, bool down) {
    m_held[dik] = down ? 0x80 : 0;
    if (down) m_tapped[dik] = 0x80;
}

void PageInput::Button(bool down) {
    m_button = down;
    m_buttonTapped |= down;
}

}  // namespace plat::web

// The page's controls (index.html); nothing happens while no game runs.
extern "C" {

EMSCRIPTEN_KEEPALIVE void plinkwell_page_key(int dik, int down) {
    if (plat::web::g_page && dik > 0 && dik < 256)
        plat::web::g_page->Key(static_cast<uint8_t>(dik), down != 0);
}

EMSCRIPTEN_KEEPALIVE void plinkwell_page_button(int down) {
    if (plat::web::g_page) plat::web::g_page->Button(down != 0);
}

EMSCRIPTEN_KEEPALIVE void plinkwell_page_motion(int dx) {
    if (plat::web::g_page) plat::web::g_page->Motion(dx);
}
}
