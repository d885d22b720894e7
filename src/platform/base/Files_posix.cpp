#include <dirent.h>
#include <fcntl.h>

#include "platform/base/Files.h"
#ifdef __linux__
#include <linux/magic.h>
#endif
#include <signal.h>
#include <sys/stat.h>
#include <sys/vfs.h>
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

// The path a chain of symbolic links ends at, even when its last target does not exist yet (a
// dangling link names the file to create, not a link to replace).
std::filesystem::path FollowLinks(std::filesystem::path path) {
    std::error_code ec;
    for (int hop = 0; hop < 40 && std::filesystem::is_symlink(path, ec); ++hop) {
        const std::filesystem::path next = std::filesystem::read_symlink(path, ec);
        if (ec) break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

// Where a write lands: its folder, held open so that neither a later change of the working folder
// nor an absolute path longer than PATH_MAX matters, and its name there.
struct Place {
    int dir = -1;
    std::string name;
};

Result<Place> OpenPlace(const std::string& path) {
    const std::filesystem::path target = FollowLinks(path);
    std::string name = target.filename().string();
    if (name.empty() || name == "." || name == "..") return Fail(Describe(path, EISDIR));
    const std::filesystem::path parent = target.parent_path();
    const int dir = ::open(parent.empty() ? "." : parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return Fail(Describe(path, errno));
    return Place{dir, std::move(name)};
}

// The start of the names of a target's temporary files: ".<name>.plinkwell-<pid>-<n>.tmp".
std::string TempPrefix(const std::string& name) {
    return "." + name + ".plinkwell-";
}

// Removes the temporary files of a target left by runs that are gone (killed, or out of power).
void RemoveStaleTemps(int dir, const std::string& name) {
    const std::string prefix = TempPrefix(name);
    const int listed = ::fcntl(dir, F_DUPFD_CLOEXEC, 0);
    DIR* entries = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (!entries) {
        if (listed >= 0) ::close(listed);
        return;
    }
    while (const dirent* entry = ::readdir(entries)) {
        const std::string_view temp = entry->d_name;
        if (!temp.starts_with(prefix) || !temp.ends_with(".tmp")) continue;
        const char* first = temp.data() + prefix.size();
        pid_t pid = 0;
        const auto [end, error] = std::from_chars(first, temp.data() + temp.size(), pid);
        if (error != std::errc{} || end == first || *end != '-' || pid <= 0) continue;
        if (::kill(pid, 0) != 0 && errno == ESRCH) ::unlinkat(dir, entry->d_name, 0);
    }
    ::closedir(entries);
}

// A new file beside the target, open for writing, with a name no other run picks.
Result<int> CreateTemp(const Place& place, const std::string& path, std::string* temp) {
    static std::atomic<unsigned> counter{0};
    RemoveStaleTemps(place.dir, place.name);
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temp =
            TempPrefix(place.name) + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
        const int fd = ::openat(place.dir, temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    const int error = errno;
    temp->clear();
    return Fail(Describe(path, error));
}

// Whether a "regular" file is the kernel's (/proc, /sys): it takes no replacement and no content
// of ours, whatever its mode says.
bool IsKernelFile(const std::string& path) {
#ifdef __linux__
    struct statfs fs {};
    if (::statfs(path.c_str(), &fs) != 0) return false;
    const auto type = static_cast<decltype(PROC_SUPER_MAGIC)>(fs.f_type);
    return type == PROC_SUPER_MAGIC || type == SYSFS_MAGIC || type == DEBUGFS_MAGIC;
#else
    (void)path;  // the browser's files are all the page's own
    return false;
#endif
}

// The existing output itself, open for writing without changing it; an append-only file
// (chattr +a) opens only to append, and says so.
Result<int> OpenInPlace(const std::string& path, bool* append) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    *append = fd < 0 && errno == EPERM;
    if (*append) fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return Fail(Describe(path, errno));
    return fd;
}

// Whether a new file renamed over this one keeps what it was: the only name of its content, owned
// by whoever runs the game (a rename by root would hand another user's file to root, and a sticky
// folder refuses the rename of another user's file at the end).
bool Replaceable(const struct stat& st) {
    return st.st_nlink == 1 && st.st_uid == ::geteuid();
}

// An unnamed file outside the output's folder for what is written in place at Commit, so that
// a game cut short leaves the file as it was and the memory used stays small.
Result<int> CreateSpool(const std::string& path) {
    std::FILE* spool = std::tmpfile();
    const int fd = spool ? ::fcntl(::fileno(spool), F_DUPFD_CLOEXEC, 0) : -1;
    const int error = errno;
    if (spool) std::fclose(spool);
    if (fd < 0) return Fail(Describe(path, error));
    return fd;
}

// Copies the whole spool over the file's content (or after it, for an append-only file).
bool CopySpool(int spool, int place, bool append) {
    if (!append && ::ftruncate(place, 0) != 0) return false;
    char chunk[65536];
    for (int64_t offset = 0;;) {
        const int64_t got = ReadFully(spool, offset, chunk, sizeof chunk);
        if (got < 0) return false;
        if (got == 0) return true;
        if (!WriteFully(place, chunk, static_cast<size_t>(got))) return false;
        offset += got;
    }
}

}  // namespace

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
    if (exists && IsKernelFile(path)) return Fail(Quote(path) + ": not a regular file");
    Result<Place> place = OpenPlace(path);
    if (!place) return Fail(place.Error());
    out.m_dir = place->dir;
    out.m_name = place->name;
    if (exists) {
        // Proven writable now, not only at the end of the game.
        Result<int> inPlace = OpenInPlace(path, &out.m_append);
        if (!inPlace) return Fail(inPlace.Error());
        out.m_place = *inPlace;
    }
    Result<int> fd = CreateTemp(*place, path, &out.m_temp);
    if (fd && (!exists || (!out.m_append && Replaceable(st)))) {
        out.m_fd = *fd;
        if (exists) {
            ::fchmod(out.m_fd, st.st_mode & 07777);
            ::close(std::exchange(out.m_place, -1));
        }
        return out;
    }
    if (fd) {
        ::close(*fd);
        ::unlinkat(out.m_dir, out.m_temp.c_str(), 0);
        out.m_temp.clear();
    }
    if (!exists) return Fail(fd.Error());
    // Replacing would fail at the end or lose something: the game goes to a spool file first and
    // into the file itself only at Commit.
    Result<int> spool = CreateSpool(path);
    if (!spool) return Fail(spool.Error());
    out.m_fd = *spool;
    return out;
}

void OutputFile::Abandon() {
    if (m_place >= 0) ::close(std::exchange(m_place, -1));
    if (m_fd >= 0) {
        ::close(std::exchange(m_fd, -1));
        if (!m_temp.empty()) ::unlinkat(m_dir, m_temp.c_str(), 0);
    }
    if (m_dir >= 0) ::close(std::exchange(m_dir, -1));
}

bool OutputFile::Flush() {
    if (m_error == 0 && !WriteFully(m_fd, m_pending.data(), m_pending.size())) m_error = errno ? errno : EIO;
    m_pending.clear();
    return m_error == 0;
}

bool OutputFile::Succeeded(bool done) {
    if (!done && m_error == 0) m_error = errno ? errno : EIO;
    return done;
}

Status OutputFile::Commit() {
    if (m_fd < 0) return Fail(Describe(m_path, EBADF));
    bool ok = Flush();
    if (ok && m_place >= 0) ok = Succeeded(CopySpool(m_fd, m_place, m_append) && ::fsync(m_place) == 0);
    if (ok && !m_temp.empty()) ok = Succeeded(::fsync(m_fd) == 0);
    ok = Succeeded(::close(std::exchange(m_fd, -1)) == 0) && ok;
    if (m_place >= 0) ok = Succeeded(::close(std::exchange(m_place, -1)) == 0) && ok;
    if (ok && !m_temp.empty()) ok = Succeeded(::renameat(m_dir, m_temp.c_str(), m_dir, m_name.c_str()) == 0);
    if (ok && !m_temp.empty()) ::fsync(m_dir);  // the rename itself on disk
    if (!ok && !m_temp.empty()) ::unlinkat(m_dir, m_temp.c_str(), 0);
    if (m_dir >= 0) ::close(std::exchange(m_dir, -1));
    if (!ok) return Fail(Describe(m_path, m_error));
    return Success();
}

FileKey KeyOf(const std::string& path) {
    FileKey key;
    if (NamesDescriptor(path)) {
        key.exists = true;  // a stream, whatever is behind it
        return key;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        key.exists = true;
        key.regular = S_ISREG(st.st_mode);
    } else {
        // A path in no folder names no file yet: the output's own creation will say why.
        Result<Place> place = OpenPlace(path);
        key.name = path;
        if (place) {
            key.name = std::move(place->name);
            if (::fstat(place->dir, &st) != 0) st = {};
            ::close(place->dir);
        }
    }
    key.device = st.st_dev;
    key.inode = st.st_ino;
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

bool WorkingDirectoryIsGone() {
    struct stat st {};
    return ::stat(".", &st) != 0 || st.st_nlink == 0;
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
