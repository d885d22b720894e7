// The file gateway's Windows form. Paths arrive in UTF-8 and reach Windows as UTF-16 (CreateFileW),
// so Korean or accented names work whatever the ANSI code page. Handles are kept as C runtime
// descriptors (_open_osfhandle), which the shared header holds. Errors are reported in the words
// the POSIX form uses (Windows' codes mapped to errno), so messages read the same everywhere.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <utility>

#include "platform/base/Files.h"
#include "platform/base/Paths.h"

namespace plat {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kMaxReadChunk = int64_t{1} << 30;

std::string Quote(const std::string& path) {
    return "'" + path + "'";
}

std::string Describe(const std::string& path, int error) {
    return Quote(path) + ": " + std::strerror(error);
}

// The errno a Windows error code stands for.
int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
            return EPIPE;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        default:
            return EIO;
    }
}

int LastErrno() {
    return ErrnoOf(GetLastError());
}

std::wstring Wide(const std::string& path) {
    return PathFromUtf8(path).wstring();
}

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

// Wraps a handle in a descriptor, which then owns it; -1 (the handle closed) when that fails.
int Adopt(HANDLE handle, int flags) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (fd < 0) CloseHandle(handle);
    return fd;
}

DWORD AttributesOf(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str());
}

bool IsDirectoryAttribute(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Standard input or output as "-" names it; -1 for any other path. Windows has no /dev/stdout.
int DescriptorOf(const std::string& path, int dash) {
    return path == "-" ? dash : -1;
}

// A copy of the standard descriptor, so that closing ours leaves the process's own open.
Result<int> Duplicate(const std::string& path, int fd) {
    const int copy = _dup(fd);
    if (copy < 0) return Fail(Describe(path, errno));
    return copy;
}

// Reads until count bytes, the end of the file, or an error (-1).
int64_t ReadFully(HANDLE handle, int64_t offset, void* buffer, int64_t count) {
    int64_t total = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    while (total < count) {
        const auto want = static_cast<DWORD>(std::min(count - total, kMaxReadChunk));
        OVERLAPPED at{};
        const auto position = static_cast<uint64_t>(offset + total);
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        DWORD got = 0;
        if (!ReadFile(handle, out + total, want, &got, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF) break;
            return -1;
        }
        if (got == 0) break;
        total += got;
    }
    return total;
}

bool WriteFully(HANDLE handle, const char* data, size_t size, int* error) {
    while (size > 0) {
        const auto want = static_cast<DWORD>(std::min<size_t>(size, size_t{1} << 30));
        DWORD put = 0;
        if (!WriteFile(handle, data, want, &put, nullptr) || put == 0) {
            *error = LastErrno();
            return false;
        }
        data += put;
        size -= put;
    }
    return true;
}

// The path a write really lands on: links followed; for a new file, its directory resolved.
Result<std::string> ResolveTarget(const std::string& path) {
    std::error_code ec;
    const fs::path resolved = fs::weakly_canonical(PathFromUtf8(path), ec);
    if (ec) return Fail(Quote(path) + ": " + ec.message());
    return Utf8FromPath(resolved);
}

// The start of the names of target's temporary files: ".<name>.plinkwell-<pid>-<n>.tmp".
std::string TempPrefix(const fs::path& target) {
    return "." + Utf8FromPath(target.filename()) + ".plinkwell-";
}

bool ProcessIsGone(DWORD pid) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
    const bool gone = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return gone;
}

// Removes the temporary files of target left by runs that are gone (killed, or out of power).
void RemoveStaleTemps(const fs::path& target) {
    const std::string prefix = TempPrefix(target);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(target.parent_path(), ec)) {
        const std::string name = Utf8FromPath(entry.path().filename());
        if (!name.starts_with(prefix) || !name.ends_with(".tmp")) continue;
        const char* first = name.data() + prefix.size();
        DWORD pid = 0;
        const auto [end, error] = std::from_chars(first, name.data() + name.size(), pid);
        if (error != std::errc{} || end == first || *end != '-' || pid == 0) continue;
        if (ProcessIsGone(pid)) DeleteFileW(entry.path().c_str());
    }
}

