// The frame time log the performance scripts read: off unless asked for, one line a frame, in the
// steady clock the scripts' own time stamps use.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/CGameApp.h"
#include "app/FrameTimeLog.h"
#include "platform/automation/Automation.h"
#include "support/FakeBackend.h"

namespace fs = std::filesystem;

namespace {

fs::path LogPath(const std::string& name) {
    return fs::temp_directory_path() / ("plinkwell_frames_" + name + "_" + std::to_string(::getpid()));
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// Every pass is 15 ms after the one before, so every tick runs a frame; quits after `passes`.
class PacedBackend : public FakeBackend {
public:
    bool PeekMessage(plat::Message* msg) override {
        if (passes-- == 0) quit = true;
        now += 15;
        return FakeBackend::PeekMessage(msg);
    }
    int passes = 0;
};

}  // namespace

TEST(FrameTimeLog, WithoutAPathItIsOffAndReadsNoClock) {
    FrameTimeLog log{""};
    EXPECT_FALSE(log.IsOn());
    EXPECT_EQ(log.Now(), 0);
}

TEST(FrameTimeLog, WritesOneLineAFrameOnlyWhenItGoes) {
    const fs::path path = LogPath("lines");
    {
        FrameTimeLog log{path.string()};
        ASSERT_TRUE(log.IsOn());
        log.Add(1000, 1500, 100015);
        log.Add(15001000, 15001700, 100030);
        EXPECT_FALSE(fs::exists(path));  // nothing is written while frames are being timed
    }
    EXPECT_EQ(ReadAll(path), "1000 1500 100015\n15001000 15001700 100030\n");
    fs::remove(path);
}

TEST(FrameTimeLog, CountsInTheMonotonicClockOfOtherProcesses) {
    FrameTimeLog log{LogPath("clock").string()};
    const int64_t before = MonotonicNs();
    const int64_t now = log.Now();
    const int64_t after = MonotonicNs();
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
}

TEST(FrameTimeLog, TheShellLogsEveryFrameItRunsWhenTheEnvironmentAsks) {
    const fs::path path = LogPath("shell");
    ASSERT_EQ(setenv("PLINKWELL_FRAME_LOG", path.c_str(), 1), 0);
    {
        PacedBackend backend;
        auto app = std::make_unique<CGameApp>();
        ASSERT_EQ(app->InitInstance(), 1);
        backend.passes = 3;
        app->Run();
    }
    unsetenv("PLINKWELL_FRAME_LOG");

    std::istringstream lines(ReadAll(path));
    std::vector<uint32_t> clocks;
    int64_t start = 0, end = 0, previousStart = 0;
    uint32_t clock = 0;
    while (lines >> start >> end >> clock) {
        EXPECT_LE(start, end);
        EXPECT_LE(previousStart, start);
        previousStart = start;
        clocks.push_back(clock);
    }
    EXPECT_EQ(clocks, (std::vector<uint32_t>{100015, 100030, 100045}));
    fs::remove(path);
}
