#include "app/FrameTimeLog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr size_t kReserved = 1 << 16;  // about 16 minutes of play before the vector grows

std::string PathFromEnvironment() {
    const char* path = std::getenv("PLINKWELL_FRAME_LOG");
    return path ? path : "";
}

}  // namespace

FrameTimeLog::FrameTimeLog() : FrameTimeLog(PathFromEnvironment()) {}

FrameTimeLog::FrameTimeLog(std::string path) : m_path(std::move(path)) {
    if (IsOn()) m_frames.reserve(kReserved);  // no allocation while frames are being timed
}

FrameTimeLog::~FrameTimeLog() {
    if (!IsOn()) return;
    std::FILE* file = std::fopen(m_path.c_str(), "w");
    if (!file) {
        std::fprintf(stderr, "plinkwell: cannot write the frame log '%s'\n", m_path.c_str());
        return;
    }
    for (const Frame& f : m_frames) {
        std::fprintf(file, "%lld %lld %u\n", static_cast<long long>(f.start), static_cast<long long>(f.end),
                     f.gameClock);
    }
    std::fclose(file);
}

int64_t FrameTimeLog::Now() const {
    if (!IsOn()) return 0;
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(since).count();
}

void FrameTimeLog::Add(int64_t start, int64_t end, uint32_t gameClock) {
    if (IsOn()) m_frames.push_back(Frame{start, end, gameClock});
}
