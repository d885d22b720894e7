// Scenario runs for tests: the game started exactly as `plinkwell --headless ...`, in-process,
// with the record captured after the run (and after every frame when asked).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/GameSnapshot.h"

struct HarnessOptions {
    std::string script;       // input script text; non-empty: given as --input
    bool keepFrames = false;  // keep a snapshot after every frame
};

struct HarnessResult {
    int exitCode = -1;
    std::string err;                     // everything the run wrote to standard error
    std::vector<std::string> messages;   // message boxes, in order
    bool ran = false;                    // the game ran; finalState is valid
    uint32_t frames = 0;                 // frames run
    int presents = 0;                    // frames presented
    GameSnapshot finalState;             // after the last frame (the sound log included)
    std::vector<GameSnapshot> perFrame;  // with keepFrames: after frame 1, 2, ...
    std::vector<uint16_t> screen;        // with --screenshot: the last presented picture, RGB565
};

// Runs `plinkwell --headless <args>` in-process. Without --data in args the build's generated
// game data is used. The working directory is restored afterwards.
HarnessResult RunHeadless(const std::vector<std::string>& args, const HarnessOptions& options = {});

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
