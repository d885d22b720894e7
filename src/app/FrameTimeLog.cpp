#include "app/FrameTimeLog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/base/Files.h"

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
    plat::Result<plat::OutputFile> file = plat::OutputFile::Create(m_path);
    plat::Status written = file ? plat::Success() : plat::Fail(file.Error());
    if (file) {
        for (const Frame& f : m_frames) {
            const std::string line = std::to_string(f.start) + ' ' + std::to_string(f.end) + ' ' +
                                     std::to_string(f.gameClock) + '\n';
            file->Write(line.data(), line.size());
        }
        written = file->Commit();
    }
    if (!written) std::fprintf(stderr, "plinkwell: cannot write the frame log %s\n", written.Error().c_str());
}

int64_t FrameTimeLog::Now() const {
    if (!IsOn()) return 0;
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(since).count();
}

void FrameTimeLog::Add(int64_t start, int64_t end, uint32_t gameClock) {
    if (IsOn()) m_frames.push_back(Frame{start, end, gameClock});
}