// A new file beside target, open for writing, with a name no other run picks.
Result<int> CreateTemp(const std::string& target, std::string* temp) {
    static std::atomic<unsigned> counter{0};
    const fs::path t = PathFromUtf8(target);
    RemoveStaleTemps(t);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path name =
            t.parent_path() / PathFromUtf8(TempPrefix(t) + std::to_string(GetCurrentProcessId()) + "-" +
                                           std::to_string(counter++) + ".tmp");
        const HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            *temp = Utf8FromPath(name);
            const int fd = Adopt(handle, _O_WRONLY | _O_BINARY);
            if (fd < 0) return Fail(Describe(target, EMFILE));
            return fd;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) return Fail(Describe(target, LastErrno()));
    }
    return Fail(Describe(target, EEXIST));
}

// Moves temp over target in one step: a reader sees the old file or the new, never a part. A
// reader holding the target open without delete sharing (a viewer, a virus scanner looking at the
// new file) refuses the move for a moment: it is tried again for up to two seconds.
bool MoveOver(const std::string& temp, const std::string& target) {
    constexpr int kTries = 100;
    constexpr DWORD kPauseMs = 20;
    for (int tries = 1;; ++tries) {
        if (MoveFileExW(Wide(temp).c_str(), Wide(target).c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if (tries == kTries || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            return false;
        Sleep(kPauseMs);
        SetLastError(error);
    }
}

// A disk file, a pipe or a console: what an open handle is. Directories do not open here.
bool IsDiskFile(HANDLE handle) {
    return GetFileType(handle) == FILE_TYPE_DISK;
}

}  // namespace

Result<DataFile> DataFile::Open(const std::string& path) {
    if (IsDirectoryAttribute(AttributesOf(path))) return Fail(Quote(path) + ": not a regular file");
    const HANDLE handle =
        CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return Fail(Describe(path, LastErrno()));
    LARGE_INTEGER size{};
    if (!IsDiskFile(handle) || !GetFileSizeEx(handle, &size)) {
        CloseHandle(handle);
        return Fail(Quote(path) + ": not a regular file");
    }
    const int fd = Adopt(handle, _O_RDONLY | _O_BINARY);
    if (fd < 0) return Fail(Describe(path, EMFILE));
    return DataFile(fd, size.QuadPart);
}

DataFile::DataFile(DataFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_size(std::exchange(other.m_size, 0)) {}

DataFile& DataFile::operator=(DataFile&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) _close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

DataFile::~DataFile() {
    if (m_fd >= 0) _close(m_fd);
}

int64_t DataFile::ReadAt(int64_t offset, void* buffer, int64_t count) const {
    if (offset < 0 || count < 0) return -1;
    return ReadFully(HandleOf(m_fd), offset, buffer, count);
}

Result<std::string> ReadStream(const std::string& path, size_t limit) {
    int fd = -1;
    if (const int named = DescriptorOf(path, 0); named >= 0) {
        const Result<int> copy = Duplicate(path, named);
        if (!copy) return Fail(copy.Error());
        fd = *copy;
    } else {
        if (IsDirectoryAttribute(AttributesOf(path))) return Fail(Describe(path, EISDIR));
        const HANDLE handle = CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return Fail(Describe(path, LastErrno()));
        if ((fd = Adopt(handle, _O_RDONLY | _O_BINARY)) < 0) return Fail(Describe(path, EMFILE));
    }
    std::string text;
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(HandleOf(fd), chunk, sizeof chunk, &got, nullptr)) {
            const DWORD error = GetLastError();
            if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) break;  // the writer is done
            _close(fd);
            return Fail(Describe(path, ErrnoOf(error)));
        }
        if (got == 0) break;
        if (text.size() + got > limit) {
            _close(fd);
            return Fail(Quote(path) + ": larger than " + std::to_string(limit >> 20) + " MiB");
        }
        text.append(chunk, got);
    }
    _close(fd);
    return text;
}

