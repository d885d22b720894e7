#include "platform/devices/PadInput.h"

#include <algorithm>
#include <cmath>

namespace plat {
namespace {

// The game's scan codes (GameKeys.h); the items' keys 1 to 9, 0 follow one another.
constexpr uint8_t kEscape = 0x01;
constexpr uint8_t kFirstItemKey = 0x02;
constexpr uint8_t kSpace = 0x39;
constexpr int kItems = 10;

constexpr double kDeadZone = 0.24;          // a stick at rest reads up to about a quarter
constexpr uint32_t kFullTiltCrossMs = 500;  // full tilt crosses the picture in half a second
constexpr int kDpadRampFrames = 16;         // the d-pad reaches full speed after this many frames
constexpr uint32_t kDoublePressMs = 1000;
constexpr uint32_t kCursorShownMs = 4000;

}  // namespace

PadInput::PadInput(const GameShape& shape, double speed)
    : m_fullTilt(speed * shape.width * shape.frameMs / kFullTiltCrossMs) {}

void PadInput::Press(PadButton button, bool down, uint32_t ms) {
    switch (button) {
        case PadButton::South:
            m_button = down;
            m_buttonTapped |= down;
            break;
        case PadButton::Start:
            SetKey(kSpace, down);
            break;
        case PadButton::Back:
            if (!down) break;
            if (m_backPressed && ms - m_backMs <= kDoublePressMs) {
                m_tapped[kEscape] = 0x80;
                m_backPressed = false;
            } else {
                m_backPressed = true;
                m_backMs = ms;
            }
            break;
        case PadButton::LeftShoulder:
        case PadButton::RightShoulder:
            if (!down) break;
            m_cursor = (m_cursor + (button == PadButton::LeftShoulder ? kItems - 1 : 1)) % kItems;
            m_cursorUsed = true;
            m_cursorMs = ms;
            break;
        case PadButton::West:
            // The key stays the one pressed even if the cursor moves on while X is held.
            if (down && !m_itemKey) m_itemKey = static_cast<uint8_t>(kFirstItemKey + m_cursor);
            if (m_itemKey) SetKey(m_itemKey, down);
            if (!down) m_itemKey = 0;
            m_cursorUsed = true;
            m_cursorMs = ms;
            break;
        case PadButton::DpadLeft:
            m_left = down;
            break;
        case PadButton::DpadRight:
            m_right = down;
            break;
    }
}

void PadInput::Tilt(double x) {
    m_tilt = std::clamp(x, -1.0, 1.0);
}

void PadInput::Release() {
    m_tilt = 0;
    m_left = m_right = m_button = false;
    std::fill(std::begin(m_held), std::end(m_held), 0);
    m_itemKey = 0;
    m_backPressed = false;
}

// The d-pad starts slowly for small steps and reaches full speed; the stick's speed rises with the
// square of its tilt past the dead zone, for fine control near the centre.
int32_t PadInput::TakeMotion() {
    double perFrame = 0;
    if (m_left != m_right) {
        m_dpadFrames = std::min(m_dpadFrames + 1, kDpadRampFrames);
        perFrame = (m_right ? 1 : -1) * m_fullTilt * m_dpadFrames / kDpadRampFrames;
    } else {
        m_dpadFrames = 0;
        const double past = std::max(0.0, std::abs(m_tilt) - kDeadZone) / (1 - kDeadZone);
        perFrame = std::copysign(past * past, m_tilt) * m_fullTilt;
    }
    if (perFrame == 0) m_remainder = 0;
    const double moved = perFrame + m_remainder;
    const double whole = std::trunc(moved);
    m_remainder = moved - whole;
    return static_cast<int32_t>(whole);
}

bool PadInput::TakeLeftButton() {
    const bool down = m_button || m_buttonTapped;
    m_buttonTapped = false;
    return down;
}

void PadInput::AddKeys(uint8_t state[256]) const {
    for (int i = 0; i < 256; ++i) state[i] |= m_held[i] | m_tapped[i];
}

void PadInput::ForgetTaps() {
    std::fill(std::begin(m_tapped), std::end(m_tapped), 0);
}

int PadInput::ShopCursor(uint32_t ms) const {
    return m_cursorUsed && ms - m_cursorMs < kCursorShownMs ? m_cursor : -1;
}

void PadInput::SetKey(uint8_t key, bool down) {
    m_held[key] = down ? 0x80 : 0;
    if (down) m_tapped[key] = 0x80;
}

}  // namespace plat
