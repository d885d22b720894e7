// Scenario runs for tests: the game started exactly as `plinkwell --headless ...`, in-process,
// with the record captured after the run (and after every frame when asked).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/GameSnapshot.h"
#include "support/Files.h"

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
