#include "platform/base/Files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <utility>

namespace plat {
namespace {

constexpr int64_t kMaxReadChunk = int64_t{1} << 30;
constexpr size_t kOutputBuffer = size_t{1} << 16;

std::string Quote(const std::string& path) {
    return "'" + path + "'";
}

std::string Describe(const std::string& path, int error) {
    return Quote(path) + ": " + std::strerror(error);
}

// The descriptor a path names as a shell passes one: "-" (dash), /dev/stdin, /dev/stdout,
// /dev/stderr, /dev/fd/N, /proc/self/fd/N; -1 for any other path.
int DescriptorOf(const std::string& path, int dash) {
    if (path == "-") return dash;
    constexpr std::pair<std::string_view, int> kStandard[] = {
        {"/dev/stdin", STDIN_FILENO}, {"/dev/stdout", STDOUT_FILENO}, {"/dev/stderr", STDERR_FILENO}};
    for (const auto& [name, fd] : kStandard) {
        if (path == name) return fd;
    }
    for (const std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        if (!std::string_view(path).starts_with(prefix)) continue;
        const char* first = path.data() + prefix.size();
        const char* last = path.data() + path.size();
        int fd = -1;
        const auto [end, ec] = std::from_chars(first, last, fd);
        return ec == std::errc{} && end == last && first != last ? fd : -1;
    }
    return -1;
}

// A copy of an open descriptor that can be read (or written), or the errno why not.
Result<int> Duplicate(const std::string& path, int fd, bool writing) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0) return Fail(Describe(path, errno));
    const int mode = flags & O_ACCMODE;
    if (mode != O_RDWR && mode != (writing ? O_WRONLY : O_RDONLY)) return Fail(Describe(path, EBADF));
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) return Fail(Describe(path, errno));
    return copy;
}

// Reads until count bytes, the end of the file, or an error (-1).
int64_t ReadFully(int fd, int64_t offset, void* buffer, int64_t count) {
    int64_t total = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    while (total < count) {
        const size_t want = static_cast<size_t>(std::min(count - total, kMaxReadChunk));
        const ssize_t got = ::pread(fd, out + total, want, static_cast<off_t>(offset + total));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        total += got;
    }
    return total;
}

bool WriteFully(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        data += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

// The path a write really lands on: links followed; for a new file, its directory resolved.
Result<std::string> ResolveTarget(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    if (ec) return Fail(Describe(path, ec.value()));
    return resolved.string();
}

// The start of the names of target's temporary files: ".<name>.plinkwell-<pid>-<n>.tmp".
std::string TempPrefix(const std::filesystem::path& target) {
    return "." + target.filename().string() + ".plinkwell-";
}

// Removes the temporary files of target left by runs that are gone (killed, or out of power).
void RemoveStaleTemps(const std::filesystem::path& target) {
    const std::string prefix = TempPrefix(target);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(target.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || !name.ends_with(".tmp")) continue;
        const char* first = name.data() + prefix.size();
        pid_t pid = 0;
        const auto [end, error] = std::from_chars(first, name.data() + name.size(), pid);
        if (error != std::errc{} || end == first || *end != '-' || pid <= 0) continue;
        if (::kill(pid, 0) != 0 && errno == ESRCH) ::unlink(entry.path().c_str());
    }
}

// A new file beside target, open for writing, with a name no other run picks.
Result<int> CreateTemp(const std::string& target, std::string* temp) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path t(target);
    RemoveStaleTemps(t);
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temp = (t.parent_path() /
                 (TempPrefix(t) + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp"))
                    .string();
        const int fd = ::open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) return Fail(Describe(target, errno));
    }
    return Fail(Describe(target, EEXIST));
}

void SyncDirectory(const std::string& file) {
    const std::string dir = std::filesystem::path(file).parent_path().string();
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

int64_t MemoryBytes::ReadAt(int64_t offset, void* buffer, int64_t count) const {
    if (offset < 0 || count < 0) return -1;
    const int64_t got = std::min(count, std::max<int64_t>(Size() - offset, 0));
    if (got > 0)
        std::memcpy(buffer, m_bytes + offset, static_cast<size_t>(got));  // buffer may be null when 0
    return got;
}

Result<DataFile> DataFile::Open(const std::string& path) {
    // Non-blocking, so that opening a FIFO with no writer returns at once.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return Fail(Describe(path, errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Fail(Quote(path) + ": not a regular file");
    }
    return DataFile(fd, static_cast<int64_t>(st.st_size));
}

