#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/present/PacedClock.h"

namespace {

constexpr uint32_t kStart = 1600, kAnimationFrameMs = 16, kFrameMs = 15;

// The browser's real time: it moves on only by the game's work, at the page's animation frames and
// in a stall, when the browser gives the page control back late.
struct FakePage {
    uint32_t now = kStart, stallMs = 0, controlSince = kStart, longestRun = 0;
    void WaitForFrame() {
        longestRun = std::max(longestRun, now - controlSince);
        now = (now + stallMs) / kAnimationFrameMs * kAnimationFrameMs + kAnimationFrameMs;
        stallMs = 0;
        controlSince = now;
    }
};

struct Row {
    const char* what;
    uint32_t frameCostMs, stallAfterFrame, stallMs;
    std::vector<uint32_t> due;  // the clock at each frame
};

}  // namespace

// The loop of the web backend's game (PeekMessage's step, the game's frame once 15 ms have passed,
// the wait for the next one) on a clock whose real time a fake page steps.
TEST(PacedClock, FramesStartAtTheirDueTimes) {
    const Row rows[] = {
        {"real speed", 0, 0, 0, {15, 30, 45, 60, 75, 90}},
        {"a 100 ms stall is caught up", 0, 2, 100, {15, 30, 45, 60, 75, 90, 105, 120, 135, 150}},
        {"a 400 ms stall resyncs", 0, 2, 400, {15, 30, 448, 463, 478}},
        {"always behind, 20 ms a frame", 20, 0, 0, {15, 30, 45, 60, 75, 90}},
    };
    for (const Row& row : rows) {
        FakePage page;
        plat::PacedClock clock([&] { return page.now; }, [&] { page.WaitForFrame(); });
        std::vector<uint32_t> due;
        bool ahead = false;
        for (uint32_t last = clock.Read(), pass = 0; due.size() < row.due.size() && pass < 1000; ++pass) {
            if (clock.Seen()) clock.Step(1);
            ahead |= clock.Read() > page.now - kStart;
            if (clock.Read() - last >= kFrameMs) {
                due.push_back(last = clock.Read());
                page.now += row.frameCostMs;
                if (due.size() == row.stallAfterFrame) page.stallMs = row.stallMs;
            }
            if (clock.Read() - last < kFrameMs) clock.Step(kFrameMs - (clock.Read() - last));
        }
        EXPECT_EQ(due, row.due) << row.what;
        EXPECT_FALSE(ahead) << row.what;
        EXPECT_LE(std::max(page.longestRun, page.now - page.controlSince), 50 + row.frameCostMs) << row.what;
    }
}