Result<OutputFile> OutputFile::Create(const std::string& path) {
    OutputFile out;
    out.m_path = path;
    if (const int named = DescriptorOf(path, 1); named >= 0) {
        const Result<int> copy = Duplicate(path, named);
        if (!copy) return Fail(copy.Error());
        out.m_fd = *copy;
        return out;
    }
    const DWORD attributes = AttributesOf(path);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (IsDirectoryAttribute(attributes)) return Fail(Describe(path, EISDIR));
    if (exists) {
        // NUL, CON or a pipe is written as it comes, as a stream; a disk file is replaced.
        const HANDLE handle =
            CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return Fail(Describe(path, LastErrno()));
        if (!IsDiskFile(handle)) {
            if ((out.m_fd = Adopt(handle, _O_WRONLY | _O_BINARY)) < 0) return Fail(Describe(path, EMFILE));
            return out;
        }
        CloseHandle(handle);  // it could be opened for writing: the rename will be allowed too
    }
    Result<std::string> target = ResolveTarget(path);
    if (!target) return Fail(target.Error());
    Result<int> fd = CreateTemp(*target, &out.m_temp);
    if (!fd) return Fail(fd.Error());
    out.m_fd = *fd;
    out.m_name = std::move(*target);
    return out;
}

void OutputFile::Abandon() {
    if (m_fd < 0) return;
    _close(m_fd);
    m_fd = -1;
    if (!m_temp.empty()) DeleteFileW(Wide(m_temp).c_str());
}

bool OutputFile::Flush() {
    if (m_error == 0) WriteFully(HandleOf(m_fd), m_pending.data(), m_pending.size(), &m_error);
    m_pending.clear();
    return m_error == 0;
}

Status OutputFile::Commit() {
    if (m_fd < 0) return Fail(Describe(m_path, EBADF));
    bool ok = Flush();
    if (ok && !m_temp.empty() && !FlushFileBuffers(HandleOf(m_fd))) {
        m_error = LastErrno();
        ok = false;
    }
    _close(m_fd);
    m_fd = -1;
    if (ok && !m_temp.empty() && !MoveOver(m_temp, m_name)) {
        m_error = LastErrno();
        ok = false;
    }
    if (!ok) {
        if (!m_temp.empty()) DeleteFileW(Wide(m_temp).c_str());
        return Fail(Describe(m_path, m_error));
    }
    return Success();
}

FileKey KeyOf(const std::string& path) {
    FileKey key;
    if (NamesDescriptor(path)) {
        key.exists = true;  // a stream, whatever is behind it
        return key;
    }
    // No access asked: only the file's identity. Directories open with backup semantics.
    const HANDLE handle =
        CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION info{};
        const bool known = GetFileInformationByHandle(handle, &info);
        key.exists = true;
        key.regular = known && IsDiskFile(handle) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        key.device = info.dwVolumeSerialNumber;
        key.inode = (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
        CloseHandle(handle);
        return key;
    }
    // A new file: named by its resolved path, in lower case as Windows' names ignore case ("A.json"
    // and "a.json" are one file). A path in no folder names no file yet: its creation will say why.
    const Result<std::string> resolved = ResolveTarget(path);
    std::wstring name = PathFromUtf8(resolved ? *resolved : path).lexically_normal().wstring();
    CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
    key.name = Utf8FromPath(fs::path(name));
    return key;
}

Status CheckDirectory(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return Fail(Describe(path, LastErrno()));
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Fail(Quote(path) + " is not a directory");
    return Success();
}

bool IsDirectory(const std::string& path) {
    return IsDirectoryAttribute(AttributesOf(path));
}

// Windows keeps a process's working folder from being deleted; a folder gone all the same (a
// network share) no longer answers.
bool WorkingDirectoryIsGone() {
    return GetFileAttributesW(L".") == INVALID_FILE_ATTRIBUTES;
}

bool Exists(const std::string& path) {
    return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool NamesDescriptor(const std::string& path) {
    return DescriptorOf(path, 1) >= 0;
}

void ReportWriteSignalsAsErrors() {}  // Windows reports a closed pipe as a write error already

}  // namespace plat
