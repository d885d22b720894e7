// The one file gateway: everything above the platform opens, reads, writes and replaces files here.
// Data files are read only when they are regular files (a FIFO or a device in place of a sprite
// could stall start-up for ever), by bounded ranges rather than whole or mapped (a sparse file of
// 100 GB costs what its useful bytes cost, and one that shrinks while read gives a short read, not
// a crash). Outputs that are regular files or new paths are written beside their target and renamed
// into place once complete, so a failed or interrupted run leaves the older file as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/base/Result.h"

namespace plat {

// Bytes that can be read by range: a file on disk or bytes already in memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The size when opened; reads past it come back short.
    virtual int64_t Size() const = 0;
    // Reads up to count bytes at offset into buffer; how many arrived (fewer at the end), or -1
    // when the read failed.
    virtual int64_t ReadAt(int64_t offset, void* buffer, int64_t count) const = 0;
    // True when exactly count bytes arrived.
    bool ReadExactly(int64_t offset, void* buffer, int64_t count) const {
        return ReadAt(offset, buffer, count) == count;
    }
};

class MemoryBytes : public ByteSource {
public:
    MemoryBytes(const uint8_t* bytes, size_t size) : m_bytes(bytes), m_size(bytes ? size : 0) {}
    int64_t Size() const override { return static_cast<int64_t>(m_size); }
    int64_t ReadAt(int64_t offset, void* buffer, int64_t count) const override;

private:
    const uint8_t* m_bytes;
    size_t m_size;
};

// A regular file open for reading. Opening never blocks: a FIFO, a device, a socket or a
// directory is a file that cannot be opened. Symbolic links to regular files are followed.
class DataFile : public ByteSource {
public:
    static Result<DataFile> Open(const std::string& path);
    DataFile(DataFile&& other) noexcept;
    DataFile& operator=(DataFile&& other) noexcept;
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;
    ~DataFile() override;

    int64_t Size() const override { return m_size; }
    int64_t ReadAt(int64_t offset, void* buffer, int64_t count) const override;

private:
    DataFile(int fd, int64_t size) : m_fd(fd), m_size(size) {}
    int m_fd = -1;
    int64_t m_size = 0;
};

// A whole stream of at most limit bytes: a regular file, a pipe (such as "<(...)" or /dev/stdin)
// or a terminal, read to its end; "-" is standard input. Fails for a directory, an unreadable path, or more
// than limit bytes.
Result<std::string> ReadStream(const std::string& path, size_t limit);

// An output file. A regular file or a new path is written to a temporary file in the directory of
// the resolved target (links followed, a dangling link's target created), with the target's
// permissions, and replaces the target only at Commit, once flushed to disk; dropped without
// Commit, it leaves the target untouched. Everything Commit needs is proven at Create: where a
// rename could not replace the file, or would lose something (its other hard links, its owner, its
// append-only attribute, a folder that takes no new files), the file is opened at Create and
// written in place at Commit (appended to, when append-only) from a spool file. Pipes, terminals
// and devices are written directly, and so is a path naming an open descriptor ("-" for standard
// output, /dev/stdout, /dev/stderr, /dev/fd/N, /proc/self/fd/N): whatever file is behind it.
class OutputFile {
public:
    static Result<OutputFile> Create(const std::string& path);
    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&& other) noexcept;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    const std::string& Path() const { return m_path; }
    // Writes may be held in memory until Commit; a failure is kept and reported by Commit.
    void Write(const void* data, size_t size);
    // Whether a write has failed already.
    bool Failed() const { return m_error != 0; }
    Status Commit();

private:
    OutputFile() = default;
    bool Flush();
    bool Succeeded(bool done);  // keeps the first failure's errno
    void Abandon();

    // On Windows m_name and m_temp are whole paths, and m_dir and m_place are not used.
    int m_fd = -1;
    std::string m_path;     // as given, for messages
    int m_dir = -1;         // the target's folder; -1 for a direct output
    std::string m_name;     // the target's name in m_dir
    std::string m_temp;     // the temporary file's name in m_dir, while there is one
    int m_place = -1;       // the target itself, when written in place from m_fd's spool
    bool m_append = false;  // m_place is append-only
    std::string m_pending;
    int m_error = 0;  // the first failed write's errno
};

// What names a file, for telling whether two paths are one file: its device and inode when it
// exists, else its folder's and its name there (links followed).
struct FileKey {
    bool exists = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    std::string name;
    bool regular = false;  // an existing regular file
    bool operator==(const FileKey& other) const;
};
FileKey KeyOf(const std::string& path);

// Whether path names an open descriptor ("-", /dev/stdout, /dev/fd/N, ...) rather than a file.
bool NamesDescriptor(const std::string& path);

// A closed pipe or a file-size limit then fails the write (EPIPE, EFBIG), reported like any other
// write error, instead of killing the process (SIGPIPE, SIGXFSZ) with its outputs half written.
void ReportWriteSignalsAsErrors();

// Success for a directory; otherwise why not, in words ("'x' is not a directory", "'x': File
// name too long").
Status CheckDirectory(const std::string& path);
bool IsDirectory(const std::string& path);
// Whether the working directory has been deleted: relative paths then name nothing.
bool WorkingDirectoryIsGone();
bool Exists(const std::string& path);

}  // namespace plat