DataFile::DataFile(DataFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_size(std::exchange(other.m_size, 0)) {}

DataFile& DataFile::operator=(DataFile&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

DataFile::~DataFile() {
    if (m_fd >= 0) ::close(m_fd);
}

int64_t DataFile::ReadAt(int64_t offset, void* buffer, int64_t count) const {
    if (offset < 0 || count < 0) return -1;
    return ReadFully(m_fd, offset, buffer, count);
}

Result<std::string> ReadStream(const std::string& path, size_t limit) {
    int fd = -1;
    if (const int named = DescriptorOf(path, STDIN_FILENO); named >= 0) {
        const Result<int> copy = Duplicate(path, named, false);
        if (!copy) return Fail(copy.Error());
        fd = *copy;
    } else if ((fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY)) < 0) {
        return Fail(Describe(path, errno));
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return Fail(Describe(path, EISDIR));
    }
    std::string text;
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            return Fail(Describe(path, error));
        }
        if (got == 0) break;
        if (text.size() + static_cast<size_t>(got) > limit) {
            ::close(fd);
            return Fail(Quote(path) + ": larger than " + std::to_string(limit >> 20) + " MiB");
        }
        text.append(chunk, static_cast<size_t>(got));
    }
    ::close(fd);
    return text;
}

Result<OutputFile> OutputFile::Create(const std::string& path) {
    OutputFile out;
    out.m_path = path;
    if (const int named = DescriptorOf(path, STDOUT_FILENO); named >= 0) {
        // Written to the descriptor as it stands, appending where it was opened to append: the
        // file behind it (another program's output, a log) is never replaced.
        const Result<int> copy = Duplicate(path, named, true);
        if (!copy) return Fail(copy.Error());
        out.m_fd = *copy;
        return out;
    }
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return Fail(Describe(path, EISDIR));
    if (exists && !S_ISREG(st.st_mode)) {
        // A pipe, terminal or device: written as it comes, as a stream.
        out.m_fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (out.m_fd < 0) return Fail(Describe(path, errno));
        return out;
    }
    Result<std::string> target = ResolveTarget(path);
    if (!target) return Fail(target.Error());
    // The target must be writable by us now, not only at the rename.
    if (exists && ::access(target->c_str(), W_OK) != 0) return Fail(Describe(path, errno));
    Result<int> fd = CreateTemp(*target, &out.m_temp);
    if (!fd) return Fail(fd.Error());
    out.m_fd = *fd;
    out.m_target = std::move(*target);
    if (exists) ::fchmod(out.m_fd, st.st_mode & 07777);
    return out;
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)),
      m_path(std::move(other.m_path)),
      m_target(std::move(other.m_target)),
      m_temp(std::move(other.m_temp)),
      m_pending(std::move(other.m_pending)),
      m_error(other.m_error) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
    if (this != &other) {
        Abandon();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
        m_target = std::move(other.m_target);
        m_temp = std::move(other.m_temp);
        m_pending = std::move(other.m_pending);
        m_error = other.m_error;
    }
    return *this;
}

OutputFile::~OutputFile() {
    Abandon();
}

void OutputFile::Abandon() {
    if (m_fd < 0) return;
    ::close(m_fd);
    m_fd = -1;
    if (!m_temp.empty()) ::unlink(m_temp.c_str());
}

void OutputFile::Write(const void* data, size_t size) {
    if (m_fd < 0 || m_error != 0) return;
    m_pending.append(static_cast<const char*>(data), size);
    if (m_pending.size() >= kOutputBuffer) Flush();
}

bool OutputFile::Flush() {
    if (m_error == 0 && !WriteFully(m_fd, m_pending.data(), m_pending.size())) m_error = errno ? errno : EIO;
    m_pending.clear();
    return m_error == 0;
}

Status OutputFile::Commit() {
    if (m_fd < 0) return Fail(Describe(m_path, EBADF));
    bool ok = Flush();
    if (ok && !m_temp.empty() && ::fsync(m_fd) != 0) {
        m_error = errno;
        ok = false;
    }
    if (::close(m_fd) != 0 && ok) {
        m_error = errno;
        ok = false;
    }
    m_fd = -1;
    if (ok && !m_temp.empty() && ::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        m_error = errno;
        ok = false;
    }
    if (!ok) {
        if (!m_temp.empty()) ::unlink(m_temp.c_str());
        return Fail(Describe(m_path, m_error));
    }
    if (!m_temp.empty()) SyncDirectory(m_target);
    return Success();
}

bool FileKey::operator==(const FileKey& other) const {
    if (exists != other.exists) return false;
    return exists ? device == other.device && inode == other.inode : path == other.path;
}

Result<FileKey> KeyOf(const std::string& path) {
    FileKey key;
    if (NamesDescriptor(path)) {
        key.exists = true;  // a stream, whatever is behind it
        return key;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        key.exists = true;
        key.device = st.st_dev;
        key.inode = st.st_ino;
        key.regular = S_ISREG(st.st_mode);
        return key;
    }
    Result<std::string> resolved = ResolveTarget(path);
    if (!resolved) return Fail(resolved.Error());
    key.path = std::filesystem::path(*resolved).lexically_normal().string();
    return key;
}

Status CheckDirectory(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return Fail(Describe(path, errno));
    if (!S_ISDIR(st.st_mode)) return Fail(Quote(path) + " is not a directory");
    return Success();
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool NamesDescriptor(const std::string& path) {
    return DescriptorOf(path, STDOUT_FILENO) >= 0;
}

void ReportWriteSignalsAsErrors() {
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

}  // namespace plat
