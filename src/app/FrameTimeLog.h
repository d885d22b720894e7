// Frame start times, for measuring the pace of play from outside. With PLINKWELL_FRAME_LOG=FILE in
// the environment, every frame's start and end (steady clock, nanoseconds) and the game clock's
// value for it are kept in memory and written to FILE when the log goes, one line a frame:
// "<start ns> <end ns> <m_dwLastFrame>". Off otherwise, costing one test a pass.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class FrameTimeLog {
public:
    // Reads the environment.
    FrameTimeLog();
    explicit FrameTimeLog(std::string path);
    FrameTimeLog(const FrameTimeLog&) = delete;
    FrameTimeLog& operator=(const FrameTimeLog&) = delete;
    ~FrameTimeLog();

    bool IsOn() const { return !m_path.empty(); }
    // The steady clock in nanoseconds when on, 0 when off.
    int64_t Now() const;
    void Add(int64_t start, int64_t end, uint32_t gameClock);

private:
    struct Frame {
        int64_t start;
        int64_t end;
        uint32_t gameClock;
    };

    std::string m_path;
    std::vector<Frame> m_frames;
};
