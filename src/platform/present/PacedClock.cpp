#include "platform/present/PacedClock.h"

#include <algorithm>
#include <utility>

namespace plat {
namespace {

// After a stall longer than this (a busy machine, a debugger) the clock does not catch the whole
// delay up: a burst of frames would only look like a jump.
constexpr uint32_t kMaxLatenessMs = 250;
// Even when always behind, the page gets the browser back this often.
constexpr uint32_t kLongestRunMs = 50;

}  // namespace

PacedClock::PacedClock(RealMs realMs, WaitForFrame waitForFrame)
    : m_realMs(std::move(realMs)), m_waitForFrame(std::move(waitForFrame)), m_start(m_realMs()) {}

// When the clock has caught up, the browser's next animation frame comes first. A frame therefore
// starts exactly at its due time, and a late frame is followed at once by the ones that fell due
// meanwhile.
bool PacedClock::Step(uint32_t ms) {
    uint32_t now = RealElapsed();
    if (m_clock >= now || now - m_lastYield > kLongestRunMs) {
        m_waitForFrame();
        now = RealElapsed();
        m_lastYield = now;
    }
    if (m_resync || now - m_clock > kMaxLatenessMs) {
        m_clock = now;
        m_resync = false;
        return true;
    }
    m_clock = std::min(m_clock + ms, now);
    return false;
}

}  // namespace plat
