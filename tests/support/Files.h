// Files for tests: temporary directories, reading files back, stage files and the build's game data.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    // Writes text (or bytes) to a file in the directory; returns its path.
    std::filesystem::path Write(const std::string& name, const std::string& contents) const;

private:
    std::filesystem::path m_path;
};

std::string ReadFileText(const std::filesystem::path& path);
std::vector<std::string> ReadLines(const std::filesystem::path& path);

// One stage: 300 cell codes, row by row (0..6 block kinds, anything else empty).
using StageCodes = std::array<int32_t, 300>;
StageCodes EmptyStage();

// The bytes of a stage file holding these stages.
std::string MakeMapDat(const std::vector<StageCodes>& stages);

// A data directory for scenario tests: the build's sprites and sounds with our own stages.
class TempDataDir : public TempDir {
public:
    explicit TempDataDir(const std::vector<StageCodes>& stages);
};

// The directory the build generates the game data into.
std::filesystem::path BuildDataDir();
