// What the file gateway's POSIX and Windows forms (Files_posix.cpp, Files_windows.cpp) share.
#include "platform/base/Files.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace plat {
namespace {

constexpr size_t kOutputBuffer = size_t{1} << 16;

}  // namespace

int64_t MemoryBytes::ReadAt(int64_t offset, void* buffer, int64_t count) const {
    if (offset < 0 || count < 0) return -1;
    const int64_t got = std::min(count, std::max<int64_t>(Size() - offset, 0));
    if (got > 0)
        std::memcpy(buffer, m_bytes + offset, static_cast<size_t>(got));  // buffer may be null when 0
    return got;
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)),
      m_path(std::move(other.m_path)),
      m_dir(std::exchange(other.m_dir, -1)),
      m_name(std::move(other.m_name)),
      m_temp(std::move(other.m_temp)),
      m_place(std::exchange(other.m_place, -1)),
      m_append(other.m_append),
      m_pending(std::move(other.m_pending)),
      m_error(other.m_error) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
    if (this != &other) {
        Abandon();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
        m_dir = std::exchange(other.m_dir, -1);
        m_name = std::move(other.m_name);
        m_temp = std::move(other.m_temp);
        m_place = std::exchange(other.m_place, -1);
        m_append = other.m_append;
        m_pending = std::move(other.m_pending);
        m_error = other.m_error;
    }
    return *this;
}

OutputFile::~OutputFile() {
    Abandon();
}

void OutputFile::Write(const void* data, size_t size) {
    if (m_fd < 0 || m_error != 0) return;
    m_pending.append(static_cast<const char*>(data), size);
    if (m_pending.size() >= kOutputBuffer) Flush();
}

bool FileKey::operator==(const FileKey& other) const {
    return exists == other.exists && device == other.device && inode == other.inode && name == other.name;
}

}  // namespace plat
