// The browser's game clock: milliseconds that follow the real time but move on only as the loop
// steps them, so a frame starts exactly at its due time. The page cannot block, so when the clock
// has caught up the loop hands the browser control until its next animation frame instead of
// sleeping. Kept apart from the page so that the pacing can be checked with a fake real time.
#pragma once

#include <cstdint>
#include <functional>

namespace plat {

class PacedClock {
public:
    using RealMs = std::function<double()>;      // the real time in milliseconds, from any origin
    using WaitForFrame = std::function<void()>;  // gives the page control until its next animation frame

    PacedClock(RealMs realMs, WaitForFrame waitForFrame);

    // Milliseconds since the clock started, as the game reads them; the read is remembered.
    uint32_t Read() {
        m_seen = m_clock;
        return m_clock;
    }
    uint32_t Elapsed() const { return m_clock; }
    // Whether the game has read the clock since it last moved.
    bool Seen() const { return m_seen == m_clock; }

    // Moves the clock on by ms, but not past the real time; true when it jumped to the real time
    // instead (after a pause or a long stall).
    bool Step(uint32_t ms);
    // Whether the next step jumps to the real time: the time spent paused is not caught up.
    void SetResync(bool resync) { m_resync = resync; }

private:
    uint32_t RealElapsed() const { return static_cast<uint32_t>(m_realMs() - m_start); }

    RealMs m_realMs;
    WaitForFrame m_waitForFrame;
    double m_start;
    uint32_t m_lastYield = 0;
    uint32_t m_clock = 0;
    uint32_t m_seen = UINT32_MAX;
    bool m_resync = false;
};

}  // namespace plat
